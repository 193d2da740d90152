// The state half of the played frame: what each announcement does to the
// trick's rows, the bombs, the cards left and the play to beat, read back
// from the state and the returned change.
#include "FrameBuilders.h"

#include "core/HandEvents.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace tessaroc::core {
namespace {

using Row = PlayState::CardPictureRow;

// Every seat dealt 25 cards, each seat's slot i shown by picture i.
TableState dealt()
{
    TableState state;
    for (rules::HandRecord &hand : state.rules.HandRecords) {
        hand.setCardCount(25);
        for (int i = 0; i < rules::kMaxHandCards; ++i)
            hand.slots[static_cast<std::size_t>(i)].picIndex = static_cast<std::int16_t>(i);
    }
    return state;
}

// A play of `faces` (suit bit 2, jokers 1, ids from 130 up); the mover is the
// caller's position, not the frame's.
// An announced play's change points into its frame's cards, so the frames
// live as long as the test program.
const wire::PlayedFrame &play(int kind, const std::vector<int> &faces, std::uint8_t trick = 0)
{
    static std::deque<wire::PlayedFrame> kept;
    return kept.emplace_back(
            frames::played(0, kind, faces, trick, {.sameSuit = 2, .firstId = 130}));
}

std::vector<int> many(int face, int n)
{
    return std::vector<int>(static_cast<std::size_t>(n), face);
}

std::vector<int> pictures(const HiddenPictures &hidden)
{
    return {hidden.pictures().begin(), hidden.pictures().end()};
}

Row row(const std::vector<int> &indexes, int count)
{
    Row r{};
    for (std::size_t j = 0; j < indexes.size(); ++j)
        r[j] = static_cast<std::int16_t>(indexes[j]);
    r[PlayState::kCountColumn] = static_cast<std::int16_t>(count);
    return r;
}

wire::DealFrame deal(std::uint8_t form, int count, int firstFace = 3)
{
    wire::DealFrame d;
    d.form = form;
    d.rowCount = 25;
    for (int i = 0; i < count; ++i)
        d.codes[static_cast<std::size_t>(i)] = rules::makeCard(firstFace + i % 13, 1, 100 + i);
    return d;
}

// A hand-start deal stores the own cards in the order dealt, each shown by
// the picture of its slot, and gives every other seat 25 backs; a frame of
// another form or with a face no deal has changes nothing.
TEST(ApplyDeal, TheOwnCardsAndTheOthersBacks)
{
    struct Case
    {
        const char *what;
        wire::DealFrame frame;
        bool dealt;
    };
    wire::DealFrame faceTwo = deal(wire::kDealHandStart, 25);
    faceTwo.codes[7] = rules::makeCard(2, 1);
    wire::DealFrame face18 = deal(wire::kDealHandStart, 25);
    face18.codes[24] = rules::makeCard(18, 1);
    wire::DealFrame wideRow = deal(wire::kDealHandStart, 25);
    wideRow.rowCount = 200;
    const std::vector<Case> cases = {{"hand start", deal(wire::kDealHandStart, 25), true},
                                     {"row of 200", wideRow, true},
                                     {"face 2", faceTwo, false},
                                     {"face 18", face18, false},
                                     {"form 40", deal(40, 25), false},
                                     {"bottom cards", deal(wire::kDealBottomCards, 8), false}};
    for (const Case &c : cases) {
        TableState state;
        state.rules.ownHand().setCardCount(3);
        state.rules.ownHand().slots[0] = {rules::makeCard(9, 1, 1), 0};
        const rules::CardRulesState before = state.rules;
        const DealtHand hand = ApplyDeal(state, c.frame);
        EXPECT_EQ(hand.dealt, c.dealt) << c.what;
        if (!c.dealt) {
            EXPECT_EQ(state.rules, before) << c.what;
            continue;
        }
        EXPECT_EQ(hand.rowCount, std::min<int>(c.frame.rowCount, 33)) << c.what;
        ASSERT_EQ(hand.cards.size(), 25u);
        const rules::HandRecord &own = state.rules.ownHand();
        EXPECT_EQ(own.cardCount, 25);
        for (int i = 0; i < 25; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            EXPECT_EQ(own.slots[slot],
                      (rules::HandSlot{c.frame.codes[slot], static_cast<std::int16_t>(i)}));
            EXPECT_EQ(hand.cards[slot], c.frame.codes[slot]);
        }
        for (int p = 1; p <= 3; ++p) {
            const rules::HandRecord &other = state.rules.HandRecords[static_cast<std::size_t>(p)];
            EXPECT_EQ(other.cardCount, 25);
            EXPECT_EQ(other.slots[24].picIndex, 24);
        }
    }
}

TEST(ApplyOwnBottomCards, TheyTakeTheSlotsAfterTheDealtOnes)
{
    TableState state;
    state.rules.ownHand().setCardCount(25);
    const wire::DealFrame bottom = deal(wire::kDealBottomCards, 8, 5);
    const auto added = ApplyOwnBottomCards(state, bottom);
    ASSERT_EQ(added.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(added[i], (rules::HandSlot{bottom.codes[i], static_cast<std::int16_t>(25 + i)}));
    EXPECT_EQ(state.rules.ownHand().cardCount, 33);
    EXPECT_EQ(state.rules.ownHand().slots[32], added[7]);
    EXPECT_TRUE(state.rules.InGame);
}

TEST(ApplyLandlord, AnotherSeatsHandGrowsByTheBottomCards)
{
    for (int pos = 0; pos <= 3; ++pos) {
        TableState state = dealt();
        state.rules.HandRecords[static_cast<std::size_t>(pos)].slots[30].picIndex = -1;
        ApplyLandlord(state, pos);
        EXPECT_EQ(state.core.LandlordPos, pos);
        const rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
        EXPECT_EQ(hand.cardCount, pos == 0 ? 25 : 33) << pos;
        EXPECT_EQ(hand.slots[30].picIndex, pos == 0 ? -1 : 30) << pos;
    }
}

TEST(TrickCodeRules, WhatEachCodeDoes)
{
    struct Case
    {
        std::uint8_t code;
        TrickCode rules;
    };
    for (const Case &c :
         {Case{0, {false, false, false, true, false}}, Case{1, {true, false, true, true, true}},
          Case{5, {false, false, false, true, false}}, Case{9, {false, false, true, true, false}},
          Case{10, {true, true, true, false, false}}, Case{11, {false, false, false, false, false}},
          Case{255, {false, false, false, false, false}}}) {
        EXPECT_EQ(TrickCodeRules(c.code), c.rules) << int{c.code};
    }
}

// The play to beat after another seat's play or the own one, and after the
// frame's trick code has had its say.
TEST(ApplyAnnouncedPlay, ThePlayToBeatByTrickCode)
{
    struct Case
    {
        int pos;
        std::uint8_t trick;
        int afterPlay;
        int afterFrame;
    };
    constexpr int kEarlier = rules::KindTriple;
    constexpr int kPair = rules::KindPair;
    for (const Case c :
         {Case{1, 0, kPair, kPair}, Case{2, 9, kPair, 0}, Case{3, 1, kPair, 0},
          Case{3, 10, kPair, 0}, Case{0, 0, kEarlier, kEarlier}, Case{0, 1, kEarlier, 0},
          Case{0, 9, kEarlier, 0}, Case{0, 10, kEarlier, 0}}) {
        TableState state = dealt();
        state.rules.prevPlay.kind = rules::toPlayKind(kEarlier);
        const AnnouncedPlay change = ApplyAnnouncedPlay(state, play(kPair, {9, 9}, c.trick), c.pos);
        EXPECT_TRUE(change.shown);
        EXPECT_EQ(state.rules.prevPlay.kind, c.afterPlay) << c.pos << "," << int{c.trick};
        EXPECT_EQ(state.play.RevealSkipPos, c.pos);
        if (c.pos != 0) {
            EXPECT_EQ(state.rules.prevPlay.count, 2);
            EXPECT_EQ(state.rules.prevPlay.cards[0], rules::makeCard(9, 2)) << "no card id";
        }
        ApplyTrickEnd(state, TrickCodeRules(c.trick));
        EXPECT_EQ(state.rules.prevPlay.kind, c.afterFrame) << c.pos << "," << int{c.trick};
    }
}

// Another seat's play arrives in group order, whatever order it came in.
TEST(ApplyAnnouncedPlay, ThePlayToBeatIsInGroupOrder)
{
    TableState state = dealt();
    ApplyAnnouncedPlay(state, play(rules::KindTripleWithPair, {4, 9, 9, 4, 9}), 1);
    std::vector<int> faces;
    for (int j = 0; j < 5; ++j)
        faces.push_back(rules::cardFace(state.rules.prevPlay.cards[static_cast<std::size_t>(j)]));
    EXPECT_EQ(faces, (std::vector<int>{9, 9, 9, 4, 4}));
}

// Bombs count per seat, face and size (an ace under 1, a two under 2); the
// four jokers are noted, not counted; bombs of four and five are not kept.
TEST(ApplyAnnouncedPlay, BombCountersForEverySeat)
{
    struct Case
    {
        int pos;
        int kind;
        std::vector<int> faces;
        int face; // BombCount face index, -1: none
        int size;
        int seatBombs;
    };
    const std::vector<Case> cases = {
            {2, rules::KindBomb6, many(14, 6), 1, 6, 1},
            {2, rules::KindBomb6, many(15, 6), 2, 6, 1},
            {2, rules::KindBomb6, many(9, 6), 9, 6, 1},
            {2, rules::KindBomb7, many(13, 7), 13, 7, 1},
            {0, rules::KindBomb8, many(3, 8), 3, 8, 1},
            {3, rules::KindBomb8, many(14, 8), 1, 8, 1},
            {1, rules::KindFourJokers, {16, 16, 17, 17}, 0, 9, 1},
            {3, rules::KindBomb4, many(7, 4), -1, 0, 0},
            {3, rules::KindBomb5, many(7, 5), -1, 0, 0},
    };
    for (const Case &c : cases) {
        TableState state = dealt();
        const AnnouncedPlay change = ApplyAnnouncedPlay(state, play(c.kind, c.faces), c.pos);
        EXPECT_EQ(change.kind, c.kind);
        const PlayState &p = state.play;
        EXPECT_EQ(p.SeatBombCount[static_cast<std::size_t>(c.pos)], c.seatBombs) << c.kind;
        int total = 0;
        for (const auto &seat : p.BombCount)
            for (const auto &face : seat)
                for (std::int16_t n : face)
                    total += n;
        EXPECT_EQ(total, c.face < 0 ? 0 : 1) << c.kind;
        if (c.face >= 0) {
            EXPECT_EQ(p.BombCount[static_cast<std::size_t>(c.pos)][static_cast<std::size_t>(c.face)]
                                 [static_cast<std::size_t>(c.size - PlayState::kSmallestBomb)],
                      1)
                    << c.kind;
        }
    }
    TableState state = dealt();
    ApplyAnnouncedPlay(state, play(rules::KindFourJokers, {16, 16, 17, 17}), 1);
    ApplyAnnouncedPlay(state, play(rules::KindFourJokers, {16, 16, 17, 17}), 1);
    EXPECT_EQ(state.play.BombCount[1][0][9 - PlayState::kSmallestBomb], 1);
    EXPECT_EQ(state.play.SeatBombCount[1], 2);
}

// A seat's plays take its pictures in slot order; each play retires the one
// before (hidden) and hides the one before that again.
TEST(ApplyAnnouncedPlay, AnotherSeatsPlaysTakeItsSlotsAndRetireItsRows)
{
    TableState state = dealt();
    const AnnouncedPlay first = ApplyAnnouncedPlay(state, play(rules::KindPair, {5, 5}), 3);
    EXPECT_TRUE(first.shown);
    EXPECT_EQ(first.count, 2);
    EXPECT_EQ(first.cards[1], rules::makeCard(5, 2, 131));
    EXPECT_EQ(first.pictures[0], 0);
    EXPECT_EQ(first.pictures[1], 1);
    EXPECT_TRUE(first.retired.pictures().empty());

    const AnnouncedPlay second = ApplyAnnouncedPlay(state, play(rules::KindTriple, {8, 8, 8}), 3);
    EXPECT_EQ(pictures(second.retired), (std::vector<int>{0, 1}));
    EXPECT_EQ(state.play.TableCards[3], row({2, 3, 4}, 3));
    EXPECT_EQ(state.play.PrevTableCards[3], row({0, 1}, 2));

    const AnnouncedPlay third = ApplyAnnouncedPlay(state, play(rules::KindSingle, {12}), 3);
    EXPECT_EQ(pictures(third.retired), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(third.pictures[0], 5);
    EXPECT_EQ(state.play.PrevTableCards[3], row({2, 3, 4}, 3));
    EXPECT_EQ(state.play.BackCount, (std::array<std::int16_t, 3>{0, 0, 6}));
    EXPECT_EQ(state.rules.HandRecords[3].cardCount, 19);
    EXPECT_FALSE(third.handEmpty);
}

// The own play was taken out of the hand and laid out when it was sent: its
// announcement leaves the rows, the hand and the play to beat as they are.
TEST(ApplyAnnouncedPlay, TheOwnPlayOnlyCountsItsBombs)
{
    TableState state = dealt();
    state.play.TableCards[0] = row({7, 8}, 2);
    state.rules.prevPlay.kind = rules::KindPair;
    const rules::CardRulesState rulesBefore = state.rules;
    const AnnouncedPlay change = ApplyAnnouncedPlay(state, play(rules::KindBomb6, many(10, 6)), 0);
    EXPECT_TRUE(change.shown);
    EXPECT_EQ(state.rules, rulesBefore);
    EXPECT_EQ(state.play.TableCards[0], row({7, 8}, 2));
    EXPECT_EQ(state.play.BackCount, (std::array<std::int16_t, 3>{}));
    EXPECT_EQ(state.play.SeatBombCount[0], 1);
    EXPECT_EQ(change.bubbleHidden, -1);
    EXPECT_FALSE(change.handEmpty);
}

// The seat that plays its last card has an empty hand; so does the own seat
// once its last cards were sent.
TEST(ApplyAnnouncedPlay, TheLastCardsEmptyTheHand)
{
    struct Case
    {
        int pos;
        int held;
        int played;
        bool empty;
    };
    for (const Case c : {Case{1, 1, 1, true}, Case{2, 3, 3, true}, Case{3, 4, 3, false},
                         Case{0, 0, 2, true}, Case{0, 1, 1, false}}) {
        TableState state = dealt();
        state.rules.HandRecords[static_cast<std::size_t>(c.pos)].setCardCount(c.held);
        const AnnouncedPlay change
                = ApplyAnnouncedPlay(state, play(rules::KindSingle, many(6, c.played)), c.pos);
        EXPECT_EQ(change.handEmpty, c.empty) << c.pos << "/" << c.held;
    }
}

// The bubble of the seat that played before goes, unless it is the same seat
// or there is none.
TEST(ApplyAnnouncedPlay, TheBubbleSeatMoves)
{
    for (const auto &[before, hidden] :
         {std::pair{0, 0}, std::pair{1, 1}, std::pair{-1, -1}, std::pair{2, -1}}) {
        TableState state = dealt();
        state.core.BubbleSeat = static_cast<std::int16_t>(before);
        const AnnouncedPlay change = ApplyAnnouncedPlay(state, play(rules::KindSingle, {6}), 2);
        EXPECT_EQ(change.bubbleHidden, hidden) << before;
        EXPECT_EQ(state.core.BubbleSeat, 2);
    }
}

// A frame no hand can bring changes nothing: a face outside 3..17, more
// cards than a hand holds, a play past the seat's 33 slots, no seat.
TEST(ApplyAnnouncedPlay, AMalformedPlayChangesNothing)
{
    struct Case
    {
        const char *fault;
        int pos;
        int backCount;
        wire::PlayedFrame frame;
    };
    wire::PlayedFrame tooMany = play(rules::KindSingle, many(6, 33));
    tooMany.cardCount = 34;
    wire::PlayedFrame none = play(rules::KindSingle, {});
    const std::vector<Case> cases = {
            {"face 2", 1, 0, play(rules::KindBomb6, {9, 9, 2, 9, 9, 9})},
            {"face 40", 1, 0, play(rules::KindBomb6, {9, 9, 9, 9, 9, 40})},
            {"34 cards", 1, 0, tooMany},
            {"no cards", 2, 0, none},
            {"past the slots", 1, 28, play(rules::KindBomb6, many(9, 6))},
            {"hostile back count", 3, -1, play(rules::KindSingle, {9})},
            {"no seat", -1, 0, play(rules::KindSingle, {9})},
            {"no seat", 4, 0, play(rules::KindSingle, {9})},
    };
    for (const Case &c : cases) {
        TableState state = dealt();
        state.play.BackCount.fill(static_cast<std::int16_t>(c.backCount));
        state.play.TableCards[1] = row({3}, 1);
        const rules::CardRulesState rulesBefore = state.rules;
        const PlayState playBefore = state.play;
        const AnnouncedPlay change = ApplyAnnouncedPlay(state, c.frame, c.pos);
        EXPECT_FALSE(change.shown) << c.fault;
        EXPECT_EQ(state.rules, rulesBefore) << c.fault;
        EXPECT_EQ(state.play.TableCards, playBefore.TableCards) << c.fault;
        EXPECT_EQ(state.play.PrevTableCards, playBefore.PrevTableCards) << c.fault;
        EXPECT_EQ(state.play.BackCount, playBefore.BackCount) << c.fault;
        EXPECT_EQ(state.play.SeatBombCount, playBefore.SeatBombCount) << c.fault;
        EXPECT_EQ(state.play.BombCount, playBefore.BombCount) << c.fault;
        EXPECT_EQ(state.play.RevealSkipPos, playBefore.RevealSkipPos) << c.fault;
        EXPECT_EQ(state.core.BubbleSeat, 0) << c.fault;
    }
}

// Rows hold indexes the server never sees, but a count or index out of range
// must name no picture that does not exist. A passing seat's last play
// leaves the table unless its row counts a whole hand.
TEST(RowPictures, OnlyTheCountedPicturesOfARow)
{
    std::vector<int> wholeRow(rules::kMaxHandCards, 0);
    wholeRow[0] = 1;
    wholeRow[1] = 2;
    struct Case
    {
        Row row;
        std::vector<int> shown;
        bool passedTakesThem;
    };
    for (const Case &c :
         {Case{row({4, 5}, 2), {4, 5}, true}, Case{row({4, 77, -3, 6}, 4), {4, 6}, true},
          Case{row({4, 5}, 1), {4}, true}, Case{row({4}, -2), {}, true},
          Case{row({1, 2}, 33), wholeRow, false}, Case{row({1, 2}, 500), wholeRow, false}}) {
        EXPECT_EQ(pictures(RowPictures(c.row)), c.shown);
        PlayState p;
        p.TableCards[2] = c.row;
        EXPECT_EQ(pictures(PassedRow(p, 2)), c.passedTakesThem ? c.shown : std::vector<int>{});
    }
    PlayState p;
    p.TableCards[0] = row({4}, 1);
    EXPECT_EQ(pictures(PassedRow(p, 0)), (std::vector<int>{4}));
    EXPECT_TRUE(PassedRow(p, -1).pictures().empty());
    EXPECT_TRUE(PassedRow(p, 4).pictures().empty());
}

TEST(ApplyOwnTurn, TheOwnRowsRetireAndTheButtonsComeUpBelowTen)
{
    struct Case
    {
        std::uint8_t trick;
        bool buttons;
        bool lead;
    };
    for (const Case c : {Case{0, true, false}, Case{1, true, true}, Case{5, true, false},
                         Case{9, true, false}, Case{10, false, false}}) {
        TableState state;
        state.play.PrevTableCards[0] = row({1, 2}, 2);
        state.play.TableCards[0] = row({7, 40, 9}, 3);
        state.rules.HintCount = 4;
        state.commands.HintIndex = 2;
        state.commands.HintReady = true;
        const OwnTurnOpened turn = ApplyOwnTurn(state, TrickCodeRules(c.trick));
        EXPECT_EQ(pictures(turn.retired), (std::vector<int>{1, 2, 7, 9})) << int{c.trick};
        EXPECT_EQ(state.play.PrevTableCards[0], row({7, 2, 9}, 3)) << "40 is no picture";
        EXPECT_EQ(turn.showButtons, c.buttons) << int{c.trick};
        EXPECT_EQ(turn.lead, c.lead) << int{c.trick};
        EXPECT_EQ(state.rules.HintCount, c.buttons ? 0 : 4);
        EXPECT_EQ(state.commands.HintIndex, c.buttons ? 0 : 2);
        EXPECT_EQ(state.commands.HintReady, !c.buttons);
    }

    // A hostile count retires nothing past the row.
    TableState state;
    state.play.TableCards[0][PlayState::kCountColumn] = -2;
    ApplyOwnTurn(state, TrickCodeRules(1));
    EXPECT_EQ(state.play.PrevTableCards[0][PlayState::kCountColumn], 0);
}

} // namespace
} // namespace tessaroc::core
