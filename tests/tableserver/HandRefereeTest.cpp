#include "TableTestSupport.h"

#include "ServerFrames.h"

#include "wire/GbkText.h"

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

const MessageFrame *lastOf(const std::vector<MessageFrame> &frames, std::uint8_t cmd)
{
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if (it->cmd() == cmd)
            return &*it;
    }
    return nullptr;
}

} // namespace

TEST(Hand, OnePersonAndThreeComputerPlayersPlayAWholeHand)
{
    EngineHarness table(testOptions(3));
    std::vector<HandHistory> hands;
    table.engine.setHandListener([&](const HandHistory &h) { hands.push_back(h); });
    People people(table);
    const auto alice = people.join("alice");
    people.playOn();

    ASSERT_EQ(hands.size(), 1u);
    EXPECT_NE(hands[0].outcome, HandHistory::Outcome::Abandoned);
    const auto &received = people.received(alice);
    EXPECT_EQ(countOf(received, wire::CmdHandResult), 4);
    ASSERT_EQ(people.checker(alice).resultSets().size(), 1u);
    EXPECT_TRUE(totalsBalance(people.checker(alice).resultSets()[0]));
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    EXPECT_EQ(table.engine.ruleViolations(), 0);
    people.expectNoViolations();

    // Everyone else is ready at once; alice's ready starts the next hand.
    table.send(alice, people.model(alice).stamped(readyFrame(1)));
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::Bidding);
    EXPECT_EQ(table.engine.handsPlayed(), 2);
}

// A person who has not said ready holds up the first hand and every next
// one, however long; the last person's ready deals at once.
TEST(Hand, EveryHandWaitsForEachPersonsReady)
{
    EngineOptions options = testOptions(2);
    options.startWithoutReady = false;
    constexpr std::int64_t kLong = 10 * 60 * 1000;
    EngineHarness table(options);
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.deliver();
    const auto ready = [&](ConnectionId id) {
        table.send(id, people.model(id).stamped(readyFrame(people.model(id).seat())));
    };

    table.advance(kLong);
    EXPECT_EQ(table.engine.handsPlayed(), 0);
    ready(alice);
    table.advance(kLong);
    EXPECT_EQ(table.engine.handsPlayed(), 0) << "bob has not said ready";
    ready(bob);
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::Bidding);
    EXPECT_EQ(table.engine.handsPlayed(), 1);

    people.playOn();
    ASSERT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    ready(bob);
    table.advance(kLong);
    EXPECT_EQ(table.engine.handsPlayed(), 1) << "alice has not said ready";
    ready(alice);
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::Bidding);
    EXPECT_EQ(table.engine.handsPlayed(), 2);
    people.expectNoViolations();
}

// Computer players are always ready: a table of four deals at once and
// again after the wait that follows the results.
TEST(Hand, ATableOfComputerPlayersDealsAgainAfterTheWait)
{
    EngineOptions options = testOptions(4);
    options.startWithoutReady = false;
    options.nextHandWaitMs = 20000;
    EngineHarness table(options);
    table.engine.open(table.now);
    table.settle();
    EXPECT_EQ(table.engine.handsPlayed(), 1);
    while (table.engine.phase() != GameEngine::Phase::BetweenHands)
        table.advance(1000);
    table.advance(19000);
    EXPECT_EQ(table.engine.handsPlayed(), 1);
    table.advance(1000);
    EXPECT_EQ(table.engine.handsPlayed(), 2);
}

// The tests' switch: a hand also starts without a person's ready, 15 s
// after the fourth seat is filled and 20 s after the last hand's results.
TEST(Hand, TheTestSwitchStartsHandsWithoutAPersonsReadyAfterTheWaits)
{
    EngineOptions options = testOptions(3);
    options.firstHandWaitMs = 15000;
    options.nextHandWaitMs = 20000;
    EngineHarness table(options);
    People people(table);
    people.join("alice");
    table.advance(14999);
    EXPECT_EQ(table.engine.handsPlayed(), 0);
    table.advance(1);
    EXPECT_EQ(table.engine.handsPlayed(), 1);
    people.playOn();
    ASSERT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    table.advance(19999);
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    table.advance(1);
    EXPECT_NE(table.engine.phase(), GameEngine::Phase::BetweenHands);
    EXPECT_EQ(table.engine.handsPlayed(), 2);
}

