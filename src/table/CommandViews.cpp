#include "table/CommandViews.h"

#include "core/TableState.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"
#include "table/OtherExitDialog.h"
#include "table/OwnCardRow.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

constexpr int kLandlordBadgeGif = 933;
constexpr int kCallButtonGif = 202;
constexpr int kNoCallButtonGif = 184;
constexpr int kFirstPassGif = 876; // seats 1..3: 876, 877, 878
constexpr int kFirstFanGif = 946; // seats 1..3 at full scale; reduced 949..951
constexpr int kReducedFanOffset = 3;

bool isSeat(int pos)
{
    return pos >= 0 && pos <= 3;
}

bool isOtherSeat(int pos)
{
    return pos >= 1 && pos <= 3;
}

void setFontSize(forms::Label &label, double points)
{
    QFont font = label.Font();
    font.setPointSizeF(points);
    label.setFont(font);
}

// Where the landlord badge stands, per display position, in design pixels.
struct BadgePlace
{
    double left;
    double top;
};
constexpr BadgePlace kBadgePlaces[] = {{80, 540}, {50, 140}, {325, 100}, {930, 140}};
// The own badge sits a little higher on the reduced table.
constexpr double kReducedOwnBadgeTop = 520;

// The wealth label's font and place, by scale and by the value's size.
struct WealthPlace
{
    double fontSize;
    double left;
    double top;
};
constexpr WealthPlace kWealthFull[] = {{18, 62, 502}, {13, 58, 504}};
constexpr WealthPlace kWealthReduced[] = {{18, 74, 491}, {13, 72, 497}};

} // namespace

CommandViews::CommandViews(MainForm &form, core::TableState &state, OtherExitDialog &otherExit)
    : form_(form)
    , state_(state)
    , otherExit_(otherExit)
{ }

void CommandViews::CloseLeaveDialog()
{
    if (form_.frmExitLoaded() && form_.frmExit().isVisible())
        form_.UnloadFrmExit();
}

void CommandViews::HideReadyMarks()
{
    for (int i = 0; i <= 3; ++i)
        form_.seats.OK(i).setVisible(false);
}

void CommandViews::ShowShowCardDouble(int value)
{
    BidControls &bid = form_.bid;
    if (value != 0) {
        for (int i = 0; i <= 2; ++i)
            bid.lbfont(i).setVisible(false);
        bid.lblDifen.setCaption(QString::number(value));
        bid.lblDifen.setVisible(true);
        bid.imgBeishu1.setVisible(true);
        return;
    }
    bid.lblDifen.setVisible(false);
    bid.imgBeishu1.setVisible(false);
    for (int i = 0; i <= 2; ++i) {
        bid.lbfont(i).setVisible(false);
        bid.lbfont(i).ZOrder(0);
    }
}

void CommandViews::SetWealthShown(bool shown)
{
    form_.bid.Imgwealth.setVisible(shown);
    form_.bid.lbwealth.setVisible(shown);
}

QString CommandViews::WealthCaption() const
{
    return form_.bid.lbwealth.Caption();
}

void CommandViews::ShowSortButton()
{
    forms::Image &sort = form_.actions.Operation(3);
    sort.setVisible(true);
    sort.setEnabled(true);
}

void CommandViews::PlaceOwnBottomCard(int slot)
{
    forms::Image *card = form_.hands.cardImage0.find(slot);
    if (!card)
        return;
    const forms::LayoutScale s = state_.table.scale;
    card->setStretch(true);
    card->setLeft(s.isReduced() ? slot * 0.19 * 90 + s.x(125) : slot * 0.22 * 90 + s.x(150));
    card->setTop(ownCardRow(state_).restingTop());
    card->setVisible(true);
    card->ZOrder(0);
}

void CommandViews::BringRoomStripToFront()
{
    TableArea &area = form_.area;
    area.imgLocation.ZOrder(0);
    area.Location.ZOrder(0);
    area.imgword1.ZOrder(0);
    area.imgword2.ZOrder(0);
    form_.toolbar.Bank.ZOrder(0);
}

