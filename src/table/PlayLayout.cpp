#include "table/MainForm.h"

#include "core/TableState.h"
#include "table/Rounding.h"
#include "table/TablePictures.h"

#include <cmath>

namespace tessaroc::table {

namespace {

void setFontSize(QWidget &widget, double points)
{
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

void setFontSize(forms::Label &label, double points)
{
    QFont font = label.Font();
    font.setPointSizeF(points);
    label.setFont(font);
}

} // namespace

void MainForm::InitPlayLayout()
{
    const forms::LayoutScale s = scale();
    const bool reduced = s.isReduced();
    const auto &OperationPic = state_.pictures.OperationPic;

    // The flying cards of the deal.
    for (int i = 0; i <= 10; ++i) {
        hands.imgCardMove(i).Move(hands.imgCardMove(i).Left(), hands.imgCardMove(i).Top(), s.x(80),
                                  s.y(108));
        hands.imgCardMove(i).setVisible(false);
        hands.imgCardMove(i).setStretch(true);
    }

    // Each seat's quick phrases are spoken in its own voice.
    for (int p = 0; p <= 3; ++p)
        state_.table.VoiceSet[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(p + 1);

    // The turn clock waits below the table (the own avatar's bottom plus 20)
    // until the play flow moves it to the seat to act.
    turn.Time_Img.Move(s.x(920), s.y(778), s.x(62), s.y(58));
    if (reduced)
        setFontSize(turn.Number, 12);
    const double secondsOffset = reduced ? 31 : 26;
    turn.Number.Move(turn.Time_Img.Left() + s.x(secondsOffset),
                     turn.Time_Img.Top() + s.y(secondsOffset), s.x(27), s.y(24));

    // Action buttons: play, hint and pass in a row leftward from the pass
    // button, 1.3 button widths apart; sort, previous trick and lower all at
    // the right.
    for (int i = 1; i <= 5; ++i)
        actions.Operation.Load(i);
    actions.Operation(2).Move(s.x(556), s.y(480));
    state_.core.HandOver = false;
    loadPicture(actions.Operation(0), OperationPic[0]);

    // The bottom cards: card backs, placed before each hand by the clearing.
    for (int i = 1; i <= 7; ++i) {
        hands.imgDiPai.Load(i).setVisible(false);
        loadPicture(hands.imgDiPai(i), 18);
    }
    hands.imgDiPai(0).setVisible(false);
    hands.imgDiPai(0).setPicture(hands.imgDiPai(1).picture(), hands.imgDiPai(1).Picture());

    const double windowPixels = forms::twipsToPixels(Width());
    for (int i = 0; i <= 5; ++i) {
        state_.table.OperationFlag[static_cast<std::size_t>(i)] = false;
        forms::Image &button = actions.Operation(i);
        if (i <= 2) {
            button.setWidth(s.x(60));
            button.setHeight(s.y(40));
        } else {
            button.setWidth(s.x(62));
            button.setHeight(s.y(25));
        }
        if (i == 1) {
            loadPicture(button, OperationPic[3]);
            button.setTop(actions.Operation(2).Top());
            button.setLeft(
                    single(actions.Operation(2).Left() - 1.3 * actions.Operation(0).Width()));
        } else if (i == 2) {
            loadPicture(button, OperationPic[6]);
            actions.Operation(0).setTop(actions.Operation(2).Top());
            actions.Operation(0).setLeft(
                    single(actions.Operation(1).Left() - 1.3 * actions.Operation(0).Width()));
        } else if (i >= 3) {
            loadPicture(button, OperationPic[static_cast<std::size_t>(2 * i + 3)]);
            button.setTop(area.imgLocation.Top() - (i - 2) * button.Height() - s.y(30));
            button.setLeft(windowPixels - button.Width() - s.x(50));
            actions.Operation(3).Move(s.x(900), s.y(590));
        }
        button.setEnabled(false);
        button.setVisible(false);
    }

    // The two-way choice, never shown in this configuration.
    actions.tanOperation.Load(1);
    for (int i = 0; i <= 1; ++i) {
        state_.table.TanOperationFlag[static_cast<std::size_t>(i)] = false;
        forms::Image &button = actions.tanOperation(i);
        button.Move(s.x(i == 0 ? 448 : 544), s.y(470), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }

    // The card pictures of all four seats; the own row is sized before each
    // hand by the clearing.
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

    // The card-back fans of the other seats; the left fan's Left is not
    // scaled.
    hands.shanImage(0).Move(21, s.y(240), s.x(200), s.y(200));
    hands.shanImage(1).Move(s.x(400), s.y(95), s.x(200), s.y(200));
    hands.shanImage(2).Move(s.x(880), s.y(240), s.x(180), s.y(180));
    for (int i = 0; i <= 2; ++i)
        hands.shanImage(i).setVisible(false);

    // Their remaining-card counts, placed from the fans as they are now.
    hands.Labrest.Load(2);
    hands.Labrest.Load(3);
    for (int p = 1; p <= 3; ++p)
        hands.Labrest(p).setVisible(false);
    hands.Labrest(1).setLeft(hands.shanImage(0).Left() + s.x(50));
    hands.Labrest(1).setTop(hands.shanImage(0).Top() + hands.shanImage(0).Height()
                            + (reduced ? -s.y(20) : s.y(8)));
    hands.Labrest(2).setLeft(hands.shanImage(1).Left() + hands.shanImage(1).Width() + s.x(30));
    hands.Labrest(2).setTop(hands.shanImage(1).Top() + s.y(30));
    hands.Labrest(3).setLeft(s.x(925));
    hands.Labrest(3).setTop(hands.shanImage(2).Top() + hands.shanImage(2).Height() + s.y(10));

    // The task icon stands on the bottom bar.
    area.imgRenWu.Move(area.imgDilan.Left(), area.imgDilan.Top() - area.imgRenWu.Height());

    // On the reduced table the fans are drawn into a fixed square; on the
    // full one each takes the size of its picture.
    for (int i = 0; i <= 2; ++i) {
        hands.shanImage(i).setStretch(reduced);
        if (reduced)
            hands.shanImage(i).Move(hands.shanImage(i).Left(), hands.shanImage(i).Top(), s.x(150),
                                    s.y(150));
    }

    // Bid buttons: call and no call.
    for (int i = 1; i <= 3; ++i)
        bid.btnJiaofen.Load(i);
    for (int i = 0; i <= 1; ++i) {
        forms::Image &button = bid.btnJiaofen(i);
        button.setMouseIcon(actions.Operation(0).MouseIcon());
        button.setMousePointer(forms::MousePointer::Custom);
        button.Move(s.x(i == 0 ? 440 : 560), s.y(480), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }

    // Speech-bubble anchors; the top seat's hangs below its avatar.
    messages.Speak(0).Move(s.x(94), s.y(513));
    messages.Speak(1).Move(s.x(8), s.y(280));
    messages.Speak(2).Move(seats.Tou(2).Left(),
                           single(seats.Tou(2).Top() + 0.8 * seats.Tou(2).Height() + s.y(45)));
    messages.Speak(3).Move(s.x(reduced ? 780 : 800), s.y(280));
    for (int p = 0; p <= 3; ++p)
        messages.Speak(p).setVisible(false);

    // The two system message lines and the chat-history label at their end.
    if (reduced) {
        setFontSize(messages.Sysmsg(0).widget(), 8);
        setFontSize(messages.Sysmsg(1).widget(), 8);
        setFontSize(messages.Lbchat, 8);
    }
    messages.Sysmsg(0).setHeight(s.y(13));
    messages.Sysmsg(1).setHeight(messages.Sysmsg(0).Height());
    messages.Sysmsg(0).setTop(s.y(reduced ? 693 : 696));
    messages.Sysmsg(1).setTop(messages.Sysmsg(0).Top() + messages.Sysmsg(0).Height());
    messages.Lbchat.Move(s.x(594), s.y(reduced ? 685 : 695), s.x(25), s.y(reduced ? 20 : 33));
    messages.Sysmsg(0).setWidth(s.x(281));
    messages.Sysmsg(0).setLeft(s.x(312));
    messages.Sysmsg(1).setWidth(messages.Sysmsg(0).Width());
    messages.Sysmsg(1).setLeft(messages.Sysmsg(0).Left());
    messages.Sysmsg(0).setVisible(true);
    messages.Sysmsg(1).setVisible(true);

    // The window's font and the chat box.
    QFont windowFont = font();
    windowFont.setPointSizeF(10 * static_cast<double>(s.ScaleX));
    setFont(windowFont);
    messages.Chat.setVisible(true);
    messages.Chat.Move(s.x(312), s.y(732), s.x(250), s.y(33));

    // The ad frame, with the first web panel 2 pixels inside it.
    area.Bird.Move(s.x(936), s.y(680), s.x(82), s.y(80));
    area.Bird.setVisible(true);
    area.Bird.ZOrder(0);
    area.WebBrowser1.Move(area.Bird.Left() + 2, area.Bird.Top() + 2, s.x(82), s.y(80));

    bid.lblBeishu.setVisible(false);

    // The own camera view lies over the own avatar.
    if (!state_.core.CameraSkipped)
        seats.vcap1->ResetDevice();
    seats.vcap1.Move(seats.Tou(0).Left(), seats.Tou(0).Top(), seats.Tou(0).Width(),
                     seats.Tou(0).Height() - s.y(7));
    seats.vcap1.setVisible(false);
    if (!state_.core.CameraSkipped && state_.core.VideoAllowed) {
        seats.vcap1->Option4 = true;
        seats.vcap1->Option2 = true;
        seats.vcap1->CaptureRate = 2;
        seats.vcap1->Option1 = false;
        seats.vcap1.setVisible(false);
        if (seats.vcap1->StartCapture() != video::VideoCapture::CaptureStarted) {
            state_.VideoOn = false;
            seats.vcap1.setVisible(false);
        } else {
            state_.VideoOn = true;
        }
        if (!state_.VideoOn)
            AddSystemMessage(QStringLiteral("您没有视频设备或您的视频源正在使用。"));
    }

    // The card turned up at the deal, shown beside the seat that holds it.
    for (int p = 0; p <= 3; ++p) {
        hands.ImgLPai(p).Move(hands.ImgLPai(p).Left(), hands.ImgLPai(p).Top(), s.x(60), s.y(81));
        hands.ImgLPai(p).setVisible(false);
    }
    hands.ImgLPai(0).Move(seats.Tou(0).Left(),
                          area.imgRenWu.Top() - hands.ImgLPai(0).Height() - s.y(15));
    hands.ImgLPai(1).Move(seats.Tou(1).Left(),
                          seats.Tou(1).Top() + seats.Tou(1).Height() + s.y(40));
    // Two thirds of the card's width, held in a 16-bit field, the remainder
    // dropped.
    const int d = roundToInt16(2 * hands.ImgLPai(2).Width()) / 3;
    hands.ImgLPai(2).Move(seats.Tou(2).Left() - d,
                          seats.Tou(2).Top() + seats.Tou(2).Height() + s.y(40));
    hands.ImgLPai(3).Move(seats.Tou(3).Left() + 2 * hands.ImgLPai(3).Width(),
                          seats.Tou(3).Top() + seats.Tou(3).Height() + s.y(40));
    if (reduced) {
        for (int p = 1; p <= 3; ++p)
            hands.ImgLPai(p).setTop(hands.ImgLPai(p).Top() + s.y(3));
    }

    turn.Number.setForeColor(Qt::black);
    turn.Number.ZOrder(0);

    // The two multipliers: shown cards and wealth.
    bid.imgBeishu1.Move(s.x(10), s.y(reduced ? 451 : 470));
    bid.lblDifen.Move(s.x(reduced ? 74 : 62), s.y(reduced ? 452 : 471));
    setFontSize(bid.lblDifen, 18);
    bid.Imgwealth.Move(s.x(10), s.y(reduced ? 490 : 500));
    bid.lbwealth.Move(s.x(reduced ? 56 : 62), s.y(282));
    setFontSize(bid.lbwealth, 18);
    for (forms::Element *element : std::initializer_list<forms::Element *>{
                 &bid.imgBeishu1, &bid.lblDifen, &bid.Imgwealth, &bid.lbwealth}) {
        element->setVisible(false);
        element->ZOrder(0);
    }

    // The room rule notes; on the reduced table they move 10 unscaled pixels
    // further left.
    for (int i = 0; i <= 2; ++i) {
        bid.lbfont(i).setVisible(false);
        bid.lbfont(i).setTop(s.y(280 + 32 * i));
        bid.lbfont(i).setLeft(reduced ? s.x(424) - 10 : s.x(424));
    }

    state_.core.Wealth.fill(0);

    // The own-seat item notice covers the camera view, with unscaled margins.
    messages.Proponeself.Move(seats.vcap1.Left() - 10, seats.vcap1.Top() - 10,
                              seats.vcap1.Width() + 15, seats.vcap1.Height() + 35);
    messages.Proponeself.setEnabled(true);
    messages.Proponeself.ZOrder(0);
}

} // namespace tessaroc::table
