#include "core/HandEvents.h"

#include "rules/SortByGroup.h"

#include <algorithm>
#include <limits>

namespace tessaroc::core {

namespace {

constexpr int kCount = PlayState::kCountColumn;
constexpr int kDealtCards = 25;
constexpr int kBottomCards = 8;

void countUp(std::int16_t &counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max())
        ++counter;
}

bool allFacesValid(std::span<const rules::CardCode> cards)
{
    return std::all_of(cards.begin(), cards.end(), [](rules::CardCode code) {
        return rules::isValidFace(rules::cardFace(code));
    });
}

bool handCanBringIt(const wire::PlayedFrame &played)
{
    const int n = played.cardCount;
    const auto cards = played.cards();
    if (n < 1 || n > rules::kMaxHandCards || static_cast<int>(cards.size()) != n)
        return false;
    return allFacesValid(cards);
}

// Bombs of six to eight count by face and size, an ace under 1 and a two
// under 2; the four jokers are noted once, under 0.
void countBombs(PlayState &play, int pos, int kind, rules::CardCode first)
{
    if (kind >= rules::KindBomb6 && kind <= rules::KindFourJokers)
        countUp(play.SeatBombCount[static_cast<std::size_t>(pos)]);
    PlayState::BombsByFace &bombs = play.BombCount[static_cast<std::size_t>(pos)];
    if (kind >= rules::KindBomb6 && kind <= rules::KindBomb8) {
        const int face = rules::cardFace(first);
        const int index = face == rules::kFaceAce ? 1 : face == rules::kFaceTwo ? 2 : face;
        const int size = kind - rules::KindBomb6 + 6;
        if (index >= 0 && index < static_cast<int>(bombs.size()))
            countUp(bombs[static_cast<std::size_t>(index)]
                         [static_cast<std::size_t>(size - PlayState::kSmallestBomb)]);
    } else if (kind == rules::KindFourJokers) {
        bombs[0][static_cast<std::size_t>(9 - PlayState::kSmallestBomb)] = 1;
    }
}

// An open hand gives up a played card: the first of its counted slots that
// holds the card's whole code, the codes after it moving down by one. The
// count itself drops with the whole play.
void takeOutOfHand(rules::HandRecord &hand, rules::CardCode card)
{
    const auto counted = std::span(hand.slots).first(static_cast<std::size_t>(hand.validCount()));
    const auto found
            = std::find_if(counted.begin(), counted.end(),
                           [card](const rules::HandSlot &slot) { return slot.code == card; });
    if (found == counted.end())
        return;
    for (auto slot = found; slot + 1 != counted.end(); ++slot)
        slot->code = (slot + 1)->code;
}

// Fills `hidden` in place: a played frame returns it inside its change.
void retireRow(HiddenPictures &hidden, PlayState &play, int pos)
{
    if (pos < 0 || pos > 3)
        return;
    PlayState::CardPictureRow &current = play.TableCards[static_cast<std::size_t>(pos)];
    PlayState::CardPictureRow &previous = play.PrevTableCards[static_cast<std::size_t>(pos)];
    hidden.addRow(previous);
    const int count = std::clamp<int>(current[kCount], 0, kCount);
    previous[kCount] = static_cast<std::int16_t>(count);
    for (int j = 0; j < count; ++j) {
        const std::int16_t k = current[static_cast<std::size_t>(j)];
        if (isCardPicture(k)) {
            hidden.add(k);
            previous[static_cast<std::size_t>(j)] = k;
        }
    }
}

} // namespace

DealtHand ApplyDeal(TableState &state, const wire::DealFrame &deal)
{
    DealtHand hand;
    const auto cards = deal.cards();
    if (deal.form != wire::kDealHandStart || !allFacesValid(cards))
        return hand;
    hand.dealt = true;
    hand.rowCount = std::min<int>(deal.rowCount, rules::kMaxHandCards);
    hand.cards = cards;

    rules::HandRecord &own = state.rules.ownHand();
    const int n = static_cast<int>(cards.size());
    for (int i = 0; i < n; ++i)
        own.slots[static_cast<std::size_t>(i)]
                = {cards[static_cast<std::size_t>(i)], static_cast<std::int16_t>(i)};
    own.setCardCount(n);
    for (int p = 1; p <= 3; ++p) {
        rules::HandRecord &other = state.rules.HandRecords[static_cast<std::size_t>(p)];
        other.setCardCount(kDealtCards);
        for (int i = 0; i < n; ++i)
            other.slots[static_cast<std::size_t>(i)].picIndex = static_cast<std::int16_t>(i);
    }
    return hand;
}

std::span<const rules::HandSlot> ApplyOwnBottomCards(TableState &state, const wire::DealFrame &deal)
{
    rules::HandRecord &own = state.rules.ownHand();
    own.setCardCount(rules::kMaxHandCards);
    const auto cards = deal.cards();
    const std::size_t n = std::min<std::size_t>(cards.size(), kBottomCards);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t slot = kDealtCards + i;
        own.slots[slot] = {cards[i], static_cast<std::int16_t>(slot)};
    }
    state.rules.InGame = true;
    return std::span(own.slots).subspan(kDealtCards, n);
}