void CommandViews::ShowBidButtons()
{
    BidControls &bid = form_.bid;
    loadPicture(bid.btnJiaofen(0), kCallButtonGif);
    loadPicture(bid.btnJiaofen(1), kNoCallButtonGif);
    for (int i = 0; i <= 1; ++i) {
        bid.btnJiaofen(i).setEnabled(true);
        bid.btnJiaofen(i).setVisible(true);
        bid.btnJiaofen(i).ZOrder(0);
    }
}

bool CommandViews::LandlordBadgeVisible() const
{
    return form_.effects.UcDiZhu.Visible();
}

namespace {

// The badge's animation from its first frame, looping for good.
void startBadge(forms::ucAniGIF &badge)
{
    badge.setVisible(false);
    const QByteArray bytes = support::PictureStore::resourceBytes(kLandlordBadgeGif);
    badge.setVisible(true);
    badge.ZOrder(0);
    badge.setLoops(0);
    badge.LoadAnimatedGIF_Array(bytes);
}

} // namespace

void CommandViews::ShowLandlord(int pos)
{
    if (!isSeat(pos))
        return;
    const forms::LayoutScale s = state_.table.scale;
    const BadgePlace place = kBadgePlaces[pos];
    forms::ucAniGIF &badge = form_.effects.UcDiZhu;
    const double top = pos == 0 && s.isReduced() ? kReducedOwnBadgeTop : place.top;
    badge.setTop(s.y(top));
    badge.setLeft(s.x(place.left));
    startBadge(badge);
    if (pos == 0)
        return;
    const int fan = kFirstFanGif + (pos - 1) + (s.isReduced() ? kReducedFanOffset : 0);
    loadPicture(form_.hands.shanImage(pos - 1), fan);
    if (pos == 2)
        form_.messages.LbProp.ZOrder(0);
}

void CommandViews::FirstPlayOfHand()
{
    for (int i = 0; i <= 3; ++i)
        form_.hands.ImgLPai(i).setVisible(false);
    if (form_.effects.UcDiZhu.Visible())
        startBadge(form_.effects.UcDiZhu);
}

void CommandViews::ShowTurnClock(ClockKind kind, int pos, int seconds)
{
    if (!isSeat(pos))
        return;
    const forms::LayoutScale s = state_.table.scale;
    forms::ucAniGIF &clock = form_.turn.Time_Img;
    forms::Label &number = form_.turn.Number;
    const bool bid = kind == ClockKind::Bid;
    switch (pos) {
    case 0:
        clock.Move(s.x(bid ? 825 : 875), s.y(bid ? 525 : 530));
        clock.ZOrder(0);
        break;
    case 1:
        clock.Move(0.2 * clock.Width(), s.y(bid ? 220 : 210));
        break;
    case 2: {
        const auto &strip = form_.seats.PicLocal(2);
        clock.Move(strip.Left() + strip.Width() - s.x(5), form_.hands.ImgLPai(2).Top() + s.y(40));
        break;
    }
    default:
        clock.Move(s.x(1024) - 1.2 * clock.Width(), s.y(bid ? 235 : 210));
        break;
    }
    const double offset = s.isReduced() ? 31 : 26;
    number.Move(clock.Left() + s.x(offset), clock.Top() + s.y(offset));
    number.setCaption(QString::number(seconds));
    // Another seat's bid clock keeps the colour its seconds had.
    if (!bid || pos == 0)
        number.setForeColor(Qt::black);
    number.setVisible(true);
    clock.setVisible(true);
    clock.ZOrder(0);
    number.ZOrder(0);
}

