#include "TableTestSupport.h"

#include "ServerFrames.h"

#include "wire/GbkText.h"

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

std::vector<int> echoNumbers(const std::vector<MessageFrame> &frames)
{
    std::vector<int> out;
    for (const auto &frame : frames)
        out.push_back(frame.u16le(wire::offset::kEcho));
    return out;
}

const MessageFrame *lastOf(const std::vector<MessageFrame> &frames, std::uint8_t cmd)
{
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if (it->cmd() == cmd)
            return &*it;
    }
    return nullptr;
}

} // namespace

TEST(Seating, ALoginIsAnsweredWithTheTableAndTheReadyComputerPlayers)
{
    EngineHarness table(testOptions(3));
    People people(table);
    const auto alice = people.join("alice");
    const auto frames = people.deliver()[alice];

    ASSERT_EQ(commandList(frames),
              "CmdLogin CmdUserInfo CmdUserInfo CmdUserInfo CmdUserInfo CmdReady CmdReady "
              "CmdReady ");
    EXPECT_TRUE(matches(frames[0], "b11=15 b15=1 b16=0"));
    // Byte 6 is always the recipient's seat; 226 the seat described, own first.
    const std::uint8_t described[] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[1 + i].seatBit(), 1);
        EXPECT_EQ(frames[1 + i].byteAt(226), described[i]);
    }
    EXPECT_EQ(frames::readAscii(frames[1], 168, 16), "alice");
    EXPECT_EQ(wire::readFieldText(frames[2], 16, 47, wire::FieldText::MixedInField), "电脑二号");
    EXPECT_EQ(frames[2].byteAt(208), 1); // computer players are ready
    EXPECT_EQ(frames[1].byteAt(208), 0);
    EXPECT_EQ(echoNumbers(frames), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    people.expectNoViolations();
}

struct RefusedLogin
{
    const char *name;
    std::string account;
    std::string password;
    std::uint8_t answer;
};

class RefusedLogins : public ::testing::TestWithParam<RefusedLogin>
{
};

TEST_P(RefusedLogins, AreAnsweredOnceAndClosed)
{
    EngineOptions options = testOptions(2);
    options.password = "open";
    EngineHarness table(options);
    table.connect(1);
    table.send(1, loginFrame("bob", "open"));
    table.connect(2);
    table.send(2, loginFrame("carol", "open"));
    table.take(1);
    table.take(2);

    table.connect(3);
    // The name's bytes go in as they are, code-page bytes included.
    MessageFrame login = loginFrame("x", GetParam().password);
    for (std::size_t i = 16; i < 32; ++i)
        login.setByte(i, 0);
    frames::writeText(login, 16, 16, GetParam().account);
    table.send(3, login);
    const auto frames = table.take(3);
    ASSERT_EQ(frames.size(), 1u) << commandList(frames);
    EXPECT_TRUE(matches(frames[0], "cmd=18 b15=" + std::to_string(GetParam().answer)));
    EXPECT_TRUE(table.closed.contains(3));
    EXPECT_TRUE(table.take(1).empty());
}

INSTANTIATE_TEST_SUITE_P(Engine, RefusedLogins,
                         ::testing::Values(RefusedLogin{"EmptyName", "", "open", 0},
                                           RefusedLogin{"NameWithBlank", "a b", "open", 0},
                                           RefusedLogin{"NameNotAscii", "\xb0\xa1", "open", 0},
                                           RefusedLogin{"WrongPassword", "dave", "shut", 0},
                                           RefusedLogin{"ComputerPlayersName", "bot4", "open", 0},
                                           RefusedLogin{"SameNameOtherPassword", "bob", "open2", 0},
                                           RefusedLogin{"TableFull", "dave", "open", 2}),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(Seating, AConnectionThatDoesNotLogInFirstIsClosed)
{
    EngineHarness table(testOptions(3));
    table.connect(1);
    table.send(1, readyFrame(1));
    EXPECT_TRUE(table.take(1).empty());
    EXPECT_TRUE(table.closed.contains(1));
    EXPECT_FALSE(table.engine.seat(0).occupied);
}

TEST(Seating, AConnectionThatNeverLogsInIsClosedAfterHalfAMinute)
{
    EngineHarness table(testOptions(3));
    table.connect(1);
    table.advance(29999);
    EXPECT_FALSE(table.closed.contains(1));
    table.advance(1);
    EXPECT_TRUE(table.closed.contains(1));
}

TEST(Seating, NewcomersAreDescribedToThoseAlreadySeated)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    people.deliver();
    const auto bob = people.join("bob");
    const auto fresh = people.deliver();

    // Alice learns of bob alone; bob gets the whole table, himself first.
    ASSERT_EQ(commandList(fresh.at(alice)), "CmdUserInfo ");
    EXPECT_TRUE(matches(fresh.at(alice)[0], "seat=1 b226=2"));
    EXPECT_EQ(countOf(fresh.at(bob), wire::CmdUserInfo), 4);
    EXPECT_TRUE(matches(fresh.at(bob)[1], "seat=2 b226=2"));
    people.expectNoViolations();
}

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

