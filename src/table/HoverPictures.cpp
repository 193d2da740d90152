#include "table/HoverPictures.h"

#include "core/TableState.h"
#include "support/Waits.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"

#include <cmath>
#include <limits>

namespace tessaroc::table {

namespace {

constexpr int kCallButton = 202, kCallButtonHover = 207;
constexpr int kNoCallButton = 184, kNoCallButtonHover = 185;
constexpr int kChoiceButton0 = 201, kChoiceButton0Hover = 206;
constexpr int kTaskIcon = 194, kTaskIconHover = 195;
constexpr int kReducedTaskIcon = 199, kReducedTaskIconHover = 200;
constexpr int kBank = 600, kBankHover = 601;
constexpr int kWord1 = 516, kWord1Hover = 518;
constexpr int kWord2 = 517, kWord2Hover = 519;

// The task window's size when it shows, in twips, and how much higher it
// stands on the reduced table.
constexpr double kTaskWidth = 4860;
constexpr double kTaskHeight = 2610;
constexpr double kReducedTaskRaise = 600;

// A twips value rounded half to even and kept within 32 bits.
std::int32_t twips32(double value)
{
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (!std::isfinite(value))
        return 0;
    return static_cast<std::int32_t>(std::nearbyint(std::clamp(value, lo, hi)));
}

int pictureOf(const QString &entry)
{
    return entry.toInt();
}

} // namespace

QString GeneralNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    return text.toUpper();
}

HoverPictures::HoverPictures(MainForm &form, core::TableState &state, const platform::Clock &clock)
    : form_(form)
    , state_(state)
    , clock_(clock)
{
    connectHandlers();
}

HoverPictures::~HoverPictures() = default;

void HoverPictures::connectHandlers()
{
    const auto onMove = [this](forms::Element &element, auto handler) {
        connect(&element, &forms::Element::MouseMove, this, handler);
    };
    // Groups whose further elements the layouts load: each loaded element
    // gets the handler with its index.
    const auto onGroup = [this](auto &group, auto handler) {
        const auto wire = [this, handler](auto &element) {
            const int index = element.Index();
            connect(&element, &forms::Element::MouseMove, this,
                    [this, handler, index] { (this->*handler)(index); });
        };
        group.forEach(wire);
        group.setOnLoad(wire);
    };
    onGroup(form_.toolbar.AnNiu, &HoverPictures::AnNiu_MouseMove);
    onGroup(form_.actions.Operation, &HoverPictures::Operation_MouseMove);
    onGroup(form_.bid.btnJiaofen, &HoverPictures::btnJiaofen_MouseMove);
    onGroup(form_.actions.tanOperation, &HoverPictures::tanOperation_MouseMove);
    const auto onSeat = [this](auto &group) {
        const auto wire = [this](auto &element) {
            const int pos = element.Index();
            connect(&element, &forms::Element::MouseMove, this,
                    [this, pos] { Tou_MouseMove(pos); });
        };
        group.forEach(wire);
        group.setOnLoad(wire);
    };
    onSeat(form_.seats.Tou);
    onSeat(form_.seats.Nid);
    onSeat(form_.seats.Cash);
    onSeat(form_.seats.Level);

    onMove(form_.area.imgRenWu, &HoverPictures::imgRenWu_MouseMove);
    onMove(form_.area.imgword1, &HoverPictures::imgword1_MouseMove);
    onMove(form_.area.imgword2, &HoverPictures::imgword2_MouseMove);
    onMove(form_.toolbar.Bank, &HoverPictures::Bank_MouseMove);
    onMove(form_.area.imgDilan, &HoverPictures::imgDilan_MouseMove);
    onMove(form_.area.imgDinglan, &HoverPictures::imgDinglan_MouseMove);
    onMove(form_.area.imgLocation, &HoverPictures::imgLocation_MouseMove);
    onMove(form_.bid.imgBeishu1, &HoverPictures::imgBeishu1_MouseMove);
    onMove(form_.bid.lblDifen, &HoverPictures::imgBeishu1_MouseMove);
    onMove(form_.bid.Imgwealth, &HoverPictures::Imgwealth_MouseMove);
    onMove(form_.bid.lbwealth, &HoverPictures::Imgwealth_MouseMove);
    connect(&form_.area.Pic1.widget(), &forms::Surface::MouseMove, this,
            &HoverPictures::Pic1_MouseMove);
}