TEST(Hand, FourPeopleWhoAllDeclineLeaveTheBottomCardsToTheFirstBidder)
{
    EngineHarness table(testOptions(0));
    People people(table);
    const auto ids = people.joinFour();
    table.settle();
    auto fresh = people.deliver();
    const MessageFrame *deal = lastOf(fresh.at(ids[0]), wire::CmdDeal);
    ASSERT_NE(deal, nullptr);
    const std::uint8_t first = deal->byteAt(wire::offset::kArg15);

    for (int i = 0; i < 4; ++i) {
        for (const auto id : ids) {
            if (auto answer = people.model(id).answerTurn(false))
                table.send(id, *answer);
        }
        people.deliver();
    }
    const auto &seen = people.received(ids[0]);
    const MessageFrame *named = lastOf(seen, wire::CmdBidTurn);
    ASSERT_NE(named, nullptr);
    EXPECT_TRUE(matches(*named,
                        "b11=1 seat=" + std::to_string(first) + " b15=" + std::to_string(first)));
    EXPECT_TRUE(matches(seen.back(),
                        "cmd=6 b15=1 b17=0 b255=20 seat=" + std::to_string(first)
                                + " b11=" + std::to_string(first)));
    EXPECT_EQ(table.engine.seat(seatIndex(first)).cardsHeld, 33);
    people.expectNoViolations();
}

TEST(Hand, FramesOutOfTurnAreDroppedWithoutAnAnswer)
{
    EngineHarness table(testOptions(0));
    People people(table);
    const auto ids = people.joinFour();
    table.settle();
    people.deliver();
    ConnectionId waiting = 0;
    for (const auto id : ids) {
        if (!people.model(id).bidTurn())
            waiting = id;
    }
    table.send(waiting,
               people.model(waiting).stamped(bidFrame(people.model(waiting).seat(), true)));
    table.send(waiting, people.model(waiting).stamped(passFrame(people.model(waiting).seat())));
    table.send(waiting, people.model(waiting).stamped(readyFrame(people.model(waiting).seat())));
    for (const auto id : ids)
        EXPECT_TRUE(table.take(id).empty());
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::Bidding);
}

// A play the rules refuse can only come from a faulty client: it is made to
// leave, and the hand is abandoned for the others.
struct BadPlay
{
    const char *name;
    // Builds the offending frame from the leader's hand.
    std::function<MessageFrame(const ClientModel &)> build;
};

void PrintTo(const BadPlay &play, std::ostream *os)
{
    *os << play.name;
}

class RefusedPlays : public ::testing::TestWithParam<BadPlay>
{
};

TEST_P(RefusedPlays, MakeThePlayerLeaveAndAbandonTheHand)
{
    EngineHarness table(testOptions(0));
    People people(table);
    people.joinFour();
    people.playUntilLeads(1);
    ASSERT_TRUE(people.model(1).playTurn());
    ASSERT_TRUE(people.model(1).mustLead());

    const auto &leader = people.model(1);
    table.send(1, leader.stamped(GetParam().build(leader)));
    const auto fresh = people.deliver();

    ASSERT_FALSE(fresh.at(1).empty());
    EXPECT_TRUE(matches(fresh.at(1)[0], "cmd=22 text@16=\"出牌数据错误，请重新进入游戏\""));
    EXPECT_EQ(fresh.at(1).size(), 1u) << commandList(fresh.at(1));
    for (const auto other : {2u, 3u, 4u}) {
        const auto &frames = fresh.at(other);
        EXPECT_EQ(commandList(frames),
                  "CmdHandResult CmdHandResult CmdHandResult CmdHandResult CmdReadyOrLeave "
                  "CmdUserLeft ");
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(matches(frames[static_cast<std::size_t>(i)], "b154=3 b177=0 le64@163=0"));
        EXPECT_TRUE(matches(frames.back(), "text@16=\"ann\""));
    }
    EXPECT_FALSE(table.engine.seat(0).occupied);
    people.expectNoViolations();
}

