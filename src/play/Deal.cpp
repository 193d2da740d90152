#include "play/Deal.h"

#include "core/CoreContext.h"
#include "core/HandEvents.h"
#include "play/CardPictures.h"
#include "play/PlaySounds.h"
#include "play/Sorting.h"
#include "rules/CardCode.h"
#include "sound/SoundFiles.h"
#include "support/Waits.h"
#include "table/MainForm.h"
#include "table/OwnCardRow.h"
#include "table/TablePictures.h"

#include <algorithm>

namespace tessaroc::play {

namespace {

constexpr int kDealtCards = 25; // the own cards shown once they have flown
constexpr int kBottomCards = 8;
constexpr int kShowAtOnce = 33; // a row count that shows the own cards before the flights
constexpr int kFlyingCards = 11; // imgCardMove(0..10)
constexpr int kShownCardFlyer = 8; // the flying card that shows the shown card's face

// The fans the deal puts up, per display position 1..3: full and reduced.
struct FanPictures
{
    int full;
    int reduced;
};
constexpr FanPictures kDealtFans[] = {{936, 939}, {935, 938}, {934, 937}};

// Where a flight's card a lies from the pile, per design pixel of a.
struct FlightStep
{
    double dx;
    double dy;
};
constexpr FlightStep kFlightSteps[] = {{0, 24}, {-32, 0}, {0, -15}, {32, 0}};

// The pile of the bottom cards: per display position the steps, the growth
// of each step and the pause after it.
struct PileSlide
{
    int steps;
    double dx;
    double dy;
    std::int16_t pauseMs;
};
constexpr PileSlide kPileSlides[]
        = {{10, 0, 5, 30}, {11, -7, 0, 30}, {11, 0, -2.5, 20}, {11, 7, 0, 30}};

} // namespace

Deal::Deal(table::MainForm &form, core::CoreContext &context, CardPictures &pictures,
           HandSorting &sorting)
    : form_(form)
    , c_(context)
    , pictures_(pictures)
    , sorting_(sorting)
{ }

bool Deal::pause(std::int16_t ms, std::uint32_t generation)
{
    support::Wait(c_.clock, ms);
    return generation == generation_;
}

void Deal::FaPai(const core::DealtHand &hand)
{
    if (!hand.dealt)
        return;
    const std::uint32_t generation = ++generation_;
    core::TableState &state = c_.state;
    const forms::LayoutScale s = state.table.scale;
    playSharedEffect(c_, sound::files::kDeal);

    const int n = static_cast<int>(hand.cards.size());
    const support::CardRow row = table::ownCardRow(state);
    for (int i = 0; i < n; ++i) {
        forms::Image &card = form_.hands.cardImage0(i);
        card.setStretch(true);
        card.setLeft(row.left(i, hand.rowCount, card.Width()));
        pictures_.ShowCardPicture(0, i, CardPictureNo(hand.cards[static_cast<std::size_t>(i)]));
        card.setTop(row.restingTop());
        if (hand.rowCount == kShowAtOnce) {
            card.setVisible(true);
            card.ZOrder(0);
        }
    }

    DealAnimation(0);
    for (int pos : {3, 2, 1}) {
        if (generation != generation_)
            return;
        DealAnimation(pos);
        if (generation != generation_)
            return;
        forms::Image &fan = form_.hands.shanImage(pos - 1);
        const FanPictures &pictures = kDealtFans[pos - 1];
        table::loadPicture(fan, s.isReduced() ? pictures.reduced : pictures.full);
        fan.ZOrder(0);
        fan.setVisible(true);
        if (pos == 2)
            form_.messages.LbProp.ZOrder(0);
    }
    form_.area.imgLocation.ZOrder(0);
    form_.area.Location.ZOrder(0);
    form_.area.imgword1.ZOrder(0);
    form_.area.imgword2.ZOrder(0);
    form_.toolbar.Bank.ZOrder(0);
}

void Deal::DealAnimation(int pos)
{
    const std::uint32_t generation = generation_;
    core::TableState &state = c_.state;
    const forms::LayoutScale s = state.table.scale;
    table::HandRows &hands = form_.hands;

    forms::Image &pile = hands.imgCardMove(0);
    pile.setLeft(944.0 / 2 * static_cast<double>(s.ScaleX));
    pile.setTop(s.y(285));
    const double l0 = pile.Left();
    const double t0 = pile.Top();

    forms::Image &ownShown = hands.ImgLPai(0);
    ownShown.setTop(form_.seats.Tou(0).Top() - ownShown.Height() - s.y(15));

    forms::Image &shownFlyer = hands.imgCardMove(kShownCardFlyer);
    if (pos == state.core.LandlordPos) {
        pictures_.loadCardFace(shownFlyer, state.commands.ShownCard);
        pictures_.ShowShownCard(state.core.LandlordPos, -1);
    } else {
        shownFlyer.setPicture(pile.picture(), pile.Picture());
    }

    if (pos < 0 || pos > 3)
        return;
    if (pos == 0) {
        hands.imgFaPai.setVisible(true);
        hands.imgFaPai.ZOrder(0);
    }
    const FlightStep step = kFlightSteps[pos];
    for (int a = kFlyingCards - 1; a >= 1; --a)
        hands.imgCardMove(a).Move(l0 + s.x(step.dx * a), t0 + s.y(step.dy * a));

    // The full table pauses after every card, the reduced one only after
    // every fourth and for a millisecond.
    const auto pauseAfter = [&](int k) {
        if (!s.isReduced())
            return pause(15, generation);
        return k % 4 != 0 || pause(1, generation);
    };
    for (int k = 0; k < kFlyingCards; ++k) {
        hands.imgCardMove(k).setVisible(true);
        if (!pauseAfter(k))
            return;
    }
    for (int k = 0; k < kFlyingCards; ++k) {
        hands.imgCardMove(k).setVisible(false);
        if (!pauseAfter(k))
            return;
    }

    if (pos == 0) {
        rules::HandRecord &own = state.rules.ownHand();
        sorting_.SortHandByFace(0, own.validCount());
        for (int k = 0; k < std::min(kDealtCards, own.validCount()); ++k) {
            if (forms::Image *card
                = hands.cardImage0.find(own.slots[static_cast<std::size_t>(k)].picIndex)) {
                card->setVisible(true);
                card->ZOrder(0);
            }
        }
    } else if (pos == 1) {
        hands.imgFaPai.setVisible(false);
        for (int k = 0; k < kBottomCards; ++k) {
            hands.imgDiPai(k).setVisible(true);
            hands.imgDiPai(k).ZOrder(0);
        }
    }
}

void Deal::DiPaiAnimation(int pos)
{
    const std::uint32_t generation = generation_;
    const forms::LayoutScale s = c_.state.table.scale;
    table::HandRows &hands = form_.hands;
    playSharedEffect(c_, sound::files::kDeal);

    // Each pair closes up toward the middle; the middle pair moves least.
    for (int k = 0; k <= 3; ++k) {
        const int steps = k == 3 ? 2 : 4;
        for (int step = 1; step <= steps; ++step) {
            forms::Image &left = hands.imgDiPai(k);
            forms::Image &right = hands.imgDiPai(7 - k);
            left.setLeft(left.Left() + 5 * step * static_cast<double>(s.ScaleX));
            right.setLeft(right.Left() - 5 * step * static_cast<double>(s.ScaleX));
            if (!pause(30, generation))
                return;
        }
    }
    for (int k = 0; k < kBottomCards; ++k)
        hands.imgDiPai(k).setVisible(false);

    forms::Image &pile = hands.imgFaPai8;
    pile.Move(s.x(472), s.y(285));
    pile.setVisible(true);
    if (pos >= 0 && pos <= 3) {
        const PileSlide &slide = kPileSlides[pos];
        for (int k = 0; k < slide.steps; ++k) {
            pile.Move(pile.Left() + slide.dx * k * static_cast<double>(s.ScaleX),
                      pile.Top() + slide.dy * k * static_cast<double>(s.ScaleY));
            if (!pause(slide.pauseMs, generation))
                break;
        }
    }
    pile.setVisible(false);
}

} // namespace tessaroc::play