TEST(Hand, TheHandStartsWithoutAPlayersReadyAfterTheWait)
{
    EngineOptions options = testOptions(3);
    options.nextHandWaitMs = 20000;
    EngineHarness table(options);
    People people(table);
    people.join("alice");
    people.playOn();
    ASSERT_EQ(table.engine.handsPlayed(), 1);
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

TEST(Hand, APlayerWhoStopsAnsweringIsPassedForOrTheHandAbandoned)
{
    EngineOptions options = testOptions(3);
    options.playSeconds = 3;
    EngineHarness table(options);
    People people(table);
    const auto alice = people.join("alice");
    table.settle();
    people.deliver();
    if (people.model(alice).bidTurn()) {
        // No bid within 25 s counts as no call.
        table.advance(24999);
        EXPECT_TRUE(people.deliver()[alice].empty());
        table.advance(1);
        people.deliver();
        EXPECT_NE(
                std::find(table.log.begin(), table.log.end(), "alice (seat 1) did not bid in time"),
                table.log.end());
    }
    // Every later turn of alice goes unanswered: 3 + 10 s each.
    for (int guard = 0; table.engine.phase() != GameEngine::Phase::BetweenHands && guard < 200;
         ++guard) {
        table.advance(13000);
        people.deliver();
    }
    ASSERT_EQ(table.engine.handsPlayed(), 1);
    const auto &results = people.checker(alice).resultSets();
    ASSERT_EQ(results.size(), 1u);
    // A follower who never answers is passed for and the hand is played out;
    // a lead that does not come ends the hand.
    const bool abandoned = results[0][0].byteAt(154) == 3;
    const bool missedALead
            = std::any_of(table.log.begin(), table.log.end(), [](const std::string &l) {
                  return l.find("did not lead in time") != std::string::npos;
              });
    EXPECT_EQ(abandoned, missedALead);
    people.expectNoViolations();
}

TEST(Reconnection, ADroppedPlayerGetsTheFramesItMissedAndTheHandGoesOn)
{
    EngineHarness table(testOptions(3));
    std::vector<HandHistory> hands;
    table.engine.setHandListener([&](const HandHistory &h) { hands.push_back(h); });
    People people(table);
    const auto alice = people.join("alice");
    table.settle();
    people.deliver();
    ClientModel &model = people.model(alice);
    const std::uint16_t echo = model.echo();
    ASSERT_GT(echo, 0);

    // Gone before her first move: the computer players go on up to her turn.
    table.drop(alice);
    table.advance(60000);
    EXPECT_NE(table.engine.phase(), GameEngine::Phase::BetweenHands);
    EXPECT_TRUE(hands.empty());

    const ConnectionId again = 9;
    table.connect(again);
    table.send(again, reconnectFrame("alice", "secret", echo, model.resumeValue()));
    const auto frames = table.take(again);
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(matches(frames[0], "cmd=29 b15=1 [260]=00,00"));
    // The frames that follow carry the numbers after the echoed one.
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].u16le(wire::offset::kEcho), echo + i);
    PeerChecker checker;
    for (const auto &frame : people.received(alice))
        checker.check(frame);
    ClientModel back = model;
    for (const auto &frame : frames) {
        back.receive(frame);
        checker.check(frame);
    }
    EXPECT_TRUE(back.bidTurn() || back.playTurn());

    // She plays the hand out on the new connection.
    for (int i = 0; i < 500 && hands.empty(); ++i) {
        if (auto answer = back.answerTurn())
            table.send(again, *answer);
        table.settle();
        for (const auto &frame : table.take(again)) {
            back.receive(frame);
            checker.check(frame);
        }
    }
    ASSERT_EQ(hands.size(), 1u);
    EXPECT_NE(hands[0].outcome, HandHistory::Outcome::Abandoned);
    for (const auto &violation : checker.violations())
        ADD_FAILURE() << violation;
}

