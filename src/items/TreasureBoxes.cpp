#include "core/CoreContext.h"
#include "items/ItemBridge.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

// The treasure-box game before a held settlement: five closed boxes for the
// own player, the others' boxes opening by themselves, the count-up of the
// coins won and the boxes flying to their seats.
namespace tessaroc::items {

namespace {

constexpr int kBoxesPerGroup = 5;
constexpr int kMoveSteps = 5;
constexpr int kMoveWaitMs = 37;
constexpr int kCharWidth = 14; // notice label pixels per display column
constexpr int kNoticeHeight = 50;
constexpr int kLineHeight = 30;
constexpr std::int16_t kCountdownSeconds = 5;
const QString kChooseBox = QStringLiteral("请选择一个宝箱打开");
const QString kWaitForOthers = QStringLiteral("请等待其他玩家打开宝箱");
const QString kCoins = QStringLiteral("金币");
const QString kLineBreak = QStringLiteral("\r\n");
const QChar kItemSeparator = QLatin1Char('|');

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

// A seat's line of the count-up: the name, the amount, spaces up to the
// width of the largest amount, then the unit; the spaces follow the number,
// as they follow the hand numbers of the hall of fame.
QString amountLine(const QString &name, const QString &amount, int width)
{
    return name + amount.leftJustified(width) + kCoins;
}

int randomBox(double unit)
{
    return static_cast<int>(std::nearbyint(unit * 4.0));
}

bool hasResult(const core::services::PropScoreInfo &score, int p)
{
    const auto at = static_cast<std::size_t>(2 * p);
    return !score.seatTexts[at].isEmpty() || !score.seatTexts[at + 1].isEmpty();
}

} // namespace

void ItemBridge::PlaceClosedBoxes(int group, bool enabled)
{
    for (int m = group * kBoxesPerGroup; m < (group + 1) * kBoxesPerGroup && m < boxCount(); ++m) {
        BoxControl &box = controls_.ImgProp[static_cast<std::size_t>(m)];
        const auto &pos = layout_.BoxPos[static_cast<std::size_t>(m)];
        box.left = pos[0];
        box.top = pos[1];
        box.width = layout_.ClosedBoxSize[0];
        box.height = layout_.ClosedBoxSize[1];
        box.picture = BoxControl::Picture::Closed;
        box.visible = true;
        box.enabled = enabled;
        box.front = bringToFront();
    }
}

void ItemBridge::ShowHeldSettlement()
{
    c_.settlement.ShowScoreXi(c_.loop().HeldResultFrame);
}

void ItemBridge::PlayBaoXiang()
{
    core::MainLoopState &loop = c_.loop();
    const core::services::PropScoreInfo &score = loop.propScore;
    controls_.LbProp.caption.clear();
    BaoChs = {-1, -1, -1, -1};

    int first = 4;
    for (int p = 0; p < 4; ++p) {
        if (hasResult(score, p)) {
            first = p;
            break;
        }
    }
    if (first == 4) {
        changed();
        ShowHeldSettlement();
        if (c_.state.gamedllstate >= 1)
            InitShowNext(false);
        return;
    }

    QString notice;
    if (first == 0) {
        if (c_.state.gamedllstate == 2)
            PlaceClosedBoxes(0, true);
        notice = kChooseBox;
    } else {
        int k = 0;
        for (int p = 1; p <= 3; ++p) {
            if (!hasResult(score, p))
                continue;
            PlaceClosedBoxes(k, false);
            BaoChs[static_cast<std::size_t>(p)] = kBoxesPerGroup * k + randomBox(host_.Random());
            ++k;
        }
        notice = kWaitForOthers;
    }

    NoticeLabel &label = controls_.LbProp;
    label.alignment = NoticeLabel::Centre;
    const double width = GetTextWidth(notice) * kCharWidth;
    label.left = layout_.LabelAnchor[0] - width / 2;
    label.top = layout_.LabelAnchor[1];
    label.width = width;
    label.height = kNoticeHeight;
    label.caption = notice + kLineBreak + QString::number(kCountdownSeconds);
    label.colour = ItemControls::kRed;
    label.visible = true;
    changed();

    FloatTextOn = false;
    loop.BoxCountdownOn = true;
    loop.BoxCountdownTicks = 0;
    loop.BoxCountdown = kCountdownSeconds;
}

void ItemBridge::ImgProp_Click(int index)
{
    core::MainLoopState &loop = c_.loop();
    if (c_.state.gamedllstate != 2 || loop.BoxChosen)
        return;
    loop.BoxChosen = true;
    OpenBao(index);
}

void ItemBridge::OpenBao(int index)
{
    if (index == -1) {
        for (int p = 1; p <= 3; ++p) {
            const int box = BaoChs[static_cast<std::size_t>(p)];
            if (box != -1)
                MoveBao(box, true, 0);
        }
    } else if (index >= 0 && index < boxCount()) {
        BaoChs[0] = index;
        MoveBao(index, true, 0);
    } else {
        return;
    }
    if (c_.state.gamedllstate == 2 && PropDll)
        PropDll->ShowGif(1, true);
    TimerProp.setInterval(std::max<int>(layout_.BoxTimings[0], 0));
    ResultAnimStep = 0;
    ResultAnimOn = true;
    FloatTextOn = false;
    ResultAnimSteps = layout_.BoxTimings[1];
    ShowBaoResult(-1);
    // Without count-up steps the final text stands at once.
    if (ResultAnimSteps < 1) {
        FinishCountUp();
        return;
    }
    TimerProp.start();
}

bool ItemBridge::MoveStep(double x0, double y0, double x1, double y1, BoxControl &control)
{
    const auto dx = static_cast<float>((x1 - x0) / kMoveSteps);
    const auto dy = static_cast<float>((y1 - y0) / kMoveSteps);
    for (int i = 1; i <= kMoveSteps; ++i) {
        control.left = x0 + i * static_cast<double>(dx);
        control.top = y0 + i * static_cast<double>(dy);
        changed();
        host_.Wait(kMoveWaitMs);
    }
    return true;
}

void ItemBridge::MoveBao(int box, bool open, int seat)
{
    if (box < 0 || box >= boxCount())
        return;
    auto &boxes = controls_.ImgProp;
    BoxControl &moving = boxes[static_cast<std::size_t>(box)];
    if (open) {
        moving.enabled = false;
        const int group = box / kBoxesPerGroup * kBoxesPerGroup;
        for (int m = group; m < group + kBoxesPerGroup && m < boxCount(); ++m) {
            BoxControl &other = boxes[static_cast<std::size_t>(m)];
            if (m != box && other.visible) {
                other.visible = false;
                other.enabled = false;
            }
        }
        const double x = std::nearbyint(layout_.BoxCentre[0] - layout_.ClosedBoxSize[0] / 2.0);
        const double y = std::nearbyint(layout_.BoxCentre[1] - layout_.ClosedBoxSize[1] / 2.0);
        MoveStep(moving.left, moving.top, x, y, moving);
        moving.visible = false;
        changed();
        return;
    }
    moving.width = layout_.OpenBoxSize[0];
    moving.height = layout_.OpenBoxSize[1];
    moving.left = layout_.BoxCentre[0] - layout_.OpenBoxSize[0] / 2.0;
    moving.top = layout_.BoxCentre[1] - layout_.OpenBoxSize[1] / 2.0;
    moving.picture = BoxControl::Picture::Open;
    moving.visible = true;
    const auto s = static_cast<std::size_t>(std::clamp(seat, 0, 3));
    MoveStep(moving.left, moving.top, layout_.SeatTargets[s], layout_.SeatTargets[s + 4], moving);
}

void ItemBridge::ShowBaoResult(int step)
{
    const core::services::PropScoreInfo &score = c_.loop().propScore;
    NoticeLabel &label = controls_.LbProp;
    if (step == -1) {
        MaxNameWidth = 0;
        for (std::size_t p = 0; p < 4; ++p) {
            SeatNames[p] = score.seatTexts[2 * p];
            MaxNameWidth = std::max<int>(MaxNameWidth, GetTextWidth(SeatNames[p]));
        }
        ShownAmount = {};
        AmountStep = {};
        int lines = 0;
        double best = 0;
        int itemWidth = 0;
        for (std::size_t p = 0; p < 4; ++p) {
            if (score.coins[p] > 0) {
                best = std::max(best, score.coins[p]);
                AmountStep[p] = ResultAnimSteps > 0 ? score.coins[p] / ResultAnimSteps : 0.0;
                lines += 2;
            }
            const QString &items = score.seatTexts[2 * p + 1];
            if (!items.isEmpty()) {
                for (const QString &part : items.split(kItemSeparator)) {
                    itemWidth = std::max<int>(itemWidth, GetTextWidth(part));
                    ++lines;
                }
            }
        }
        const int height = lines > 2 ? lines * kLineHeight : kNoticeHeight;
        AmountDigits = static_cast<int>(numberText(best).size());
        const int width = AmountDigits + MaxNameWidth > itemWidth
                ? (AmountDigits + MaxNameWidth + 4) * kCharWidth
                : (itemWidth + 4) * kCharWidth;
        label.caption.clear();
        label.left = layout_.LabelAnchor[0] - width / 2.0;
        label.top = layout_.LabelAnchor[1];
        label.width = width;
        label.height = height;
        label.alignment = NoticeLabel::Centre;
        label.colour = ItemControls::kRed;
        label.visible = true;
        label.front = bringToFront();
        changed();
        c_.window.HideBottomCards();
        return;
    }

    QStringList lines;
    if (step < ResultAnimSteps) {
        for (std::size_t p = 0; p < 4; ++p) {
            if (score.coins[p] == 0)
                continue;
            lines << amountLine(SeatNames[p], numberText(std::nearbyint(ShownAmount[p])),
                                AmountDigits);
            ShownAmount[p] += AmountStep[p];
        }
    } else {
        for (std::size_t p = 0; p < 4; ++p) {
            if (score.coins[p] != 0) {
                const QString line
                        = amountLine(SeatNames[p], numberText(score.coins[p]), AmountDigits);
                lines << line;
                host_.AddHistoryLine(line);
            }
            const QString &items = score.seatTexts[2 * p + 1];
            if (!items.isEmpty()) {
                for (const QString &part : items.split(kItemSeparator)) {
                    lines << part;
                    host_.AddHistoryLine(part);
                }
            }
        }
        host_.AddSystemMessage(lines.join(kLineBreak));
        ShownAmount = {};
        AmountStep = {};
    }
    label.caption = lines.join(kLineBreak);
    label.front = bringToFront();
    changed();
}

void ItemBridge::FinishCountUp()
{
    ResultAnimOn = false;
    ResultAnimStep = 0;
    ShowBaoResult(std::max(ResultAnimSteps, 0));
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->ShowGif(1, false);
    if (BaoChs[0] == -1) {
        for (int p = 1; p <= 3; ++p) {
            const int box = BaoChs[static_cast<std::size_t>(p)];
            if (box != -1)
                MoveBao(box, false, p);
        }
    } else {
        MoveBao(BaoChs[0], false, 0);
    }
    ShowHeldSettlement();
    if (c_.state.gamedllstate > 0)
        InitShowNext(false);
}

} // namespace tessaroc::items
