#include "table/MainForm.h"

#include "core/HandEvents.h"
#include "core/TableState.h"
#include "gif/GifScale.h"
#include "support/CardRow.h"
#include "table/Rounding.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

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

// The two animations are emptied before they are placed: a control that
// still shows an animation fits its size to the picture, and the table wants
// the places below whatever played in the last hand.
void clearAnimations(TableEffects &effects, forms::Image &dealPile, forms::LayoutScale s)
{
    effects.bombPlayer.setAnimatedGIF(std::nullopt);
    effects.bombPlayer.Move(s.x(400), s.y(280), s.x(225), s.y(225));
    dealPile.setVisible(false);
    effects.UcDiZhu.setAnimatedGIF(std::nullopt);
    effects.UcDiZhu.setStretch(gif::StretchFit);
    effects.UcDiZhu.setWidth(s.x(70));
    effects.UcDiZhu.setHeight(s.y(90));
}

// The state of the hand that ends: the card rows go home (the origins and the
// hand line are 16-bit values), and the trick, the counters and the hover
// flags start afresh.
void clearHandState(core::TableState &state, forms::LayoutScale s)
{
    core::CoreState &core = state.core;
    core::PlayState &play = state.play;
    rules::CardRulesState &rules = state.rules;
    for (int p = 0; p <= 3; ++p) {
        rules::HandRecord &hand = rules.HandRecords[static_cast<std::size_t>(p)];
        const support::RowHome &home = support::kRowHomes[static_cast<std::size_t>(p)];
        hand.rowX = roundToInt16(s.x(home.x));
        hand.rowY = roundToInt16(s.y(home.y));
        hand.cardCount = 0;
    }
    state.table.HandLine = roundToInt16(s.y(support::kHandLine));

    play.BidRowPos = 0;
    play.BidRowOn = false;
    play.BackFanCount.fill(0);
    core::ClearTricks(state);
    rules.PromptLeadState = false;

    core.BidClockOn = false;
    core.TickPhase = 0;
    core.LandlordPos = -1;
    core.ReconnectTries = 0;
    core.ReconnectCountdown = 0;
    core.PlayFrameCount = 0;
    core.HandOver = false;
    core.BidFrameCount = 0;
    core.PlayCounter = 0;
    state.table.TanHover = false;
    state.table.RenWuHover = false;

    for (auto &seat : state.settlement.TaskCount)
        seat.fill(0);
    state.settlement.TaskType = 0;
}

// Every card picture hidden: the own row at its size, the fans at home (the
// left one keeps its unscaled Left), the bottom cards face down in a row in
// the middle of the table, the deal piles, the flying cards, the dealt card
// and the remaining-card counts.
void clearCardRows(HandRows &hands, forms::LayoutScale s)
{
    forLoaded(hands.cardImage0, 0, 32, [&](forms::Image &card) {
        card.setVisible(false);
        card.setEnabled(true);
        card.setWidth(s.x(90));
        card.setHeight(s.y(120));
    });
    for (auto *group : {&hands.cardImage1, &hands.cardImage2, &hands.cardImage3})
        forLoaded(*group, 0, 32, [](forms::Image &card) { card.setVisible(false); });

    hands.shanImage(0).Move(21, s.y(240));
    hands.shanImage(2).Move(s.x(880), s.y(240));
    hands.shanImage(1).Move(s.x(400), s.y(95));
    for (int i = 0; i <= 2; ++i) {
        hands.shanImage(i).setStretch(false);
        hands.shanImage(i).setVisible(false);
    }

    const int back = s.ScaleX == 1.0f ? kCardBackPicture : kSmallCardBackPicture;
    const auto scaleX = static_cast<long double>(s.ScaleX);
    forLoaded(hands.imgDiPai, 0, 7, [&](forms::Image &card) {
        loadPicture(card, back);
        card.setTop(s.y(270));
        const long double left = 500 * scaleX - 80 * scaleX + 20 * card.Index() * scaleX;
        card.setLeft(static_cast<float>(left));
        card.setVisible(false);
    });

    if (s.ScaleX < 1.0f)
        hands.imgFaPai.setStretch(true);
    hands.imgFaPai.Move(s.x(924.0 / 2), s.y(280), s.x(100), s.y(140));
    hands.imgFaPai.setVisible(false);
    hands.imgFaPai8.Move(s.x(944.0 / 2), s.y(270), s.x(100), s.y(140));
    hands.imgFaPai8.setVisible(false);

    forLoaded(hands.imgCardMove, 0, 10, [](forms::Image &card) { card.setVisible(false); });
    forLoaded(hands.ImgLPai, 0, 3, [](forms::Image &card) { card.setVisible(false); });
    forLoaded(hands.Labrest, 1, 3, [](forms::Label &count) { count.setVisible(false); });
}

// The buttons, the turn clock and the marks of the turn go away.
void hideTurnControls(MainForm &form)
{
    const auto hide = [](forms::Element &element) {
        element.setVisible(false);
    };
    forLoaded(form.actions.Operation, 0, 5, hide);
    forLoaded(form.actions.tanOperation, 0, 1, hide);
    forLoaded(form.bid.btnJiaofen, 0, 3, hide);
    form.turn.Time_Img.setVisible(false);
    form.turn.Number.setVisible(false);
    form.effects.UcDiZhu.setVisible(false);
    forLoaded(form.seats.first, 0, 3, hide);
}

// The multipliers; a room with wealth doubling keeps its wealth note.
void clearStakes(BidControls &bid, bool wealthDoubling)
{
    bid.lblDifen.setCaption(QStringLiteral("1"));
    bid.lblDifen.setVisible(false);
    forLoaded(bid.lbfont, 0, 2, [](forms::Label &note) { note.setVisible(false); });
    if (!wealthDoubling) {
        bid.lbwealth.setCaption(QStringLiteral("1"));
        bid.lbwealth.setVisible(false);
        bid.Imgwealth.setVisible(false);
    }
}

} // namespace

void MainForm::ClearTable()
{
    const forms::LayoutScale s = scale();

    Q_EMIT clearingTable();
    clearAnimations(effects, hands.imgFaPai, s);
    for (int p = 0; p <= 3; ++p)
        messages.Speak(p).setVisible(false);

    clearHandState(state_, s);
    clearCardRows(hands, s);
    hideTurnControls(*this);

    Q_EMIT handCleared(state_.settlement.JuNum == 0);

    MingXiWindow &task = frmMingXi();
    task.resizeToDesign();
    task.Labxianshi1.setCaption(QString());
    task.Labxianshi2.setCaption(QString());
    task.hide();
    state_.core.MingXiDocked = true;

    clearStakes(bid, state_.core.WealthDouble != 0);
    state_.core.LeaveAfterSettlement = false;
    state_.core.ResultPhase = 0;

    toolbar.Bank.setVisible(true);
    toolbar.Bank.ZOrder(0);
}

} // namespace tessaroc::table
