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
        imgCardMove(i).Move(imgCardMove(i).Left(), imgCardMove(i).Top(), s.x(80), s.y(108));
        imgCardMove(i).setVisible(false);
        imgCardMove(i).setStretch(true);
    }

    // Each seat's quick phrases are spoken in its own voice.
    for (int p = 0; p <= 3; ++p)
        state_.table.VoiceSet[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(p + 1);

    // The turn clock waits below the table (the own avatar's bottom plus 20)
    // until the play flow moves it to the seat to act.
    Time_Img.Move(s.x(920), s.y(778), s.x(62), s.y(58));
    if (reduced)
        setFontSize(Number, 12);
    const double secondsOffset = reduced ? 31 : 26;
    Number.Move(Time_Img.Left() + s.x(secondsOffset), Time_Img.Top() + s.y(secondsOffset), s.x(27),
                s.y(24));

    // Action buttons: play, hint and pass in a row leftward from the pass
    // button, 1.3 button widths apart; sort, previous trick and lower all at
    // the right.
    for (int i = 1; i <= 5; ++i)
        Operation.Load(i);
    Operation(2).Move(s.x(556), s.y(480));
    state_.core.HandOver = false;
    loadPicture(Operation(0), OperationPic[0]);

    // The bottom cards: card backs, placed before each hand by the clearing.
    for (int i = 1; i <= 7; ++i) {
        imgDiPai.Load(i).setVisible(false);
        loadPicture(imgDiPai(i), 18);
    }
    imgDiPai(0).setVisible(false);
    imgDiPai(0).setPicture(imgDiPai(1).picture(), imgDiPai(1).Picture());

    const double windowPixels = forms::twipsToPixels(Width());
    for (int i = 0; i <= 5; ++i) {
        state_.table.OperationFlag[static_cast<std::size_t>(i)] = false;
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
            button.setTop(imgLocation.Top() - (i - 2) * button.Height() - s.y(30));
            button.setLeft(windowPixels - button.Width() - s.x(50));
            Operation(3).Move(s.x(900), s.y(590));
        }
        button.setEnabled(false);
        button.setVisible(false);
    }

    // The two-way choice, never shown in this configuration.
    tanOperation.Load(1);
    for (int i = 0; i <= 1; ++i) {
        state_.table.TanOperationFlag[static_cast<std::size_t>(i)] = false;
        forms::Image &button = tanOperation(i);
        button.Move(s.x(i == 0 ? 448 : 544), s.y(470), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }

    // The card pictures of all four seats; the own row is sized before each
    // hand by the clearing.
    for (int i = 1; i <= 32; ++i) {
        for (auto *group : {&cardImage0, &cardImage1, &cardImage2, &cardImage3})
            group->Load(i);
    }
    for (int i = 0; i <= 32; ++i) {
        for (auto *group : {&cardImage1, &cardImage2, &cardImage3}) {
            forms::Image &card = (*group)(i);
            card.setWidth(s.x(80));
            card.setHeight(s.y(108));
            card.setVisible(false);
        }
    }

    // The card-back fans of the other seats; the left fan's Left is not
    // scaled.
    shanImage(0).Move(21, s.y(240), s.x(200), s.y(200));
    shanImage(1).Move(s.x(400), s.y(95), s.x(200), s.y(200));
    shanImage(2).Move(s.x(880), s.y(240), s.x(180), s.y(180));
    for (int i = 0; i <= 2; ++i)
        shanImage(i).setVisible(false);

    // Their remaining-card counts, placed from the fans as they are now.
    Labrest.Load(2);
    Labrest.Load(3);
    for (int p = 1; p <= 3; ++p)
        Labrest(p).setVisible(false);
    Labrest(1).setLeft(shanImage(0).Left() + s.x(50));
    Labrest(1).setTop(shanImage(0).Top() + shanImage(0).Height() + (reduced ? -s.y(20) : s.y(8)));
    Labrest(2).setLeft(shanImage(1).Left() + shanImage(1).Width() + s.x(30));
    Labrest(2).setTop(shanImage(1).Top() + s.y(30));
    Labrest(3).setLeft(s.x(925));
    Labrest(3).setTop(shanImage(2).Top() + shanImage(2).Height() + s.y(10));

    // The task icon stands on the bottom bar.
    imgRenWu.Move(imgDilan.Left(), imgDilan.Top() - imgRenWu.Height());

    // On the reduced table the fans are drawn into a fixed square; on the
    // full one each takes the size of its picture.
    for (int i = 0; i <= 2; ++i) {
        shanImage(i).setStretch(reduced);
        if (reduced)
            shanImage(i).Move(shanImage(i).Left(), shanImage(i).Top(), s.x(150), s.y(150));
    }

    // Bid buttons: call and no call.
    for (int i = 1; i <= 3; ++i)
        btnJiaofen.Load(i);
    for (int i = 0; i <= 1; ++i) {
        forms::Image &button = btnJiaofen(i);
        button.setMouseIcon(Operation(0).MouseIcon());
        button.setMousePointer(forms::MousePointer::Custom);
        button.Move(s.x(i == 0 ? 440 : 560), s.y(480), s.x(66), s.y(38));
        button.setStretch(true);
        button.setEnabled(false);
        button.setVisible(false);
    }

    // Speech-bubble anchors; the top seat's hangs below its avatar.
    Speak(0).Move(s.x(94), s.y(513));
    Speak(1).Move(s.x(8), s.y(280));
    Speak(2).Move(Tou(2).Left(), single(Tou(2).Top() + 0.8 * Tou(2).Height() + s.y(45)));
    Speak(3).Move(s.x(reduced ? 780 : 800), s.y(280));
    for (int p = 0; p <= 3; ++p)
        Speak(p).setVisible(false);

    // The two system message lines and the chat-history label at their end.
    if (reduced) {
        setFontSize(Sysmsg(0).widget(), 8);
        setFontSize(Sysmsg(1).widget(), 8);
        setFontSize(Lbchat, 8);
    }
    Sysmsg(0).setHeight(s.y(13));
    Sysmsg(1).setHeight(Sysmsg(0).Height());
    Sysmsg(0).setTop(s.y(reduced ? 693 : 696));
    Sysmsg(1).setTop(Sysmsg(0).Top() + Sysmsg(0).Height());
    Lbchat.Move(s.x(594), s.y(reduced ? 685 : 695), s.x(25), s.y(reduced ? 20 : 33));
    Sysmsg(0).setWidth(s.x(281));
    Sysmsg(0).setLeft(s.x(312));
    Sysmsg(1).setWidth(Sysmsg(0).Width());
    Sysmsg(1).setLeft(Sysmsg(0).Left());
    Sysmsg(0).setVisible(true);
    Sysmsg(1).setVisible(true);

    // The window's font and the chat box.
    QFont windowFont = font();
    windowFont.setPointSizeF(10 * static_cast<double>(s.ScaleX));
    setFont(windowFont);
    Chat.setVisible(true);
    Chat.Move(s.x(312), s.y(732), s.x(250), s.y(33));

    // The ad frame, with the first web panel 2 pixels inside it.
    Bird.Move(s.x(936), s.y(680), s.x(82), s.y(80));
    Bird.setVisible(true);
    Bird.ZOrder(0);
    WebBrowser1.Move(Bird.Left() + 2, Bird.Top() + 2, s.x(82), s.y(80));

    lblBeishu.setVisible(false);

    // The own camera view lies over the own avatar.
    if (!state_.core.CameraSkipped)
        vcap1->ResetDevice();
    vcap1.Move(Tou(0).Left(), Tou(0).Top(), Tou(0).Width(), Tou(0).Height() - s.y(7));
    vcap1.setVisible(false);
    if (!state_.core.CameraSkipped && state_.core.VideoAllowed) {
        vcap1->Option4 = true;
        vcap1->Option2 = true;
        vcap1->CaptureRate = 2;
        vcap1->Option1 = false;
        vcap1.setVisible(false);
        if (vcap1->StartCapture() != video::VideoCapture::CaptureStarted) {
            state_.VideoOn = false;
            vcap1.setVisible(false);
        } else {
            state_.VideoOn = true;
        }
        if (!state_.VideoOn)
            AddSystemMessage(QStringLiteral("您没有视频设备或您的视频源正在使用。"));
    }

    // The card turned up at the deal, shown beside the seat that holds it.
    for (int p = 0; p <= 3; ++p) {
        ImgLPai(p).Move(ImgLPai(p).Left(), ImgLPai(p).Top(), s.x(60), s.y(81));
        ImgLPai(p).setVisible(false);
    }
    ImgLPai(0).Move(Tou(0).Left(), imgRenWu.Top() - ImgLPai(0).Height() - s.y(15));
    ImgLPai(1).Move(Tou(1).Left(), Tou(1).Top() + Tou(1).Height() + s.y(40));
    // Two thirds of the card's width, held in a 16-bit field, the remainder
    // dropped.
    const int d = roundToInt16(2 * ImgLPai(2).Width()) / 3;
    ImgLPai(2).Move(Tou(2).Left() - d, Tou(2).Top() + Tou(2).Height() + s.y(40));
    ImgLPai(3).Move(Tou(3).Left() + 2 * ImgLPai(3).Width(),
                    Tou(3).Top() + Tou(3).Height() + s.y(40));
    if (reduced) {
        for (int p = 1; p <= 3; ++p)
            ImgLPai(p).setTop(ImgLPai(p).Top() + s.y(3));
    }

    Number.setForeColor(Qt::black);
    Number.ZOrder(0);

    // The two multipliers: shown cards and wealth.
    imgBeishu1.Move(s.x(10), s.y(reduced ? 451 : 470));
    lblDifen.Move(s.x(reduced ? 74 : 62), s.y(reduced ? 452 : 471));
    setFontSize(lblDifen, 18);
    Imgwealth.Move(s.x(10), s.y(reduced ? 490 : 500));
    lbwealth.Move(s.x(reduced ? 56 : 62), s.y(282));
    setFontSize(lbwealth, 18);
    for (forms::Element *element :
         std::initializer_list<forms::Element *>{&imgBeishu1, &lblDifen, &Imgwealth, &lbwealth}) {
        element->setVisible(false);
        element->ZOrder(0);
    }

    // The room rule notes; on the reduced table they move 10 unscaled pixels
    // further left.
    for (int i = 0; i <= 2; ++i) {
        lbfont(i).setVisible(false);
        lbfont(i).setTop(s.y(280 + 32 * i));
        lbfont(i).setLeft(reduced ? s.x(424) - 10 : s.x(424));
    }

    state_.core.Wealth.fill(0);

    // The own-seat item notice covers the camera view, with unscaled margins.
    Proponeself.Move(vcap1.Left() - 10, vcap1.Top() - 10, vcap1.Width() + 15, vcap1.Height() + 35);
    Proponeself.setEnabled(true);
    Proponeself.ZOrder(0);
}

} // namespace tessaroc::table
