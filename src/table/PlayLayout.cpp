#include "table/MainForm.h"

#include "core/TableState.h"
#include "forms/Fonts.h"
#include "table/Rounding.h"
#include "table/TablePictures.h"

#include <cmath>

namespace tessaroc::table {

namespace {

using forms::LayoutScale;

// The flying cards of the deal.
void layoutDealCards(HandRows &hands, LayoutScale s)
{
    for (int i = 0; i <= 10; ++i) {
        forms::Image &card = hands.imgCardMove(i);
        card.Move(card.Left(), card.Top(), s.x(80), s.y(108));
        card.setVisible(false);
        card.setStretch(true);
    }
}

// The turn clock waits below the table (the own avatar's bottom plus 20)
// until the play flow moves it to the seat to act.
void layoutTurnClock(TurnClock &turn, LayoutScale s)
{
    const bool reduced = s.isReduced();
    turn.Time_Img.Move(s.x(920), s.y(778), s.x(62), s.y(58));
    if (reduced)
        forms::setFontSize(turn.Number, 12);
    const double secondsOffset = reduced ? 31 : 26;
    turn.Number.Move(turn.Time_Img.Left() + s.x(secondsOffset),
                     turn.Time_Img.Top() + s.y(secondsOffset), s.x(27), s.y(24));
}

// Action buttons: play, hint and pass in a row leftward from the pass button,
// 1.3 button widths apart; sort, previous trick and lower all at the right,
// stacked above the room strip, where sort then takes its own place.
void layoutActionButtons(ActionButtons &actions, const forms::Image &roomStrip, double windowPixels,
                         const support::PictureIds &pictures, core::TableWindowState &table,
                         LayoutScale s)
{
    forms::ControlArray<forms::Image> &Operation = actions.Operation;
    const auto &OperationPic = pictures.OperationPic;
    for (int i = 1; i <= 5; ++i)
        Operation.Load(i);
    Operation(2).Move(s.x(556), s.y(480));
    loadPicture(Operation(0), OperationPic[0]);

    for (int i = 0; i <= 5; ++i) {
        table.OperationFlag[static_cast<std::size_t>(i)] = false;
        forms::Image &button = Operation(i);
        if (i <= 2) {
            button.setWidth(s.x(60));
            button.setHeight(s.y(40));
        } else {
            button.setWidth(s.x(62));
            button.setHeight(s.y(25));
        }
        if (i == 1) {
            loadPicture(button, OperationPic[3]);
            button.setTop(Operation(2).Top());
            button.setLeft(single(Operation(2).Left() - 1.3 * Operation(0).Width()));
        } else if (i == 2) {
            loadPicture(button, OperationPic[6]);
            Operation(0).setTop(Operation(2).Top());
            Operation(0).setLeft(single(Operation(1).Left() - 1.3 * Operation(0).Width()));
        } else if (i >= 3) {
            loadPicture(button, OperationPic[static_cast<std::size_t>(2 * i + 3)]);
            button.setTop(roomStrip.Top() - (i - 2) * button.Height() - s.y(30));
            button.setLeft(windowPixels - button.Width() - s.x(50));
            Operation(3).Move(s.x(900), s.y(590));
        }
        button.setEnabled(false);
        button.setVisible(false);
    }
}

// The bottom cards: card backs, placed before each hand by the clearing.
void layoutBottomCards(HandRows &hands)
{
    for (int i = 1; i <= 7; ++i) {
        hands.imgDiPai.Load(i).setVisible(false);
        loadPicture(hands.imgDiPai(i), kCardBackPicture);
    }
    hands.imgDiPai(0).setVisible(false);
    hands.imgDiPai(0).setPicture(hands.imgDiPai(1).picture(), hands.imgDiPai(1).Picture());
}

// The two-way choice, never shown in this configuration.
void layoutChoiceButtons(ActionButtons &actions, core::TableWindowState &table, LayoutScale s)
{
    actions.tanOperation.Load(1);
    for (int i = 0; i <= 1; ++i) {
        table.TanOperationFlag[static_cast<std::size_t>(i)] = false;
        forms::Image &button = actions.tanOperation(i);
        button.Move(s.x(i == 0 ? 448 : 544), s.y(470), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }
}

// The card pictures of all four seats, the card-back fans of the other seats
// and their remaining-card counts. The own row is sized before each hand by
// the clearing.
void layoutCardRows(HandRows &hands, LayoutScale s)
{
    const bool reduced = s.isReduced();
    for (int i = 1; i <= 32; ++i) {
        for (auto *group :
             {&hands.cardImage0, &hands.cardImage1, &hands.cardImage2, &hands.cardImage3})
            group->Load(i);
    }
    for (int i = 0; i <= 32; ++i) {
        for (auto *group : {&hands.cardImage1, &hands.cardImage2, &hands.cardImage3}) {
            forms::Image &card = (*group)(i);
            card.setWidth(s.x(80));
            card.setHeight(s.y(108));
            card.setVisible(false);
        }
    }

    // The fans; the left fan's Left is not scaled.
    forms::ControlArray<forms::Image> &fan = hands.shanImage;
    fan(0).Move(21, s.y(240), s.x(200), s.y(200));
    fan(1).Move(s.x(400), s.y(95), s.x(200), s.y(200));
    fan(2).Move(s.x(880), s.y(240), s.x(180), s.y(180));
    for (int i = 0; i <= 2; ++i)
        fan(i).setVisible(false);

    // The counts, placed from the fans as they are now.
    forms::ControlArray<forms::Label> &count = hands.Labrest;
    count.Load(2);
    count.Load(3);
    for (int p = 1; p <= 3; ++p)
        count(p).setVisible(false);
    count(1).setLeft(fan(0).Left() + s.x(50));
    count(1).setTop(fan(0).Top() + fan(0).Height() + (reduced ? -s.y(20) : s.y(8)));
    count(2).setLeft(fan(1).Left() + fan(1).Width() + s.x(30));
    count(2).setTop(fan(1).Top() + s.y(30));
    count(3).setLeft(s.x(925));
    count(3).setTop(fan(2).Top() + fan(2).Height() + s.y(10));

    // On the reduced table the fans are drawn into a fixed square; on the
    // full one each takes the size of its picture.
    for (int i = 0; i <= 2; ++i) {
        fan(i).setStretch(reduced);
        if (reduced)
            fan(i).Move(fan(i).Left(), fan(i).Top(), s.x(150), s.y(150));
    }
}

// Bid buttons: call and no call, with the action buttons' pointer.
void layoutBidButtons(BidControls &bid, const QCursor &pointer, LayoutScale s)
{
    for (int i = 1; i <= 3; ++i)
        bid.btnJiaofen.Load(i);
    for (int i = 0; i <= 1; ++i) {
        forms::Image &button = bid.btnJiaofen(i);
        button.setMouseIcon(pointer);
        button.setMousePointer(forms::MousePointer::Custom);
        button.Move(s.x(i == 0 ? 440 : 560), s.y(480), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }
}

// Speech-bubble anchors; the top seat's hangs below its avatar. Then the two
// system message lines and the chat-history label at their end.
void layoutMessages(MessageControls &messages, const forms::Image &topAvatar, LayoutScale s)
{
    const bool reduced = s.isReduced();
    forms::ControlArray<forms::Image> &Speak = messages.Speak;
    Speak(0).Move(s.x(94), s.y(513));
    Speak(1).Move(s.x(8), s.y(280));
    Speak(2).Move(topAvatar.Left(), single(topAvatar.Top() + 0.8 * topAvatar.Height() + s.y(45)));
    Speak(3).Move(s.x(reduced ? 780 : 800), s.y(280));
    for (int p = 0; p <= 3; ++p)
        Speak(p).setVisible(false);

    WindowedArray<QListWidget> &Sysmsg = messages.Sysmsg;
    if (reduced) {
        forms::setFontSize(Sysmsg(0).widget(), 8);
        forms::setFontSize(Sysmsg(1).widget(), 8);
        forms::setFontSize(messages.Lbchat, 8);
    }
    Sysmsg(0).setHeight(s.y(13));
    Sysmsg(1).setHeight(Sysmsg(0).Height());
    Sysmsg(0).setTop(s.y(reduced ? 693 : 696));
    Sysmsg(1).setTop(Sysmsg(0).Top() + Sysmsg(0).Height());
    messages.Lbchat.Move(s.x(594), s.y(reduced ? 685 : 695), s.x(25), s.y(reduced ? 20 : 33));
    Sysmsg(0).setWidth(s.x(281));
    Sysmsg(0).setLeft(s.x(312));
    Sysmsg(1).setWidth(Sysmsg(0).Width());
    Sysmsg(1).setLeft(Sysmsg(0).Left());
    Sysmsg(0).setVisible(true);
    Sysmsg(1).setVisible(true);
}

// The ad frame, with the first web panel 2 pixels inside it.
void layoutAdFrame(TableArea &area, LayoutScale s)
{
    area.Bird.Move(s.x(936), s.y(680), s.x(82), s.y(80));
    area.Bird.setVisible(true);
    area.Bird.ZOrder(0);
    area.WebBrowser1.Move(area.Bird.Left() + 2, area.Bird.Top() + 2, s.x(82), s.y(80));
}

// The card turned up at the deal, shown beside the seat that holds it.
void layoutDealtCards(HandRows &hands, const SeatPanels &seats, const forms::Image &taskIcon,
                      LayoutScale s)
{
    forms::ControlArray<forms::Image> &card = hands.ImgLPai;
    const forms::ControlArray<forms::Image> &Tou = seats.Tou;
    for (int p = 0; p <= 3; ++p) {
        card(p).Move(card(p).Left(), card(p).Top(), s.x(60), s.y(81));
        card(p).setVisible(false);
    }
    card(0).Move(Tou(0).Left(), taskIcon.Top() - card(0).Height() - s.y(15));
    card(1).Move(Tou(1).Left(), Tou(1).Top() + Tou(1).Height() + s.y(40));
    // Two thirds of the card's width, held in a 16-bit field, the remainder
    // dropped.
    const int d = roundToInt16(2 * card(2).Width()) / 3;
    card(2).Move(Tou(2).Left() - d, Tou(2).Top() + Tou(2).Height() + s.y(40));
    card(3).Move(Tou(3).Left() + 2 * card(3).Width(), Tou(3).Top() + Tou(3).Height() + s.y(40));
    if (s.isReduced()) {
        for (int p = 1; p <= 3; ++p)
            card(p).setTop(card(p).Top() + s.y(3));
    }
}

// The settlement's multiplier text, the two multipliers (shown cards and
// wealth) and the room rule notes, which on the reduced table move 10
// unscaled pixels further left.
void layoutStakes(BidControls &bid, LayoutScale s)
{
    const bool reduced = s.isReduced();
    bid.lblBeishu.setVisible(false);
    bid.imgBeishu1.Move(s.x(10), s.y(reduced ? 451 : 470));
    bid.lblDifen.Move(s.x(reduced ? 74 : 62), s.y(reduced ? 452 : 471));
    forms::setFontSize(bid.lblDifen, 18);
    bid.Imgwealth.Move(s.x(10), s.y(reduced ? 490 : 500));
    bid.lbwealth.Move(s.x(reduced ? 56 : 62), s.y(282));
    forms::setFontSize(bid.lbwealth, 18);
    for (forms::Element *element : std::initializer_list<forms::Element *>{
                 &bid.imgBeishu1, &bid.lblDifen, &bid.Imgwealth, &bid.lbwealth}) {
        element->setVisible(false);
        element->ZOrder(0);
    }
    for (int i = 0; i <= 2; ++i) {
        bid.lbfont(i).setVisible(false);
        bid.lbfont(i).setTop(s.y(280 + 32 * i));
        bid.lbfont(i).setLeft(reduced ? s.x(424) - 10 : s.x(424));
    }
}

} // namespace

void MainForm::InitPlayLayout()
{
    const LayoutScale s = scale();

    layoutDealCards(hands, s);
    // Each seat's quick phrases are spoken in its own voice.
    for (int p = 0; p <= 3; ++p)
        state_.table.VoiceSet[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(p + 1);
    layoutTurnClock(turn, s);
    state_.core.HandOver = false;
    layoutActionButtons(actions, area.imgLocation, forms::twipsToPixels(Width()), state_.pictures,
                        state_.table, s);
    layoutBottomCards(hands);
    layoutChoiceButtons(actions, state_.table, s);
    layoutCardRows(hands, s);
    // The task icon stands on the bottom bar.
    area.imgRenWu.Move(area.imgDilan.Left(), area.imgDilan.Top() - area.imgRenWu.Height());
    layoutBidButtons(bid, actions.Operation(0).MouseIcon(), s);
    layoutMessages(messages, seats.Tou(2), s);

    // The window's font and the chat box.
    QFont windowFont = font();
    windowFont.setPointSizeF(10 * static_cast<double>(s.ScaleX));
    setFont(windowFont);
    messages.Chat.setVisible(true);
    messages.Chat.Move(s.x(312), s.y(732), s.x(250), s.y(33));

    layoutAdFrame(area, s);
    startOwnCamera(s);
    layoutDealtCards(hands, seats, area.imgRenWu, s);
    turn.Number.setForeColor(Qt::black);
    turn.Number.ZOrder(0);
    layoutStakes(bid, s);
    state_.core.Wealth.fill(0);

    // The own-seat item notice covers the camera view, with unscaled margins.
    const Windowed<platform::VideoCapture> &camera = seats.vcap1;
    messages.Proponeself.Move(camera.Left() - 10, camera.Top() - 10, camera.Width() + 15,
                              camera.Height() + 35);
    messages.Proponeself.setEnabled(true);
    messages.Proponeself.ZOrder(0);
}

// The own camera view lies over the own avatar; it starts only where the
// camera is wanted and video is allowed.
void MainForm::startOwnCamera(forms::LayoutScale s)
{
    Windowed<platform::VideoCapture> &camera = seats.vcap1;
    const forms::Image &avatar = seats.Tou(0);
    if (!state_.core.CameraSkipped)
        camera->ResetDevice();
    camera.Move(avatar.Left(), avatar.Top(), avatar.Width(), avatar.Height() - s.y(7));
    camera.setVisible(false);
    if (state_.core.CameraSkipped || !state_.core.VideoAllowed)
        return;
    camera->Option4 = true;
    camera->Option2 = true;
    camera->CaptureRate = 2;
    camera->Option1 = false;
    camera.setVisible(false);
    if (camera->StartCapture() != platform::VideoCapture::CaptureStarted) {
        state_.VideoOn = false;
        camera.setVisible(false);
    } else {
        state_.VideoOn = true;
    }
    if (!state_.VideoOn)
        AddSystemMessage(QStringLiteral("您没有视频设备或您的视频源正在使用。"));
}

} // namespace tessaroc::table
