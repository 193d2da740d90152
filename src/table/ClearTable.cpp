#include "table/MainForm.h"

#include "chat/ChatService.h"
#include "chat/SpeakBox.h"
#include "core/TableState.h"
#include "settlement/SettlementService.h"
#include "support/GifScale.h"
#include "table/Rounding.h"
#include "table/TablePictures.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace tessaroc::table {

namespace {

// The home origins of the four card rows, per display position.
struct RowOrigin
{
    double x;
    double y;
};
constexpr RowOrigin kRowOrigins[] = {{500, 430}, {170, 321}, {300, 230}, {550, 321}};

// Every element of a group that is loaded in the range; a group whose
// further elements the play layout has not created yet has fewer.
template<class T, class F>
void forLoaded(const forms::ControlArray<T> &group, int from, int to, F &&f)
{
    for (int i = from; i <= to; ++i) {
        if (T *element = group.find(i))
            f(*element);
    }
}

// Closes the speech bubbles of the four seats, found among the program's open
// windows by their tags, even while a bubble is still fading in. The windows
// go away once control is back in the event loop; their tag goes at once, so
// nothing finds them again meanwhile.
void unloadSpeakBoxes()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        const QString tag = chat::windowTag(*window);
        for (int p = 0; p <= 3; ++p) {
            if (tag != chat::SpeakBoxTag(p))
                continue;
            if (auto *fade = window->findChild<QTimer *>(QLatin1String(chat::kFadeTimerName)))
                fade->stop();
            chat::setWindowTag(*window, QString());
            window->hide();
            window->deleteLater();
            break;
        }
    }
}

} // namespace