TEST(Reconnection, AnUnknownEchoSendsTheWholeHandAgain)
{
    EngineHarness table(testOptions(3));
    People people(table);
    const auto alice = people.join("alice");
    table.settle();
    const auto sent = table.take(alice);
    const auto dealAt = std::find_if(sent.begin(), sent.end(), [](const MessageFrame &f) {
        return f.cmd() == wire::CmdDeal;
    });
    ASSERT_NE(dealAt, sent.end());
    table.drop(alice);

    table.connect(5);
    table.send(5, reconnectFrame("alice", "secret", 0, table.engine.handsPlayed() + 65536));
    // The frames go out paced; a few seconds take them all.
    table.advance(5000);
    const auto frames = table.take(5);
    ASSERT_EQ(frames.size(), 1 + static_cast<std::size_t>(sent.end() - dealAt));
    EXPECT_EQ(frames[1], *dealAt);
}

TEST(Reconnection, FramesSentAgainComeInSmallBurstsWithPausesAndLiveFramesQueueBehind)
{
    EngineOptions options = testOptions(0);
    options.replay = {3, 400};
    EngineHarness table(options);
    People people(table);
    const auto ids = people.joinFour();
    // Ann has read nothing of the hand when her connection drops at ben's
    // first lead.
    people.deliver();
    const std::uint16_t echo = people.model(ids[0]).echo();
    people.playUntilLeads(ids[1]);
    people.drop(ids[0]);

    const ConnectionId again = 9;
    table.connect(again);
    table.send(again, reconnectFrame("ann", "secret", echo, people.model(ids[0]).resumeValue()));
    // A chat line sent while the frames are still going out comes after them.
    table.send(again, chatFrame(people.model(ids[0]).seat(), "ann说道： hi"));
    table.advance(20000);

    const auto frames = table.take(again);
    const auto &bursts = table.bursts[again];
    ASSERT_GE(bursts.size(), 3u);
    // The answer and the first burst in one write, then bursts of three at
    // least 400 ms apart.
    EXPECT_EQ(bursts[0].frames, 4u);
    for (std::size_t i = 1; i < bursts.size(); ++i) {
        EXPECT_LE(bursts[i].frames, 3u) << "burst " << i;
        EXPECT_GE(bursts[i].at - bursts[i - 1].at, 400) << "burst " << i;
    }
    ASSERT_GE(frames.size(), 8u);
    EXPECT_EQ(frames[0].cmd(), wire::CmdReconnectAnswer);
    // Every frame after the echoed one, in order, then the chat line.
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].u16le(wire::offset::kEcho), echo + i) << "frame " << i;
    EXPECT_EQ(frames.back().cmd(), wire::CmdChat);
    EXPECT_EQ(countOf(frames, wire::CmdChat), 1);
}

TEST(Reconnection, TheDropSwitchClosesThePersonAfterTheNthPlayOfTheFirstHandOnly)
{
    EngineOptions options = testOptions(3);
    options.dropSeatAfterPlays = 3;
    EngineHarness table(options);
    std::vector<HandHistory> hands;
    table.engine.setHandListener([&](const HandHistory &h) { hands.push_back(h); });
    People people(table);
    const auto alice = people.join("alice");
    people.playOn({}, [&] { return table.closed.contains(alice); });
    ASSERT_TRUE(table.closed.contains(alice));
    EXPECT_TRUE(hands.empty());
    // The last frame she was sent announces the third play.
    people.deliver();
    const auto &got = people.received(alice);
    int plays = 0;
    for (const auto &frame : got) {
        if (frame.cmd() == wire::CmdPlayed && frame.byteAt(wire::offset::kArg17) > 0)
            ++plays;
    }
    EXPECT_EQ(plays, 3);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().cmd(), wire::CmdPlayed);
    EXPECT_GT(got.back().byteAt(wire::offset::kArg17), 0);

    // She comes back, and neither this hand nor the next closes her again.
    ClientModel &model = people.model(alice);
    table.connect(20);
    table.send(20, model.reconnect());
    table.advance(10000);
    ClientModel back = model;
    for (int i = 0; i < 2000 && hands.size() < 2; ++i) {
        for (const auto &frame : table.take(20))
            back.receive(frame);
        if (auto answer = back.answerTurn())
            table.send(20, *answer);
        else if (table.engine.phase() == GameEngine::Phase::BetweenHands)
            table.send(20, back.stamped(readyFrame(back.seat())));
        table.advance(100);
    }
    EXPECT_EQ(hands.size(), 2u);
    EXPECT_FALSE(table.closed.contains(20));
    for (const auto &hand : hands)
        EXPECT_NE(hand.outcome, HandHistory::Outcome::Abandoned);
}