namespace {

std::vector<std::uint8_t> idsOf(const std::vector<CardCode> &cards)
{
    std::vector<std::uint8_t> ids;
    for (const CardCode card : cards)
        ids.push_back(static_cast<std::uint8_t>(cardId(card)));
    return ids;
}

// Three cards of three faces: never a play.
std::vector<CardCode> threeFaces(const std::vector<CardCode> &hand)
{
    std::vector<CardCode> out;
    for (const CardCode card : hand) {
        if (std::none_of(out.begin(), out.end(),
                         [card](CardCode c) { return cardFace(c) == cardFace(card); }))
            out.push_back(card);
        if (out.size() == 3)
            break;
    }
    return out;
}

std::uint8_t notHeld(const std::vector<CardCode> &hand)
{
    for (int id = 0; id < kDeckSize; ++id) {
        if (std::none_of(hand.begin(), hand.end(), [id](CardCode c) { return cardId(c) == id; }))
            return static_cast<std::uint8_t>(id);
    }
    return 0;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
        Engine, RefusedPlays,
        ::testing::Values(BadPlay{"CardNotInTheHand",
                                  [](const ClientModel &m) {
                                      const std::uint8_t id[] = {notHeld(m.hand())};
                                      return playFrame(m.seat(), id, 1);
                                  }},
                          BadPlay{"CardIdOutsideTheDeck",
                                  [](const ClientModel &m) {
                                      const std::uint8_t id[] = {200};
                                      return playFrame(m.seat(), id, 1);
                                  }},
                          BadPlay{"SameCardTwice",
                                  [](const ClientModel &m) {
                                      const auto id
                                              = static_cast<std::uint8_t>(cardId(m.hand()[0]));
                                      const std::uint8_t ids[] = {id, id};
                                      return playFrame(m.seat(), ids, 2);
                                  }},
                          BadPlay{"NoKindOfPlay",
                                  [](const ClientModel &m) {
                                      return playFrame(m.seat(), idsOf(threeFaces(m.hand())), 3);
                                  }},
                          BadPlay{"KindByteOfAnotherKind",
                                  [](const ClientModel &m) {
                                      const std::uint8_t id[]
                                              = {static_cast<std::uint8_t>(cardId(m.hand()[0]))};
                                      return playFrame(m.seat(), id, 2);
                                  }},
                          BadPlay{"NoCards",
                                  [](const ClientModel &m) {
                                      return playFrame(m.seat(), std::span<const std::uint8_t>{},
                                                       1);
                                  }},
                          BadPlay{"CountAboveThirtyThree",
                                  [](const ClientModel &m) {
                                      auto frame = playFrame(m.seat(), idsOf(m.hand()), 5);
                                      frame.setByte(wire::offset::kArg17, 34);
                                      return frame;
                                  }},
                          BadPlay{"UnknownAction",
                                  [](const ClientModel &m) {
                                      auto frame = passFrame(m.seat());
                                      frame.setByte(wire::offset::kArg15, 3);
                                      return frame;
                                  }}),
        [](const auto &p) { return std::string(p.param.name); });

TEST(Hand, APlayThatDoesNotBeatTheTableIsRefused)
{
    EngineHarness table(testOptions(0));
    People people(table);
    people.joinFour();
    people.playUntilLeads(1);
    auto lead = people.model(1).answerTurn();
    ASSERT_TRUE(lead);
    table.send(1, *lead);
    people.deliver();
    ConnectionId next = 0;
    for (const ConnectionId id : {2u, 3u, 4u}) {
        if (people.model(id).playTurn())
            next = id;
    }
    ASSERT_NE(next, 0u);
    // A play of another kind never beats (it is no bomb): a pair against a
    // single, a single against anything else.
    const ClientModel &follower = people.model(next);
    std::vector<CardCode> weak{follower.hand()[0]};
    if (follower.toBeat().kind == rules::KindSingle) {
        weak.clear();
        for (const CardCode card : follower.hand()) {
            const auto same
                    = std::count_if(follower.hand().begin(), follower.hand().end(),
                                    [card](CardCode c) { return cardFace(c) == cardFace(card); });
            if (same >= 2 && (weak.empty() || cardFace(weak[0]) == cardFace(card))
                && weak.size() < 2)
                weak.push_back(card);
        }
        ASSERT_EQ(weak.size(), 2u) << "the follower holds no pair";
    }
    const Play play = judgePlay(weak);
    ASSERT_FALSE(beats(play, follower.toBeat()));
    table.send(next,
               follower.stamped(playFrame(follower.seat(), idsOf(weak),
                                          static_cast<std::uint8_t>(play.kind))));
    const auto fresh = people.deliver();
    ASSERT_FALSE(fresh.at(next).empty());
    EXPECT_EQ(fresh.at(next)[0].cmd(), wire::CmdForcedLeave);
    EXPECT_EQ(countOf(fresh.at(1), wire::CmdHandResult), 4);
}

TEST(Hand, APassOnTheOwnLeadOpensTheLeadAgainForThatPlayerAlone)
{
    EngineHarness table(testOptions(0));
    People people(table);
    people.joinFour();
    people.playUntilLeads(1);
    ASSERT_TRUE(people.model(1).mustLead());

    table.send(1, people.model(1).stamped(passFrame(people.model(1).seat())));
    auto fresh = people.deliver();
    ASSERT_EQ(fresh[1].size(), 1u) << commandList(fresh[1]);
    // From the seat before hers in turn order, as if that seat had passed.
    const std::uint8_t own = people.model(1).seat();
    const std::uint8_t before = seatBit((seatIndex(own) + 1) % kSeats);
    EXPECT_TRUE(matches(fresh[1][0],
                        "cmd=6 b15=1 b17=0 seat=" + std::to_string(before)
                                + " b11=" + std::to_string(own)));
    for (const ConnectionId other : {2u, 3u, 4u})
        EXPECT_TRUE(fresh[other].empty());
    EXPECT_TRUE(people.model(1).playTurn() && people.model(1).mustLead());
    people.expectNoViolations();
}

TEST(Hand, APlayerWhoStopsAnsweringIsPassedForAndHasItsLeadsPlayed)
{
    // A deal where no computer player calls before she does: she calls when
    // her bid turn comes, and answers nothing after that.
    std::unique_ptr<EngineHarness> dealt;
    std::unique_ptr<People> seated;
    for (std::uint64_t seed = 1; seed < 100; ++seed) {
        EngineOptions options = testOptions(3);
        options.playSeconds = 3;
        options.seed = seed;
        seated.reset();
        dealt = std::make_unique<EngineHarness>(options);
        seated = std::make_unique<People>(*dealt);
        const auto id = seated->join("alice");
        seated->playOn([](ConnectionId) { return true; },
                       [&] { return seated->model(id).landlord() >= 0; });
        if (seated->model(id).landlord() == 0)
            break;
    }
    EngineHarness &table = *dealt;
    People &people = *seated;
    const ConnectionId alice = 1;
    ASSERT_EQ(people.model(alice).landlord(), 0);
    // A lead that does not come within 3 + 10 s is played for her, and a
    // follow is passed; the hand is played out, never abandoned.
    table.advance(12999);
    EXPECT_EQ(table.engine.seat(0).cardsHeld, 33);
    for (int guard = 0; table.engine.phase() != GameEngine::Phase::BetweenHands && guard < 500;
         ++guard) {
        table.advance(13000);
        people.deliver();
    }
    ASSERT_EQ(table.engine.handsPlayed(), 1);
    const auto &results = people.checker(alice).resultSets();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NE(results[0][0].byteAt(154), 3);
    EXPECT_TRUE(std::any_of(table.log.begin(), table.log.end(), [](const std::string &l) {
        return l.find("alice (seat 1) did not lead in time") != std::string::npos;
    }));
    EXPECT_EQ(table.engine.ruleViolations(), 0);
    people.expectNoViolations();
}