void CommandViews::ShowClockHere(int seconds)
{
    forms::Label &number = form_.turn.Number;
    number.setCaption(QString::number(seconds));
    number.setForeColor(Qt::black);
    number.setVisible(true);
    form_.turn.Time_Img.setVisible(true);
    form_.turn.Time_Img.ZOrder(0);
    number.ZOrder(0);
}

void CommandViews::HideCardPicture(int pos, int index)
{
    if (!isSeat(pos))
        return;
    if (forms::Image *card = form_.hands.cardRow(pos).find(index)) {
        card->setVisible(false);
        card->ZOrder(1);
    }
}

void CommandViews::ShowPassPicture(int pos)
{
    if (!isOtherSeat(pos))
        return;
    forms::Image &bubble = form_.messages.Speak(pos);
    loadPicture(bubble, kFirstPassGif + pos - 1);
    bubble.setVisible(true);
    bubble.ZOrder(0);
}

void CommandViews::ShowOwnTurnButtons(bool lead)
{
    const forms::LayoutScale s = state_.table.scale;
    auto &op = form_.actions.Operation;
    for (int i = 0; i <= 2; ++i) {
        op(i).setEnabled(true);
        op(i).ZOrder(0);
    }
    if (lead) {
        op(1).setLeft(s.x(544));
        op(0).setLeft(s.x(448));
        op(0).setVisible(true);
        op(1).setVisible(true);
        op(2).setEnabled(false);
        op(2).setVisible(false);
        return;
    }
    // Pass, hint and play from the right, each 1.3 button widths apart.
    op(2).setLeft(s.x(556));
    op(1).setLeft(op(2).Left() - 1.3 * op(2).Width());
    op(0).setLeft(op(1).Left() - 1.3 * op(1).Width());
    for (int i = 0; i <= 2; ++i)
        op(i).setVisible(true);
}

void CommandViews::ShowSeat(int pos, const SeatView &view)
{
    if (!isSeat(pos))
        return;
    SeatPanels &seats = form_.seats;
    const auto &ids = state_.pictures;
    forms::Image &mark = seats.OK(pos);
    loadPicture(mark,
                ids.ReadyMarkPic[static_cast<std::size_t>(std::clamp(view.readyLevel, 0, 2))]);
    if (view.ready) {
        mark.setVisible(true);
        mark.ZOrder(0);
    }
    loadPicture(seats.Tou(pos),
                ids.AvatarPic[static_cast<std::size_t>(std::clamp(view.avatar, 0, 19))]);
    seats.Nid(pos).setCaption(view.name);
    seats.Cash(pos).setCaption(view.cash);
    seats.Level(pos).setCaption(view.level);
    seats.Nid(pos).ZOrder(0);
    seats.Cash(pos).ZOrder(0);
    seats.Level(pos).ZOrder(0);
}

void CommandViews::EmptySeat(int pos)
{
    if (!isSeat(pos))
        return;
    ClearSeatMarkAndAvatar(pos);
    form_.seats.Nid(pos).setCaption(QString());
    form_.seats.Cash(pos).setCaption(QString());
    form_.seats.Level(pos).setCaption(QString());
}

void CommandViews::ClearSeatMarkAndAvatar(int pos)
{
    if (!isSeat(pos))
        return;
    form_.seats.OK(pos).setVisible(false);
    form_.seats.Tou(pos).setPicture(QPixmap(), 0);
}

bool CommandViews::ReadyMarkVisible(int pos) const
{
    return isSeat(pos) && form_.seats.OK(pos).Visible();
}

void CommandViews::ShowReadyMark(int pos)
{
    if (!isSeat(pos))
        return;
    form_.seats.OK(pos).setVisible(true);
    form_.seats.OK(pos).ZOrder(0);
}

bool CommandViews::NameShown(int pos) const
{
    return isSeat(pos) && !form_.seats.Nid(pos).Caption().isEmpty();
}