TEST(Reconnection, APlayerWhoDoesNotComeBackEndsTheHandForTheOthers)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.playOn({}, [&] { return true; });
    people.drop(alice);
    // Bob plays on; the hand waits at alice's turn.
    for (int second = 0; second < 89; ++second) {
        table.advance(1000);
        people.playOn();
    }
    ASSERT_NE(table.engine.phase(), GameEngine::Phase::BetweenHands);
    table.advance(1000);
    const auto fresh = people.deliver();
    ASSERT_FALSE(fresh.at(bob).empty());
    const auto &frames = fresh.at(bob);
    EXPECT_EQ(countOf(frames, wire::CmdHandResult), 4);
    EXPECT_TRUE(matches(frames[0], "b154=3"));
    EXPECT_TRUE(matches(frames.back(), "cmd=21 text@16=\"alice\""));
    EXPECT_FALSE(table.engine.seat(0).occupied);
    people.expectNoViolations();
}

TEST(Reconnection, ASeatDroppedBetweenHandsIsFreedAfterTenSeconds)
{
    EngineOptions options = testOptions(2);
    options.firstHandWaitMs = 15000;
    EngineHarness table(options);
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.deliver();
    table.drop(alice);
    table.advance(9999);
    EXPECT_TRUE(table.engine.seat(0).occupied);
    table.advance(1);
    EXPECT_FALSE(table.engine.seat(0).occupied);
    const auto fresh = people.deliver();
    ASSERT_EQ(commandList(fresh.at(bob)), "CmdUserLeft ");
    EXPECT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
}

TEST(Reconnection, ARequestForAHandThatIsOverStartsOverWithALoginAnswer)
{
    EngineHarness table(testOptions(3));
    People people(table);
    const auto alice = people.join("alice");
    people.playOn();
    ASSERT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    const ClientModel model = people.model(alice);
    table.drop(alice);

    table.connect(7);
    table.send(7, reconnectFrame("alice", "secret", model.echo(), model.resumeValue()));
    const auto frames = table.take(7);
    ASSERT_GE(frames.size(), 5u);
    EXPECT_TRUE(matches(frames[0], "cmd=18 b15=1"));
    EXPECT_EQ(countOf(frames, wire::CmdUserInfo), 4);
    EXPECT_EQ(countOf(frames, wire::CmdReconnectAnswer), 0);
    EXPECT_EQ(table.engine.seatOf(7), 0);
}

TEST(Reconnection, AFreshLoginOfASeatedAccountEndsTheOlderClient)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    table.settle();
    people.deliver();
    ASSERT_NE(table.engine.phase(), GameEngine::Phase::BetweenHands);

    table.connect(8);
    table.send(8, loginFrame("alice", "secret"));
    const auto fresh = people.deliver();
    // The old connection hears its own name leave, and closes.
    ASSERT_FALSE(fresh.at(alice).empty());
    EXPECT_TRUE(matches(fresh.at(alice).front(), "cmd=21 text@16=\"alice\""));
    EXPECT_TRUE(table.closed.contains(alice));
    // The hand cannot be resumed by a login: abandoned for the others.
    EXPECT_EQ(countOf(fresh.at(bob), wire::CmdHandResult), 4);
    EXPECT_EQ(countOf(fresh.at(bob), wire::CmdUserLeft), 0);
    const auto frames = table.take(8);
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(matches(frames[0], "cmd=18 b15=1"));
    EXPECT_EQ(table.engine.seatOf(8), 0);
}

TEST(Leaving, ALeaveFrameDuringAHandAbandonsItAndFreesTheSeat)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    table.settle();
    people.deliver();
    table.send(alice, leaveFrame(1));
    auto fresh = people.deliver();
    EXPECT_TRUE(fresh[alice].empty());
    EXPECT_EQ(commandList(fresh.at(bob)),
              "CmdHandResult CmdHandResult CmdHandResult CmdHandResult CmdReadyOrLeave CmdReady "
              "CmdReady CmdUserLeft ");
    EXPECT_FALSE(table.engine.seat(0).occupied);
    // The seat is free for the next person.
    people.join("carol");
    EXPECT_EQ(table.engine.seat(0).account, "carol");
    people.expectNoViolations();
}

