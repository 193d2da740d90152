// Seeded checks over many random hands and plays to beat. A failure prints
// the seed's hand and play, so a case can be replayed as a table entry.

#include "CardsForTest.h"

#include "rules/CardRulesState.h"
#include "rules/JudgeChuPai.h"
#include "rules/SeededRandom.h"
#include "rules/SortByGroup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <vector>

namespace tessaroc::rules {
namespace {

using test::faces;

constexpr int kRounds = 3000;

// The two packs: eight of every face 3 to 2, two of each joker, ids 0..107.
std::vector<CardCode> fullDeck()
{
    std::vector<CardCode> deck;
    int id = 0;
    for (int face = kLowestFace; face <= kFaceTwo; ++face) {
        for (int copy = 0; copy < 8; ++copy)
            deck.push_back(makeCard(face, 1 << (copy % 4), id++));
    }
    for (int face : {kFaceSmallJoker, kFaceBigJoker}) {
        for (int copy = 0; copy < 2; ++copy)
            deck.push_back(makeCard(face, 1, id++));
    }
    return deck;
}

// The play flow keeps the own hand in face order, highest first.
HandRecord randomHand(SeededRandom &rng, int size)
{
    std::vector<CardCode> deck = fullDeck();
    rng.shuffle(std::span(deck));
    deck.resize(static_cast<std::size_t>(size));
    std::stable_sort(deck.begin(), deck.end(),
                     [](CardCode a, CardCode b) { return cardFace(a) > cardFace(b); });
    return test::hand(deck);
}

int uniform(SeededRandom &rng, int lo, int hi)
{
    return static_cast<int>(rng.between(lo, hi));
}

// The face of a chain value: with a low start the ace counts 1 and the two 2.
int faceOfChainValue(int value)
{
    return value == 1 ? kFaceAce : (value == 2 ? kFaceTwo : value);
}

// `groups` chain values of a random chain: it starts at 1 (A-2-...), at 2
// (2-3-...) or at a face from 3 on; with a low start it tops at the king.
std::vector<int> chainFaces(SeededRandom &rng, int groups)
{
    const int start = uniform(rng, 1, kFaceAce - groups + 1);
    if (start <= 2 && start + groups - 1 > kFaceKing)
        return chainFaces(rng, groups);
    std::vector<int> chain;
    for (int v = start; v < start + groups; ++v)
        chain.push_back(faceOfChainValue(v));
    return chain;
}

void addCopies(std::vector<int> &out, int face, int copies)
{
    out.insert(out.end(), static_cast<std::size_t>(copies), face);
}

// The faces of a random legal play of the given kind.
std::vector<int> randomPlayFaces(SeededRandom &rng, PlayKind kind)
{
    std::vector<int> out;
    switch (kind) {
    case KindSingle:
        addCopies(out, uniform(rng, kLowestFace, kHighestFace), 1);
        break;
    case KindPair:
        addCopies(out, uniform(rng, kLowestFace, kHighestFace), 2);
        break;
    case KindTriple:
        addCopies(out, uniform(rng, kLowestFace, kFaceTwo), 3);
        break;
    case KindPairChain:
        for (int face : chainFaces(rng, uniform(rng, 3, 12)))
            addCopies(out, face, 2);
        break;
    case KindTripleChain:
        for (int face : chainFaces(rng, uniform(rng, 2, 11)))
            addCopies(out, face, 3);
        break;
    case KindTripleWithPair: {
        const int triple = uniform(rng, kLowestFace, kFaceTwo);
        int pair = triple;
        while (pair == triple)
            pair = uniform(rng, kLowestFace, kHighestFace);
        addCopies(out, triple, 3);
        addCopies(out, pair, 2);
        break;
    }
    case KindPlaneWithPairs:
    case KindPlaneWithPairsAlt: {
        const int triples = uniform(rng, 2, 6);
        const std::vector<int> chain = chainFaces(rng, triples);
        std::vector<int> others;
        for (int face = kLowestFace; face <= kHighestFace; ++face) {
            if (std::find(chain.begin(), chain.end(), face) == chain.end())
                others.push_back(face);
        }
        rng.shuffle(std::span(others));
        // One joker pair may come along; both would be the four jokers.
        if (std::find(others.begin(), others.begin() + triples, kFaceSmallJoker)
            != others.begin() + triples)
            std::erase(others, kFaceBigJoker);
        for (int face : chain)
            addCopies(out, face, 3);
        for (int k = 0; k < triples; ++k)
            addCopies(out, others[static_cast<std::size_t>(k)], 2);
        break;
    }
    case KindFourJokers:
        addCopies(out, kFaceSmallJoker, 2);
        addCopies(out, kFaceBigJoker, 2);
        break;
    default: // bombs
        addCopies(out, uniform(rng, kLowestFace, kFaceTwo), kind - 5);
        break;
    }
    return out;
}

struct Play
{
    PlayKind kind = KindNone;
    int n = 0;
    CardArray cards{};
};

// A random play to beat, stored as the table stores it: another seat's play
// in group order, or the own last play in judged order without card ids.
Play randomPlayToBeat(SeededRandom &rng)
{
    static constexpr PlayKind kinds[]
            = {KindSingle,      KindPair,           KindTriple,         KindPairChain,
               KindTripleChain, KindTripleWithPair, KindPlaneWithPairs, KindPlaneWithPairsAlt,
               KindBomb4,       KindBomb5,          KindBomb6,          KindBomb7,
               KindBomb8,       KindFourJokers};
    const PlayKind wanted = kinds[uniform(rng, 0, static_cast<int>(std::size(kinds)) - 1)];
    std::vector<int> playFaces = randomPlayFaces(rng, wanted);
    rng.shuffle(std::span(playFaces));
    Play play;
    play.n = static_cast<int>(playFaces.size());
    for (int i = 0; i < play.n; ++i)
        play.cards[i] = makeCard(playFaces[static_cast<std::size_t>(i)], 1 << (i % 4), 108 + i);
    SortByGroup(play.cards, play.n);
    CardArray judged = play.cards;
    JudgeResultTable result{};
    play.kind = JudgeKind(KindNone, play.n, judged, result);
    EXPECT_EQ(play.kind, wanted == KindPlaneWithPairsAlt ? KindPlaneWithPairs : wanted)
            << "generated " << faces(play.cards, play.n);
    if (wanted == KindPlaneWithPairsAlt)
        play.kind = KindPlaneWithPairsAlt; // another client's name for the plane
    if (uniform(rng, 0, 1) == 1) {
        for (int i = 0; i < play.n; ++i)
            play.cards[i] = faceAndSuit(judged[i]);
    }
    return play;
}

PlayKind judgeShuffled(SeededRandom &rng, const CardArray &cards, int n, CardArray &judged)
{
    judged = cards;
    rng.shuffle(std::span(judged).first(static_cast<std::size_t>(n)));
    SortByGroup(judged, n);
    JudgeResultTable result{};
    return JudgeKind(KindNone, n, judged, result);
}

bool bothJokerPairs(const HintRow &row)
{
    const auto jokers = std::count_if(row.cards.begin(), row.cards.begin() + row.count,
                                      [](CardCode c) { return cardFace(c) >= kFaceSmallJoker; });
    return jokers == 4;
}

TEST(RulesProperties, EveryHintBeatsThePlayItAnswers)
{
    SeededRandom rng(20240611);
    int rows = 0, bothJokerPlanes = 0;
    for (int round = 0; round < kRounds; ++round) {
        CardRulesState state;
        state.HandRecords[0] = randomHand(rng, uniform(rng, 1, kMaxHandCards));
        const Play prev = randomPlayToBeat(rng);
        state.HintCount = 0;
        PromptBeat(state, prev.kind, prev.n, prev.cards);
        for (int r = 1; r <= state.HintCount; ++r) {
            const HintRow &row = state.HintCandidates[r];
            CardArray judged;
            const PlayKind kind = judgeShuffled(rng, row.cards, row.count, judged);
            SCOPED_TRACE(::testing::Message()
                         << "round " << round << ", row " << r << " (" << row.kind << ": "
                         << faces(row.cards, row.count) << ") against " << prev.kind << ": "
                         << faces(prev.cards, prev.n));
            // The one exception: a plane whose free pairs are the small and
            // the big jokers holds all four jokers, and those are no plane.
            if (row.kind == KindPlaneWithPairs && bothJokerPairs(row)) {
                EXPECT_EQ(kind, KindNone);
                ++bothJokerPlanes;
                continue;
            }
            // The plane kind that only other clients name is judged as ours.
            EXPECT_EQ(kind, row.kind == KindPlaneWithPairsAlt ? KindPlaneWithPairs : row.kind);
            EXPECT_TRUE(BeatsPrevious(judged, row.count, kind, prev.cards, prev.n, prev.kind));
            EXPECT_FALSE(BeatsPrevious(prev.cards, prev.n, prev.kind, judged, row.count, kind));
            ++rows;
        }
    }
    // The search must have had something to prove.
    EXPECT_GT(rows, kRounds / 2);
    RecordProperty("hint rows checked", rows);
    RecordProperty("planes on both joker pairs", bothJokerPlanes);
}

TEST(RulesProperties, EveryLeadHintIsALegalPlay)
{
    SeededRandom rng(7);
    for (int round = 0; round < kRounds; ++round) {
        CardRulesState state;
        state.HandRecords[0] = randomHand(rng, uniform(rng, 0, kMaxHandCards));
        PromptLead(state);
        int cardsListed = 0;
        for (int r = 1; r <= state.HintCount; ++r) {
            const HintRow &row = state.HintCandidates[r];
            CardArray judged;
            EXPECT_EQ(judgeShuffled(rng, row.cards, row.count, judged), row.kind)
                    << faces(row.cards, row.count);
            if (row.kind != KindFourJokers)
                cardsListed += row.count;
        }
        // Every card of the hand is led in exactly one group (jokers again in
        // the four-jokers row).
        EXPECT_EQ(cardsListed, state.ownHand().cardCount);
    }
}

TEST(RulesProperties, KindDoesNotDependOnTheOrderCardsAreRaised)
{
    SeededRandom rng(99);
    for (int round = 0; round < kRounds; ++round) {
        // Half of the rounds take a legal play, half any handful of cards.
        Play play;
        if (uniform(rng, 0, 1) == 0) {
            play = randomPlayToBeat(rng);
        } else {
            const HandRecord hand = randomHand(rng, uniform(rng, 1, 12));
            play.n = hand.cardCount;
            for (int i = 0; i < play.n; ++i)
                play.cards[i] = hand.slots[i].code;
        }
        CardArray first, second;
        const PlayKind kind = judgeShuffled(rng, play.cards, play.n, first);
        EXPECT_EQ(judgeShuffled(rng, play.cards, play.n, second), kind)
                << faces(play.cards, play.n);
        if (kind == KindNone)
            continue;
        EXPECT_EQ(faces(second, play.n), faces(first, play.n));

        // Judging the judged play again changes nothing.
        CardArray again = first;
        SortByGroup(again, play.n);
        JudgeResultTable result{};
        EXPECT_EQ(JudgeKind(KindNone, play.n, again, result), kind);
        EXPECT_EQ(again, first) << faces(first, play.n);

        // The key reads the same in judged order and in group order.
        CardArray grouped = first;
        SortByGroup(grouped, play.n);
        EXPECT_EQ(PlayKey(first, play.n, kind), PlayKey(grouped, play.n, kind))
                << faces(first, play.n);
    }
}

TEST(RulesProperties, OwnPlayFramesCarryTheRaisedCards)
{
    SeededRandom rng(4242);
    for (int round = 0; round < kRounds; ++round) {
        CardRulesState state;
        state.HandRecords[0] = randomHand(rng, uniform(rng, 1, kMaxHandCards));
        state.HandRecords[0].seatBit = 2;
        if (uniform(rng, 0, 1) == 1) {
            const Play prev = randomPlayToBeat(rng);
            state.prevPlay.set(prev.kind, prev.n, std::span<const CardCode>(prev.cards.data(), 33));
        }
        OwnPlayInput input;
        input.maySendPlay = true;
        // Raise a hint row when there is one, else a random handful.
        if (uniform(rng, 0, 1) == 1) {
            if (state.prevPlay.kind == KindNone)
                PromptLead(state);
            else
                PromptBeat(state, state.prevPlay.kind, state.prevPlay.count, state.prevPlay.cards);
        }
        if (state.HintCount > 0) {
            const HintRow &row = state.HintCandidates[uniform(rng, 1, state.HintCount)];
            for (int j = 0; j < row.count; ++j) {
                for (int i = 0; i < state.ownHand().cardCount; ++i) {
                    if (state.ownHand().slots[i].code == row.cards[j])
                        input.raised[i] = true;
                }
            }
        } else {
            for (int i = 0; i < state.ownHand().cardCount; ++i)
                input.raised[i] = uniform(rng, 0, 3) == 0;
        }

        const OwnPlayDecision d = JudgeChuPai(state, input);
        if (d.outcome != OwnPlayOutcome::Sent)
            continue;
        EXPECT_TRUE(d.sendFrame);
        EXPECT_NE(d.kind, KindPlaneWithPairsAlt);
        EXPECT_GE(d.kind, KindSingle);
        EXPECT_LE(d.kind, KindFourJokers);
        const auto judgedIds = d.judgedIds();
        // The cards go out in judged order, each with the picture of its slot.
        CardArray judgedAgain{};
        for (int j = 0; j < d.count; ++j)
            judgedAgain[j] = d.realOrder[j].code;
        const CardArray sent = judgedAgain;
        SortByGroup(judgedAgain, d.count);
        JudgeResultTable result{};
        EXPECT_EQ(JudgeKind(KindNone, d.count, judgedAgain, result), d.kind);
        EXPECT_EQ(judgedAgain, sent) << faces(sent, d.count);
        std::vector<int> ids;
        for (int j = 0; j < d.count; ++j) {
            const HandSlot &slot = state.ownHand().slots[d.realOrder[j].slot];
            EXPECT_TRUE(input.raised[d.realOrder[j].slot]);
            EXPECT_EQ(slot.code, d.realOrder[j].code);
            EXPECT_EQ(slot.picIndex, d.realOrder[j].picIndex);
            EXPECT_EQ(judgedIds[j], cardId(d.realOrder[j].code));
            ids.push_back(cardId(d.realOrder[j].code));
        }
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
        for (int j = d.count; j < kMaxHandCards; ++j)
            EXPECT_EQ(judgedIds[j], 0) << j;

        const int before = state.ownHand().cardCount;
        bool maySendPlay = true;
        ApplyOwnPlay(state, maySendPlay, d);
        EXPECT_EQ(state.ownHand().cardCount, before - d.count);
        EXPECT_EQ(state.prevPlay.count, d.count);
        EXPECT_EQ(d.emptiesHand, state.ownHand().cardCount == 0);
    }
}

TEST(RulesProperties, HostilePlaysToBeatStayInsideTheTables)
{
    SeededRandom rng(31337);
    for (int round = 0; round < kRounds; ++round) {
        CardRulesState state;
        state.HandRecords[0] = randomHand(rng, uniform(rng, 0, kMaxHandCards));
        std::vector<CardCode> codes(40);
        for (CardCode &code : codes) {
            code = uniform(rng, 0, 3) == 0 ? static_cast<CardCode>(rng.next())
                                           : makeCard(uniform(rng, 0, 20), 1, uniform(rng, 0, 127));
        }
        state.prevPlay.set(uniform(rng, -3, 20), uniform(rng, -5, 300), codes);
        SortPrevPlayByGroup(state.prevPlay);
        state.HintCount = static_cast<std::int16_t>(uniform(rng, -2, 35));
        PromptBeat(state, state.prevPlay.kind, state.prevPlay.count, state.prevPlay.cards);
        ASSERT_GE(state.HintCount, 0);
        ASSERT_LE(state.HintCount, kMaxHintsListed);
        for (int r = 1; r <= state.HintCount; ++r)
            ASSERT_LE(state.HintCandidates[r].count, kMaxHandCards);

        OwnPlayInput input;
        input.maySendPlay = true;
        for (int i = 0; i < state.ownHand().cardCount; ++i)
            input.raised[i] = uniform(rng, 0, 1) == 1;
        const OwnPlayDecision d = JudgeChuPai(state, input);
        bool maySendPlay = true;
        ApplyOwnPlay(state, maySendPlay, d);
        EXPECT_GE(state.ownHand().cardCount, 0);
    }
}

} // namespace
} // namespace tessaroc::rules