// --- The buttons' hover pictures ---------------------------------------------

int HoverPictures::toolbarNormalPicture(int index) const
{
    const auto &pictures = state_.pictures.ButtonPic;
    if (index == 2) {
        const bool firstStart = state_.settlement.JuNum < 1 && state_.loop.FirstStartPending;
        return pictureOf(pictures[firstStart ? 4 : 6]);
    }
    return pictureOf(pictures[static_cast<std::size_t>(index < 2 ? 2 * index : 2 * index + 2)]);
}

int HoverPictures::toolbarHoverPicture(int index) const
{
    // Each button's hover picture follows its normal one in the table.
    const int normal = toolbarNormalPicture(index);
    const auto &pictures = state_.pictures.ButtonPic;
    for (std::size_t k = 0; k + 1 < pictures.size(); ++k) {
        if (pictureOf(pictures[k]) == normal)
            return pictureOf(pictures[k + 1]);
    }
    return normal;
}

void HoverPictures::AnNiu_MouseMove(int index)
{
    if (index < 0 || index > 8)
        return;
    bool &flag = state_.table.ButtonFlag[static_cast<std::size_t>(index)];
    if (flag)
        return;
    flag = true;
    if (forms::Image *button = form_.toolbar.AnNiu.find(index))
        loadPicture(*button, toolbarHoverPicture(index));
}

namespace {

// Operation(b): the play, hint and pass buttons take three pictures each, the
// sort, previous-trick and lower-all buttons two.
int operationPicture(const core::TableState &state, int index, bool hover)
{
    const int entry = index <= 2 ? 3 * index : 2 * index + 3;
    return pictureOf(
            state.pictures.OperationPic[static_cast<std::size_t>(entry + (hover ? 1 : 0))]);
}

} // namespace

void HoverPictures::Operation_MouseMove(int index)
{
    if (index < 0 || index > 5)
        return;
    bool &flag = state_.table.OperationFlag[static_cast<std::size_t>(index)];
    if (flag)
        return;
    flag = true;
    if (forms::Image *button = form_.actions.Operation.find(index))
        loadPicture(*button, operationPicture(state_, index, true));
}

// One flag serves both bid buttons: once one shows its hover picture, the
// other stays plain until the table area has been crossed.
void HoverPictures::btnJiaofen_MouseMove(int index)
{
    core::TableWindowState &table = state_.table;
    if (!table.BidButtonHover)
        return;
    table.BidButtonHover = false;
    if (index != 0 && index != 1)
        return;
    const int picture = index == 0 ? kCallButtonHover : kNoCallButtonHover;
    if (forms::Image *button = form_.bid.btnJiaofen.find(index))
        loadPicture(*button, picture);
    table.BidHoverPicture = static_cast<std::int16_t>(picture);
}

void HoverPictures::tanOperation_MouseMove(int index)
{
    if (index != 0 && index != 1)
        return;
    bool &flag = state_.table.TanOperationFlag[static_cast<std::size_t>(index)];
    if (flag)
        return;
    flag = true;
    if (forms::Image *button = form_.actions.tanOperation.find(index))
        loadPicture(*button, index == 0 ? kChoiceButton0Hover : kNoCallButtonHover);
}

void HoverPictures::imgRenWu_MouseMove()
{
    const bool reduced = state_.table.scale.isReduced();
    if (!state_.table.RenWuHover) {
        state_.table.RenWuHover = true;
        loadPicture(form_.area.imgRenWu, reduced ? kReducedTaskIconHover : kTaskIconHover);
    }
    MingXiWindow &task = form_.frmMingXi();
    double top = (form_.Height() - kTaskHeight) / 2 + form_.Top();
    if (reduced)
        top -= kReducedTaskRaise * state_.table.scale.ScaleY;
    task.MoveTwips((form_.Width() - kTaskWidth) / 2 + form_.Left(), top, kTaskWidth, kTaskHeight);
    task.show();
}

