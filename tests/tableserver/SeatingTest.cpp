#include "TableTestSupport.h"

#include "ServerFrames.h"

#include "wire/GbkText.h"
#include "wire/ReceivedFrames.h"
#include "wire/SentFrames.h"

#include <QString>

#include <set>

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
    std::vector<wire::UserInfoFrame> users;
    for (int i = 0; i < 4; ++i)
        users.push_back(wire::UserInfoFrame::decode(frames[1 + static_cast<std::size_t>(i)]));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(users[static_cast<std::size_t>(i)].recipientSeat.raw, 1);
        EXPECT_EQ(users[static_cast<std::size_t>(i)].extraNumber5, described[i]);
    }
    EXPECT_EQ(users[0].account, "alice");
    EXPECT_EQ(users[1].nickname, "二号电脑");
    // The client's boards have room for two characters of a name: there the
    // three computer players must differ.
    std::set<QString> shown;
    for (int i = 1; i < 4; ++i)
        shown.insert(QString::fromStdString(users[static_cast<std::size_t>(i)].nickname).left(2));
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_TRUE(users[1].ready); // computer players are ready
    EXPECT_FALSE(users[0].ready);
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

// The account as hexadecimal bytes: some are code-page bytes.
void PrintTo(const RefusedLogin &login, std::ostream *os)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    *os << login.name << ": account [";
    for (const char c : login.account) {
        const auto byte = static_cast<unsigned char>(c);
        *os << ' ' << kDigits[byte >> 4] << kDigits[byte & 15];
    }
    *os << " ] password \"" << login.password << "\" answered " << int{login.answer};
}

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
    const std::string &account = GetParam().account;
    for (std::size_t pos = wire::LoginFrame::kAccountPos; pos < wire::LoginFrame::kPasswordPos;
         ++pos) {
        const std::size_t i = pos - wire::LoginFrame::kAccountPos;
        login.setByte(pos, i < account.size() ? static_cast<std::uint8_t>(account[i]) : 0);
    }
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

    // Gone before her first move: the computer players go on up to her turn,
    // where her clock (25 s for a bid, 30 s for a play) runs.
    table.drop(alice);
    table.advance(20000);
    EXPECT_NE(table.engine.phase(), GameEngine::Phase::BetweenHands);
    EXPECT_TRUE(hands.empty());

    const ConnectionId again = 9;
    table.connect(again);
    table.send(again, reconnectFrame("alice", "secret", echo, model.resumeValue()));
    table.advance(3000); // the frames she missed, paced
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
        table.advance(100);
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
    options.replay = {2, 400};
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
    // The answer and the first burst in one write, then bursts of two at
    // least 400 ms apart.
    EXPECT_EQ(bursts[0].frames, 3u);
    for (std::size_t i = 1; i < bursts.size(); ++i) {
        EXPECT_LE(bursts[i].frames, 2u) << "burst " << i;
        EXPECT_GE(bursts[i].at - bursts[i - 1].at, 400) << "burst " << i;
    }
    ASSERT_GE(frames.size(), 6u);
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

// The switch that cuts a person off between the first hand's result frames
// keeps the settled hand open: the person's reconnection resumes it and is
// sent the rest of the results, after which the hand is over; a person who
// does not come back closes it when the seat is given up, without a second
// set of results.
TEST(Reconnection, TheResultsSwitchKeepsTheHandOpenForThePersonCutOffBetweenThem)
{
    for (const bool comesBack : {true, false}) {
        SCOPED_TRACE(comesBack ? "comes back" : "does not come back");
        EngineOptions options = testOptions(3);
        options.dropSeatAfterResults = 2;
        EngineHarness table(options);
        std::vector<HandHistory> hands;
        table.engine.setHandListener([&](const HandHistory &h) { hands.push_back(h); });
        People people(table);
        const auto alice = people.join("alice");
        people.playOn({}, [&] { return table.closed.contains(alice); });
        ASSERT_TRUE(table.closed.contains(alice));
        people.deliver();
        const ClientModel &model = people.model(alice);
        EXPECT_EQ(model.resultFrames(), 2);
        EXPECT_EQ(people.received(alice).back().cmd(), wire::CmdHandResult);
        EXPECT_EQ(table.engine.phase(), GameEngine::Phase::AwaitingReturn);
        EXPECT_TRUE(hands.empty());

        if (comesBack) {
            table.connect(20);
            table.send(20, model.reconnect());
            table.advance(3000);
            const auto frames = table.take(20);
            ASSERT_GE(frames.size(), 4u);
            EXPECT_TRUE(matches(frames[0], "cmd=29 b15=1"));
            EXPECT_EQ(commandList({frames.begin() + 1, frames.begin() + 4}),
                      "CmdHandResult CmdHandResult CmdReadyOrLeave ");
            for (std::size_t i = 1; i < frames.size(); ++i)
                EXPECT_EQ(frames[i].u16le(wire::offset::kEcho), model.echo() + i);
            EXPECT_TRUE(table.engine.seat(0).connected);
        } else {
            table.advance(options.reconnectWaitMs);
            EXPECT_FALSE(table.engine.seat(0).occupied);
        }
        EXPECT_EQ(table.engine.phase(), GameEngine::Phase::BetweenHands);
        ASSERT_EQ(hands.size(), 1u);
        EXPECT_NE(hands[0].outcome, HandHistory::Outcome::Abandoned);
        EXPECT_TRUE(std::none_of(table.log.begin(), table.log.end(), [](const std::string &line) {
            return line.find("abandoned") != std::string::npos;
        }));
    }
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
        table.send(alice, chatFrame(1, "alice说道： line " + std::to_string(i)));
    EXPECT_EQ(people.deliver()[alice].size(), 8u);
    table.now += 500;
    table.send(alice, chatFrame(1, "alice说道： later"));
    table.send(alice, chatFrame(1, "alice说道： too soon"));
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
