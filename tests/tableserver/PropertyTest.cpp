#include "TableTestSupport.h"

#include <bitset>

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;

namespace {

// Replays a recorded hand against the rules, independently of the engine:
// the deal, whose turn each move was, that every play was in the mover's
// hand, judged to its kind and beat the play on the table, that tricks and
// the hand ended where they must, and that the settlement balances.
std::vector<std::string> auditHand(const HandHistory &hand)
{
    std::vector<std::string> faults;
    const auto fault = [&](const std::string &what) {
        faults.push_back("hand " + std::to_string(hand.number) + ": " + what);
    };

    std::bitset<kDeckSize> dealt;
    const auto deal = [&](CardCode card) {
        const int id = cardId(card);
        if (id >= kDeckSize || cardById(id) != card)
            fault("a card that is not in the deck");
        else if (dealt.test(static_cast<std::size_t>(id)))
            fault("card id " + std::to_string(id) + " dealt twice");
        else
            dealt.set(static_cast<std::size_t>(id));
    };
    std::array<std::vector<CardCode>, kSeats> hands = hand.dealt;
    for (const auto &cards : hands) {
        if (cards.size() != kHandSize)
            fault("a hand of " + std::to_string(cards.size()) + " cards");
        std::for_each(cards.begin(), cards.end(), deal);
    }
    std::for_each(hand.bottom.begin(), hand.bottom.end(), deal);
    if (!dealt.all())
        fault("not every card was dealt");
    if (hand.landlord < 0)
        return faults;
    auto &landlordHand = hands[static_cast<std::size_t>(hand.landlord)];
    landlordHand.insert(landlordHand.end(), hand.bottom.begin(), hand.bottom.end());

    int turn = hand.landlord;
    bool lead = true;
    int lastPlayer = hand.landlord;
    int passes = 0;
    Play toBeat;
    int emptied = -1;
    for (const auto &move : hand.moves) {
        if (emptied >= 0)
            fault("a move after the hand was over");
        if (move.seat != turn)
            fault("seat " + std::to_string(move.seat) + " moved out of turn");
        auto &held = hands[static_cast<std::size_t>(move.seat)];
        if (move.pass) {
            if (lead)
                fault("a pass on a lead");
            if (++passes == kSeats - 1) {
                turn = lastPlayer;
                lead = true;
                passes = 0;
            } else {
                turn = nextSeat(move.seat);
            }
            continue;
        }
        for (const CardCode card : move.cards) {
            const auto at = std::find(held.begin(), held.end(), card);
            if (at == held.end())
                fault(faceText(cardFace(card)) + " played but not held");
            else
                held.erase(at);
        }
        const Play judged = judgePlay(move.cards);
        if (judged.kind == rules::KindNone || judged.kind != move.kind)
            fault(describeCards(move.cards) + " recorded as kind " + std::to_string(move.kind));
        if (!lead && !beats(judged, toBeat))
            fault(describeCards(move.cards) + " does not beat " + describeCards(toBeat.view()));
        toBeat = judged;
        lead = false;
        passes = 0;
        lastPlayer = move.seat;
        turn = nextSeat(move.seat);
        if (held.empty())
            emptied = move.seat;
    }
    if (emptied < 0) {
        fault("no hand was emptied");
        return faults;
    }
    const bool landlordWon = emptied == hand.landlord;
    if (hand.outcome
        != (landlordWon ? HandHistory::Outcome::LandlordWon : HandHistory::Outcome::FarmersWon))
        fault("the outcome does not follow the emptied hand");
    std::uint64_t won = 0, lost = 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        const auto &result = hand.results[static_cast<std::size_t>(seat)];
        const bool winner = (seat == hand.landlord) == landlordWon;
        if ((result.sign == 1) != winner)
            fault("seat " + std::to_string(seat) + " settled on the wrong side");
        (winner ? won : lost) += result.total;
        if (result.cardsLeft != hands[static_cast<std::size_t>(seat)])
            fault("the cards left of seat " + std::to_string(seat) + " are not its hand");
    }
    if (won != lost)
        fault("winners get " + std::to_string(won) + ", losers pay " + std::to_string(lost));
    return faults;
}

} // namespace

// Many hands among four computer players, all in-process with no delays.
TEST(Property, ComputerPlayersFinishManyHandsWithinTheRules)
{
    EngineOptions options = testOptions(4);
    options.nextHandWaitMs = 0;
    options.seed = 20240611;
    GameEngine engine(options);
    int finished = 0;
    int abandoned = 0;
    std::vector<std::string> faults;
    engine.setHandListener([&](const HandHistory &hand) {
        ++finished;
        abandoned += hand.outcome == HandHistory::Outcome::Abandoned ? 1 : 0;
        const auto found = auditHand(hand);
        faults.insert(faults.end(), found.begin(), found.end());
    });

    constexpr int kHands = 400;
    std::int64_t now = 0;
    engine.open(now);
    for (int steps = 0; finished < kHands && steps < kHands * 1000; ++steps) {
        const auto next = engine.nextDeadline();
        ASSERT_TRUE(next) << "the table stopped after " << finished << " hands";
        now = std::max(now, *next);
        engine.runDue(now);
        ASSERT_TRUE(engine.takeDeliveries().empty());
    }
    EXPECT_EQ(finished, kHands);
    EXPECT_EQ(abandoned, 0);
    EXPECT_EQ(engine.ruleViolations(), 0);
    for (std::size_t i = 0; i < faults.size() && i < 20; ++i)
        ADD_FAILURE() << faults[i];
}

TEST(Property, OneSeedDealsTheSameHands)
{
    const auto firstDeals = [](std::uint64_t seed) {
        EngineOptions options = testOptions(4);
        options.seed = seed;
        options.nextHandWaitMs = 0;
        GameEngine engine(options);
        std::vector<std::array<std::vector<CardCode>, kSeats>> deals;
        engine.setHandListener([&](const HandHistory &hand) { deals.push_back(hand.dealt); });
        engine.open(0);
        while (deals.size() < 3) {
            const auto next = engine.nextDeadline();
            if (!next)
                break;
            engine.runDue(*next);
        }
        return deals;
    };
    EXPECT_EQ(firstDeals(5), firstDeals(5));
    EXPECT_NE(firstDeals(5), firstDeals(6));
}