void HoverPictures::imgword1_MouseMove()
{
    if (state_.table.Word1Hover)
        return;
    state_.table.Word1Hover = true;
    loadPicture(form_.area.imgword1, kWord1Hover);
}

void HoverPictures::imgword2_MouseMove()
{
    if (state_.table.Word2Hover)
        return;
    state_.table.Word2Hover = true;
    loadPicture(form_.area.imgword2, kWord2Hover);
}

void HoverPictures::Bank_MouseMove()
{
    if (state_.table.BankHover)
        return;
    loadPicture(form_.toolbar.Bank, kBankHover);
    state_.table.BankHover = true;
}

// --- The surfaces that take them back ------------------------------------------

void HoverPictures::restoreBank()
{
    if (!state_.table.BankHover)
        return;
    state_.table.BankHover = false;
    loadPicture(form_.toolbar.Bank, kBank);
}

void HoverPictures::hideCardAndTask()
{
    if (information().isVisible())
        information().hide();
    core::TableWindowState &table = state_.table;
    if (table.RenWuHover) {
        table.RenWuHover = false;
        loadPicture(form_.area.imgRenWu, table.scale.isReduced() ? kReducedTaskIcon : kTaskIcon);
        if (form_.frmMingXi().isVisible() && state_.core.MingXiDocked)
            form_.frmMingXi().hide();
    }
}

void HoverPictures::restoreButtonsAndCard()
{
    core::TableWindowState &table = state_.table;
    for (int i = 0; i <= 8; ++i) {
        bool &flag = table.ButtonFlag[static_cast<std::size_t>(i)];
        if (!flag)
            continue;
        flag = false;
        if (forms::Image *button = form_.toolbar.AnNiu.find(i))
            loadPicture(*button, toolbarNormalPicture(i));
    }
    for (int b = 0; b <= 5; ++b) {
        bool &flag = table.OperationFlag[static_cast<std::size_t>(b)];
        if (!flag)
            continue;
        flag = false;
        if (forms::Image *button = form_.actions.Operation.find(b))
            loadPicture(*button, operationPicture(state_, b, false));
    }
    hideCardAndTask();
}

void HoverPictures::Pic1_MouseMove()
{
    core::TableWindowState &table = state_.table;
    restoreBank();
    const int choicePictures[] = {kChoiceButton0, kNoCallButton};
    for (int k = 0; k <= 1; ++k) {
        bool &flag = table.TanOperationFlag[static_cast<std::size_t>(k)];
        if (!flag)
            continue;
        flag = false;
        if (forms::Image *button = form_.actions.tanOperation.find(k))
            loadPicture(*button, choicePictures[k]);
    }
    restoreButtonsAndCard();
    if (!table.BidButtonHover) {
        table.BidButtonHover = true;
        if (table.BidHoverPicture == kCallButtonHover) {
            if (forms::Image *button = form_.bid.btnJiaofen.find(0))
                loadPicture(*button, kCallButton);
        } else if (table.BidHoverPicture == kNoCallButtonHover) {
            if (forms::Image *button = form_.bid.btnJiaofen.find(1))
                loadPicture(*button, kNoCallButton);
        }
    }
    // The item library's targeting and the video tooltip: only while the
    // library runs or own video is on, neither of which this client allows;
    // there is nothing of theirs to take back.
    if (state_.VideoOn && form_.seats.Tiplbl.Visible())
        form_.seats.Tiplbl.setVisible(false);
}

void HoverPictures::imgDilan_MouseMove()
{
    restoreButtonsAndCard();
}

void HoverPictures::imgDinglan_MouseMove()
{
    hideCardAndTask();
}

void HoverPictures::imgLocation_MouseMove()
{
    restoreBank();
    core::TableWindowState &table = state_.table;
    if (table.Word1Hover) {
        table.Word1Hover = false;
        loadPicture(form_.area.imgword1, kWord1);
    }
    if (table.Word2Hover) {
        table.Word2Hover = false;
        loadPicture(form_.area.imgword2, kWord2);
    }
}