void MainForm::ClearTable()
{
    const forms::LayoutScale s = scale();
    core::CoreState &core = state_.core;
    core::PlayState &play = state_.play;
    rules::CardRulesState &rules = state_.rules;

    unloadSpeakBoxes();

    // The two animations are emptied before they are placed: a control that
    // still shows an animation fits its size to the picture, and the table
    // wants the places below whatever played in the last hand.
    effects.bombPlayer.setAnimatedGIF(std::nullopt);
    effects.bombPlayer.Move(s.x(400), s.y(280), s.x(225), s.y(225));
    hands.imgFaPai.setVisible(false);
    effects.UcDiZhu.setAnimatedGIF(std::nullopt);
    effects.UcDiZhu.setStretch(support::StretchFit);
    effects.UcDiZhu.setWidth(s.x(70));
    effects.UcDiZhu.setHeight(s.y(90));

    for (int p = 0; p <= 3; ++p)
        messages.Speak(p).setVisible(false);
    services_.chat.HideTalk();

    // The card rows go home; the origins and the hand line are 16-bit values.
    for (int p = 0; p <= 3; ++p) {
        rules::HandRecord &hand = rules.HandRecords[static_cast<std::size_t>(p)];
        hand.rowX = roundToInt16(s.x(kRowOrigins[p].x));
        hand.rowY = roundToInt16(s.y(kRowOrigins[p].y));
    }
    state_.table.HandLine = roundToInt16(s.y(565));

    forLoaded(hands.cardImage0, 0, 32, [&](forms::Image &card) {
        card.setVisible(false);
        card.setEnabled(true);
        card.setWidth(s.x(90));
        card.setHeight(s.y(120));
    });
    for (auto *group : {&hands.cardImage1, &hands.cardImage2, &hands.cardImage3})
        forLoaded(*group, 0, 32, [](forms::Image &card) { card.setVisible(false); });

    // The fans: the left one keeps its unscaled Left.
    hands.shanImage(0).Move(21, s.y(240));
    hands.shanImage(2).Move(s.x(880), s.y(240));
    hands.shanImage(1).Move(s.x(400), s.y(95));
    for (int i = 0; i <= 2; ++i) {
        hands.shanImage(i).setStretch(false);
        hands.shanImage(i).setVisible(false);
    }

    play.BidRowPos = 0;
    forLoaded(actions.Operation, 0, 5, [](forms::Image &button) { button.setVisible(false); });
    turn.Time_Img.setVisible(false);
    turn.Number.setVisible(false);
    effects.UcDiZhu.setVisible(false);
    forLoaded(seats.first, 0, 3, [](forms::Image &mark) { mark.setVisible(false); });
    forLoaded(bid.btnJiaofen, 0, 3, [](forms::Image &button) { button.setVisible(false); });

    for (auto &row : play.TableCards)
        row.fill(0);
    for (auto &row : play.PrevTableCards)
        row.fill(0);

    core.BidClockOn = false;
    core.TickPhase = 0;
    core.LandlordPos = -1;
    play.BackCount.fill(0);
    core.BubbleSeat = 0;
    core.ReconnectTries = 0;
    core.ReconnectCountdown = 0;
    core.PlayFrameCount = 0;
    core.HandOver = false;

    for (rules::HandRecord &hand : rules.HandRecords)
        hand.cardCount = 0;
    for (auto &seat : play.BombCount) {
        for (auto &face : seat)
            face.fill(0);
    }

    forLoaded(actions.tanOperation, 0, 1, [](forms::Image &button) { button.setVisible(false); });

    // The bottom cards lie face down in a row in the middle of the table.
    const int back = s.ScaleX == 1.0f ? kCardBackPicture : kSmallCardBackPicture;
    const auto scaleX = static_cast<long double>(s.ScaleX);
    forLoaded(hands.imgDiPai, 0, 7, [&](forms::Image &card) {
        loadPicture(card, back);
        card.setTop(s.y(270));
        const long double left = 500 * scaleX - 80 * scaleX + 20 * card.Index() * scaleX;
        card.setLeft(static_cast<float>(left));
        card.setVisible(false);
    });

    if (state_.settlement.JuNum == 0)
        services_.settlement.ClearHeroTotals();

    core.BidFrameCount = 0;
    rules.PromptLeadState = false;
    state_.table.TanHover = false;
    rules.prevPlay.count = 0;
    core.PlayCounter = 0;
    state_.table.RenWuHover = false;

    // The deal piles.
    if (s.ScaleX < 1.0f)
        hands.imgFaPai.setStretch(true);
    hands.imgFaPai.Move(s.x(924.0 / 2), s.y(280), s.x(100), s.y(140));
    hands.imgFaPai.setVisible(false);
    hands.imgFaPai8.Move(s.x(944.0 / 2), s.y(270), s.x(100), s.y(140));
    hands.imgFaPai8.setVisible(false);

    forLoaded(hands.imgCardMove, 0, 10, [](forms::Image &card) { card.setVisible(false); });
    forLoaded(hands.ImgLPai, 0, 3, [](forms::Image &card) { card.setVisible(false); });

    services_.settlement.ResetScoreColours();

    play.SeatBombCount.fill(0);
    forLoaded(hands.Labrest, 1, 3, [](forms::Label &count) { count.setVisible(false); });
    for (auto &seat : state_.settlement.TaskCount)
        seat.fill(0);
    state_.settlement.TaskType = 0;

    MingXiWindow &task = frmMingXi();
    task.resizeToDesign();
    task.Labxianshi1.setCaption(QString());
    task.Labxianshi2.setCaption(QString());
    task.hide();
    services_.settlement.HideScore();
    core.MingXiDocked = true;

    // The multipliers; a room with wealth doubling keeps its wealth note.
    bid.lblDifen.setCaption(QStringLiteral("1"));
    bid.lblDifen.setVisible(false);
    forLoaded(bid.lbfont, 0, 2, [](forms::Label &note) { note.setVisible(false); });
    if (core.WealthDouble == 0) {
        bid.lbwealth.setCaption(QStringLiteral("1"));
        bid.lbwealth.setVisible(false);
        bid.Imgwealth.setVisible(false);
    }

    core.LeaveAfterSettlement = false;
    core.ResultPhase = 0;

    toolbar.Bank.setVisible(true);
    toolbar.Bank.ZOrder(0);
}

} // namespace tessaroc::table