void CommandViews::HideSeatVideo(int pos)
{
    if (!isOtherSeat(pos))
        return;
    SeatPanels &seats = form_.seats;
    seats.vshow(pos).setVisible(false);
    seats.PicLocal(pos).setVisible(false);
    if (forms::Image *frame = seats.ImgKuang.find(pos))
        frame->setVisible(false);
    if (forms::Image *button = seats.ImgShow.find(pos))
        button->setVisible(false);
}

void CommandViews::ShowShowCardNote(bool shown)
{
    form_.bid.lbfont(0).setVisible(shown);
}

void CommandViews::ShowWealthNotes()
{
    form_.bid.lbfont(1).setVisible(true);
    form_.bid.lbfont(2).setVisible(true);
}

void CommandViews::ShowWealth(std::int32_t value)
{
    const forms::LayoutScale s = state_.table.scale;
    const WealthPlace place = (s.isReduced() ? kWealthReduced : kWealthFull)[value < 100 ? 0 : 1];
    forms::Label &label = form_.bid.lbwealth;
    label.setCaption(QString::number(value));
    setFontSize(label, place.fontSize);
    label.setLeft(s.x(place.left));
    label.setTop(s.y(place.top));
    form_.bid.Imgwealth.setVisible(true);
    label.setVisible(true);
}

void CommandViews::HideWealth()
{
    SetWealthShown(false);
}

void CommandViews::PlaceReadyClockAndShuffle()
{
    const forms::LayoutScale s = state_.table.scale;
    const forms::Image &wealth = form_.bid.Imgwealth;
    forms::ucAniGIF &clock = form_.turn.Time_Img;
    forms::Label &number = form_.turn.Number;
    forms::Image &picture = form_.effects.ImgShuffle;
    forms::Label &caption = form_.effects.LblShuffle;
    clock.setLeft(wealth.Left() + wealth.Width() - s.y(50));
    clock.setTop(wealth.Top() - s.y(120));
    number.setLeft(clock.Left() + s.x(26));
    number.setTop(clock.Top() + s.y(26));
    picture.setLeft(clock.Left() + clock.Width() + s.y(6));
    picture.setTop(number.Top() + s.y(2));
    caption.setLeft(picture.Left());
    caption.setTop(picture.Top() + s.y(6));
    auto &panel = form_.area.WebBrowser2;
    panel.Move(picture.Left(), picture.Top() + picture.Height(), picture.Width(),
               2 * picture.Height());
}

void CommandViews::ShowSeatShuffle(const QString &firstCaption, const QString &adUrl)
{
    TableEffects &effects = form_.effects;
    effects.ImgShuffle.setVisible(true);
    effects.ImgShuffle.ZOrder(0);
    effects.LblShuffle.setVisible(true);
    effects.LblShuffle.ZOrder(0);
    form_.timers.TimerShuffle.setInterval(300);
    form_.timers.TimerShuffle.start();
    effects.LblShuffle.setCaption(firstCaption);
    auto &panel = form_.area.WebBrowser2;
    panel->Navigate(adUrl);
    panel.ZOrder(0);
    panel.setVisible(true);
}

void CommandViews::HideShuffleNotice(bool stopTimer)
{
    if (stopTimer)
        form_.timers.TimerShuffle.stop();
    form_.effects.LblShuffle.setVisible(false);
    form_.effects.ImgShuffle.setVisible(false);
}

bool CommandViews::ShuffleNoticeRunning() const
{
    return form_.effects.LblShuffle.Visible() || form_.timers.TimerShuffle.isActive();
}

void CommandViews::HideAdPanel()
{
    form_.area.WebBrowser2.setVisible(false);
}

void CommandViews::ShowWebPanel(const QString &url)
{
    auto &panel = form_.area.WebBrowser1;
    panel->Navigate(url);
    panel.setVisible(true);
}

void CommandViews::SetOtherExitText(const QString &text)
{
    otherExit_.Label1.setCaption(text);
}

void CommandViews::ShowOtherExit()
{
    otherExit_.showOver(form_);
}

} // namespace tessaroc::table