// --- Tooltips ----------------------------------------------------------------------

void HoverPictures::imgBeishu1_MouseMove()
{
    if (state_.commands.ShowCardDouble == 0)
        return;
    const QString tip = QStringLiteral("亮牌加倍 ×") + form_.bid.lblDifen.Caption();
    form_.bid.imgBeishu1.setToolTipText(tip);
    form_.bid.lblDifen.setToolTipText(tip);
}

void HoverPictures::Imgwealth_MouseMove()
{
    if (state_.core.WealthDouble == 0)
        return;
    const QString tip = QStringLiteral("财富加倍 ×") + form_.bid.lbwealth.Caption();
    form_.bid.Imgwealth.setToolTipText(tip);
    form_.bid.lbwealth.setToolTipText(tip);
}

// --- The player card -------------------------------------------------------------

Information &HoverPictures::information()
{
    if (!information_) {
        information_ = std::make_unique<Information>();
        information_->hide();
    }
    return *information_;
}

void HoverPictures::HideInformation()
{
    if (information_)
        information_->hide();
}

void HoverPictures::Tou_MouseMove(int pos)
{
    if (pos < 0 || pos > 3)
        return;
    Information &card = information();
    const core::PlayerRecord &record = state_.commands.custom[static_cast<std::size_t>(pos)];
    if (card.isVisible() || record.nickname.empty())
        return;

    // Twips of the whole window; the table area's offset inside it.
    const double left = form_.area.Pic1.Left() + form_.Left();
    const double top = form_.area.Pic1.Top() + form_.Top();
    const double height = form_.Height();
    double cardLeft = left;
    double cardTop = 0;
    if (pos == 0) {
        cardTop = state_.table.scale.isReduced() ? 0.3 * height : top + 0.42 * height;
    } else {
        const std::int32_t q = twips32((pos - 1) * form_.Width());
        cardLeft = left + q / 3;
        cardTop = top + 0.11 * height;
    }
    card.MoveTwips(cardLeft, cardTop);

    const QString values[Information::kRows]
            = {QString::fromStdString(record.nickname),
               record.sex == 0 ? QStringLiteral("女") : QStringLiteral("男"),
               QString::fromStdString(record.location),
               GeneralNumber(record.points),
               GeneralNumber(record.credit),
               QString::number(record.logins),
               QString::number(record.disconnects),
               QString::number(record.wins),
               QString::number(record.losses)};
    for (int row = 0; row < Information::kRows; ++row)
        card.Inf(row).setCaption(values[row]);
    card.show();
}

// --- The task window's fly-away -------------------------------------------------

TwipsPoint HoverPictures::MingXiFlyTarget() const
{
    constexpr double kTwipsPerPixel = 15;
    constexpr double kAboveBottom = 2000;
    return {twips32(form_.Left() + kTwipsPerPixel * form_.area.imgRenWu.Left()),
            twips32(form_.Top() + form_.Height() - kAboveBottom)};
}

void HoverPictures::MingXiFlyAnimation(TwipsPoint from, TwipsPoint to)
{
    // Sixteen steps on the full table, eight on the reduced one; the size
    // shrinks to nothing on the way. Every value is 32-bit, so windows far
    // out on a wide desktop fly as well as near ones.
    const bool full = state_.table.scale.ScaleX >= 1.0;
    const int steps = full ? 16 : 8;
    const double sizeDivisor = full ? 17 : 9;
    constexpr double kFullWidth = 4905;
    constexpr double kFullHeight = 2670;
    MingXiWindow &task = form_.frmMingXi();
    const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    for (int i = 1; i <= steps; ++i) {
        const std::int32_t left = twips32(x0 - i * (x0 - x1) / steps);
        const std::int32_t top = twips32(y0 + i * (y1 - y0) / steps);
        const std::int32_t width = twips32((steps - i) * kFullWidth / sizeDivisor);
        const std::int32_t height = twips32((steps - i) * kFullHeight / sizeDivisor);
        task.MoveTwips(left, top, width, height);
        support::Wait(clock_, 2);
    }
    task.hide();
}

} // namespace tessaroc::table