void ApplyLandlord(TableState &state, int pos)
{
    state.core.LandlordPos = static_cast<std::int16_t>(pos);
    if (pos <= 0 || pos > 3)
        return;
    rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    hand.setCardCount(hand.validCount() + kBottomCards);
    for (int k = rules::kMaxHandCards - kBottomCards; k < rules::kMaxHandCards; ++k)
        hand.slots[static_cast<std::size_t>(k)].picIndex = static_cast<std::int16_t>(k);
}

HiddenPictures RetireRow(PlayState &play, int pos)
{
    HiddenPictures hidden;
    retireRow(hidden, play, pos);
    return hidden;
}

AnnouncedPlay ApplyAnnouncedPlay(TableState &state, const wire::PlayedFrame &played, int pos)
{
    AnnouncedPlay change;
    change.pos = pos;
    if (pos < 0 || pos > 3 || !handCanBringIt(played))
        return change;
    PlayState &play = state.play;
    const int n = played.cardCount;
    const int first = pos == 0 ? 0 : play.BackCount[static_cast<std::size_t>(pos - 1)];
    if (pos != 0 && (first < 0 || first + n > rules::kMaxHandCards))
        return change;

    change.shown = true;
    change.kind = played.kind;
    change.count = n;
    const auto cards = played.cards();
    change.cards = cards;

    play.RevealSkipPos = static_cast<std::int16_t>(pos);
    countBombs(play, pos, played.kind, cards[0]);

    rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    if (pos != 0) {
        retireRow(change.retired, play, pos);

        rules::PrevPlay &prev = state.rules.prevPlay;
        prev.kind = rules::toPlayKind(played.kind);
        prev.count = static_cast<std::int16_t>(n);
        PlayState::CardPictureRow &current = play.TableCards[static_cast<std::size_t>(pos)];
        change.openHand = play.BidRowOn;
        const int fanCount = play.BackFanCount[static_cast<std::size_t>(pos - 1)];
        for (int j = 0; j < n; ++j) {
            const rules::CardCode card = cards[static_cast<std::size_t>(j)];
            prev.cards[static_cast<std::size_t>(j)] = rules::faceAndSuit(card);
            const int w = first + j;
            const std::int16_t e = change.openHand
                    ? static_cast<std::int16_t>(fanCount - w)
                    : hand.slots[static_cast<std::size_t>(w)].picIndex;
            change.pictures[static_cast<std::size_t>(j)] = e;
            current[static_cast<std::size_t>(j)] = e;
            if (change.openHand)
                takeOutOfHand(hand, card);
        }
        current[kCount] = static_cast<std::int16_t>(n);
        rules::SortPrevPlayByGroup(prev);

        std::int16_t &bubbleSeat = state.core.BubbleSeat;
        if (bubbleSeat >= 0 && bubbleSeat != pos)
            change.bubbleHidden = bubbleSeat;
        bubbleSeat = static_cast<std::int16_t>(pos);

        hand.setCardCount(hand.validCount() - n);
        std::int16_t &backCount = play.BackCount[static_cast<std::size_t>(pos - 1)];
        backCount = static_cast<std::int16_t>(backCount + n);
    }
    change.handEmpty = hand.validCount() == 0;
    return change;
}

OwnTurnOpened ApplyOwnTurn(TableState &state, const TrickCode &trick)
{
    OwnTurnOpened turn;
    retireRow(turn.retired, state.play, 0);
    if (trick.opensOwnButtons) {
        turn.showButtons = true;
        turn.lead = trick.ownLeads;
        state.rules.HintCount = 0;
        state.commands.HintIndex = 0;
        state.commands.HintReady = false;
    }
    return turn;
}

void ApplyOwnPlayRow(TableState &state, const rules::OwnPlayDecision &decision)
{
    PlayState::CardPictureRow &row = state.play.TableCards[0];
    const int n = rules::clampCardCount(decision.count);
    for (int i = 0; i < n; ++i)
        row[static_cast<std::size_t>(i)] = decision.realOrder[static_cast<std::size_t>(i)].picIndex;
    row[kCount] = static_cast<std::int16_t>(n);
}

void ClearTricks(TableState &state)
{
    PlayState &play = state.play;
    for (auto &row : play.TableCards)
        row.fill(0);
    for (auto &row : play.PrevTableCards)
        row.fill(0);
    play.BackCount.fill(0);
    for (auto &seat : play.BombCount) {
        for (auto &face : seat)
            face.fill(0);
    }
    play.SeatBombCount.fill(0);
    state.rules.prevPlay.count = 0;
    state.core.BubbleSeat = 0;
}

} // namespace tessaroc::core