TEST(Leaving, APlayerShortOfCoinsIsToldAndLeaves)
{
    EngineOptions options = testOptions(2);
    options.playerCoins = 0; // short after any hand but a won one as landlord
    EngineHarness table(options);
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.playOn();
    ASSERT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
    const auto &seen = people.received(bob);
    const MessageFrame *shortFrame = nullptr;
    for (const auto &frame : seen) {
        if (frame.cmd() == wire::CmdReadyOrLeave && frame.byteAt(15) == 3)
            shortFrame = &frame;
    }
    ASSERT_NE(shortFrame, nullptr);
    const std::uint8_t shortSeats = shortFrame->seatBit();
    EXPECT_NE(shortSeats, 0);
    EXPECT_EQ(shortFrame->byteAt(11), 0);
    for (const auto id : {alice, bob}) {
        const bool isShort = (shortSeats & people.model(id).seat()) != 0;
        EXPECT_EQ(table.engine.seat(seatIndex(people.model(id).seat())).occupied, !isShort);
    }
    people.expectNoViolations();
}

TEST(Chat, PublicLinesGoToEverySeatWithTheSendersSeat)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.deliver();
    // Sent before the client knew its seat: byte 6 is 0.
    MessageFrame line = chatFrame(0, "alice说道： 你好");
    line.setByte(9, 1);
    line.setByte(10, 3);
    line.setU32be(wire::offset::kKindWord, 0x11);
    table.send(alice, line);
    const auto fresh = people.deliver();
    for (const auto id : {alice, bob}) {
        ASSERT_EQ(fresh.at(id).size(), 1u);
        EXPECT_TRUE(
                matches(fresh.at(id)[0],
                        "cmd=19 seat=1 b9=1 b10=3 b11=0 le32@236=0 text@16=\"alice说道： 你好\""));
    }
}

TEST(Chat, WhispersGoToTheSenderAndTheAddresseeOnly)
{
    EngineHarness table(testOptions(0));
    People people(table);
    std::vector<ConnectionId> ids;
    for (const char *name : {"ann", "ben", "cat"})
        ids.push_back(people.join(name));
    people.deliver();
    table.send(ids[0], chatFrame(1, "psst", 4));
    table.send(ids[0], chatFrame(1, "nobody", 8)); // seat 8 is empty
    table.send(ids[0], chatFrame(1, "bad", 3)); // not a seat bit
    const auto fresh = people.deliver();
    ASSERT_EQ(fresh.at(ids[0]).size(), 1u);
    ASSERT_EQ(fresh.at(ids[2]).size(), 1u);
    EXPECT_TRUE(fresh.find(ids[1]) == fresh.end() || fresh.at(ids[1]).empty());
    EXPECT_TRUE(matches(fresh.at(ids[2])[0], "seat=1 b11=4 text@16=\"psst\""));
}

TEST(Chat, ItemLibraryFramesAndFloodsAreNotRelayed)
{
    EngineHarness table(testOptions(3));
    People people(table);
    const auto alice = people.join("alice");
    people.deliver();
    for (const std::uint32_t kind : {272u, 260u}) {
        MessageFrame item = chatFrame(1, "item");
        item.setU32be(wire::offset::kKindWord, kind);
        table.send(alice, item);
    }
    EXPECT_TRUE(people.deliver()[alice].empty());

    for (int i = 0; i < 12; ++i)
        table.send(alice, chatFrame(1, "line " + std::to_string(i)));
    EXPECT_EQ(people.deliver()[alice].size(), 8u);
    table.now += 500;
    table.send(alice, chatFrame(1, "later"));
    table.send(alice, chatFrame(1, "too soon"));
    EXPECT_EQ(people.deliver()[alice].size(), 1u);
}

TEST(KeepAlive, IsTakenWithoutAnAnswer)
{
    EngineHarness table(testOptions(3));
    People people(table);
    const auto alice = people.join("alice");
    people.deliver();
    table.send(alice, keepAliveFrame(1));
    table.send(alice, loginFrame("alice", "secret")); // a second login is not answered
    EXPECT_TRUE(table.take(alice).empty());
    EXPECT_FALSE(table.closed.contains(alice));
}

TEST(ForcedLeave, AnOperatorCanSendAPlayerAwayBetweenHands)
{
    EngineHarness table(testOptions(2));
    People people(table);
    const auto alice = people.join("alice");
    const auto bob = people.join("bob");
    people.deliver();
    table.engine.forceLeave(0, "请离开", table.now);
    table.send(alice, leaveFrame(1)); // the client's own leave frame arrives late
    const auto fresh = people.deliver();
    ASSERT_EQ(commandList(fresh.at(alice)), "CmdForcedLeave ");
    EXPECT_TRUE(matches(fresh.at(alice)[0], "text@16=\"请离开\""));
    EXPECT_EQ(commandList(fresh.at(bob)), "CmdUserLeft ");
    // The server closes a connection whose player is gone, should the client
    // not close it.
    table.advance(10000);
    EXPECT_TRUE(table.closed.contains(alice));
}
