#include "CoreHarness.h"
#include "WaitUntil.h"

#include "Hall.h"
#include "core/HallWindowLink.h"
#include "platform/HallLink.h"
#include "support/Waits.h"
#include "wire/SentFrames.h"

#include <QDeadlineTimer>
#include <QUuid>

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

using hall::HallEvent;
using hall::Request;


// The table's hall link on real local sockets against the hall stand-in;
// everything else of the core records.
class HallLinkLogic : public ::testing::Test
{
protected:
    HallLinkLogic()
    {
        const QString id = QUuid::createUuid().toString(QUuid::Id128);
        options.hallCaption = QStringLiteral("Hall-") + id;
        options.tableCaption = QStringLiteral("Table-") + id;
        standIn = std::make_unique<hall::Hall>(options);
        EXPECT_TRUE(standIn->open());
        h->state.loop.HallCaption = options.hallCaption.toStdString();
        EXPECT_TRUE(table.InstallWndProc(options.tableCaption));
    }

    std::vector<std::uint32_t> posted() const
    {
        std::vector<std::uint32_t> numbers;
        for (const HallEvent &event : standIn->events())
            if (event.kind == HallEvent::Kind::TablePosted)
                numbers.push_back(event.msg);
        return numbers;
    }
    // Sends the hall's request and waits for the table's answer.
    void request(Request which, std::size_t answers = 1)
    {
        const std::size_t before = posted().size();
        ASSERT_TRUE(standIn->request(which));
        ASSERT_TRUE(waitUntil([&] { return posted().size() >= before + answers; }));
    }
    // Requests that leave wait a moment on the game clock.
    void walkTheClock()
    {
        walker = std::make_unique<InsideWait>(h->clock, [] {});
    }

    hall::HallOptions options;
    std::unique_ptr<hall::Hall> standIn;
    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    platform::HallLink link;
    // Only keeps the reference: the context it names follows.
    core::HallWindowLink table{context, link};
    core::CoreContext context{h->state,  h->rings,      h->clock,   h->socket, table,
                              h->timers, h->window,     h->play,    h->sound,  h->items,
                              h->video,  h->settlement, h->process, h->chat};
    std::unique_ptr<InsideWait> walker;
};

TEST_F(HallLinkLogic, AskInGameAnswersWhetherAHandIsOn)
{
    h->state.rules.InGame = true;
    request(Request::AskInGame);
    h->state.rules.InGame = false;
    request(Request::AskInGame);
    EXPECT_EQ(posted(), (std::vector<std::uint32_t>{0x465, 0x400}));
}

TEST_F(HallLinkLogic, AskCloseDuringTheLoginOrAHandLeavesNothing)
{
    h->state.loop.LoginSent = true;
    h->state.rules.InGame = true;
    request(Request::AskClose);
    h->state.loop.LoginSent = false;
    request(Request::AskClose);
    EXPECT_EQ(posted(), (std::vector<std::uint32_t>{0x466, 0x465}));
    EXPECT_FALSE(h->window.called("ResetTableView"));
}

struct LeaveCase
{
    const char *name;
    Request request;
    bool connected;
    bool inGame;
};

void PrintTo(const LeaveCase &c, std::ostream *os)
{
    *os << c.name;
}

class HallLeave : public HallLinkLogic, public ::testing::WithParamInterface<LeaveCase>
{
};

TEST_P(HallLeave, LeavesTheTableAndAnswersNotInGame)
{
    const LeaveCase &c = GetParam();
    h->socket.state = c.connected ? RecordingSocket::sckConnected : RecordingSocket::sckClosed;
    h->state.rules.InGame = c.inGame;
    h->state.loop.slots.arm(core::LoopSlot::ConnWatch);
    h->state.loop.ReconnectAllowed = true;
    h->timers.StartTimerBong();
    h->timers.StartKeepAlive();
    walkTheClock();
    request(c.request);
    EXPECT_EQ(posted(), (std::vector<std::uint32_t>{0x400}));
    EXPECT_TRUE(h->window.called("ResetTableView"));
    EXPECT_FALSE(h->state.rules.InGame);
    EXPECT_FALSE(h->timers.TimerBongEnabled());
    EXPECT_FALSE(h->timers.KeepAliveEnabled());
    EXPECT_FALSE(h->state.loop.slots.armed(core::LoopSlot::ConnWatch));
    EXPECT_EQ(h->socket.state, RecordingSocket::sckClosed);
    if (c.connected) {
        ASSERT_EQ(h->socket.sent.size(), 1u);
        EXPECT_EQ(h->socket.sent[0], (wire::ReadyOrLeaveFrame{4, false}.encode()));
        EXPECT_FALSE(h->state.loop.ReconnectAllowed);
    } else {
        EXPECT_TRUE(h->socket.sent.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
        Requests, HallLeave,
        ::testing::Values(LeaveCase{"CloseIdleConnected", Request::AskClose, true, false},
                          LeaveCase{"CloseIdleNotConnected", Request::AskClose, false, false},
                          LeaveCase{"LeaveDuringAHand", Request::Leave, true, true},
                          LeaveCase{"LeaveNotConnected", Request::Leave, false, false}),
        [](const ::testing::TestParamInfo<LeaveCase> &p) { return std::string(p.param.name); });

TEST_F(HallLinkLogic, ReconnectOpensTheSocketAgainAndArmsTheLogin)
{
    h->state.loop.line.ProxyType = 0;
    h->state.loop.line.ServerHost = "127.0.0.1";
    h->state.loop.line.ServerPort = 6000;
    h->socket.state = RecordingSocket::sckConnected;
    h->state.core.ButtonDown[2] = true;
    h->rings.RingMode = false;
    ASSERT_TRUE(standIn->request(Request::Reconnect));
    ASSERT_TRUE(waitUntil([&] { return !h->socket.connects.empty(); }));
    EXPECT_EQ(h->socket.closes, 1);
    EXPECT_EQ(h->socket.connects[0], std::make_pair(QStringLiteral("127.0.0.1"), quint16{6000}));
    EXPECT_TRUE(h->rings.RingMode);
    EXPECT_TRUE(h->timers.TimerBongEnabled());
    EXPECT_TRUE(h->state.loop.slots.armed(core::LoopSlot::Login));
    EXPECT_FALSE(h->state.core.ButtonDown[2]);
    EXPECT_EQ(h->window.toolbar, (std::vector<std::pair<int, int>>{{2, 4}}));
    EXPECT_TRUE(h->window.called("HideTurnClock"));
}

TEST_F(HallLinkLogic, ReconnectThroughTheProxyDisarmsTheLoginSlot)
{
    h->state.loop.line.ProxyType = 5;
    h->state.loop.slots.arm(core::LoopSlot::Login);
    ASSERT_TRUE(standIn->request(Request::Reconnect));
    ASSERT_TRUE(waitUntil([&] { return h->socket.sock5Calls == 1; }));
    EXPECT_FALSE(h->state.loop.slots.armed(core::LoopSlot::Login));
    EXPECT_TRUE(h->state.loop.LoginSent);
    EXPECT_TRUE(h->state.loop.slots.armed(core::LoopSlot::ConnWatch));
}

TEST_F(HallLinkLogic, RestoreAndMinimiseReachTheHall)
{
    EXPECT_TRUE(table.MinimiseHall());
    EXPECT_TRUE(standIn->minimised());
    EXPECT_TRUE(table.RestoreHall());
    EXPECT_FALSE(standIn->minimised());
    std::vector<std::int64_t> commands;
    for (const HallEvent &event : standIn->events())
        if (event.kind == HallEvent::Kind::TableSent)
            commands.push_back(event.wParam);
    EXPECT_EQ(commands, (std::vector<std::int64_t>{0xF020, 0xF120}));
    EXPECT_TRUE(h->process.ends.empty());
}

TEST_F(HallLinkLogic, HallGoneEndsARestoreAndSilencesTheRest)
{
    standIn->disappear();
    h->state.loop.LoginSent = false;
    table.HallWndProc(wire::kHallMsgAskClose, 0, 0);
    EXPECT_FALSE(h->window.called("ResetTableView")) << "no hall: the table is not left";
    table.PostToHall(0x467);
    EXPECT_TRUE(h->process.ends.empty());
    EXPECT_FALSE(table.RestoreHall());
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::HallMissing});
}

// The socket control's state once the server closed the connection.
constexpr int kServerClosed = 8;

struct HallGoneCase
{
    const char *name;
    int socket;
    bool inGame;
    bool ends;
};

void PrintTo(const HallGoneCase &c, std::ostream *os)
{
    *os << c.name;
}

class HallGoneWhileWaiting : public HallLinkLogic,
                             public ::testing::WithParamInterface<HallGoneCase>
{
};

// The hall window goes away while the table has it found: a table that has
// nothing left but the hall (no connection, none under way, no hand) ends;
// one that plays or connects goes on until it next looks for the hall.
TEST_P(HallGoneWhileWaiting, EndsOnlyATableWithNothingButTheHallLeft)
{
    const HallGoneCase &c = GetParam();
    h->socket.state = c.socket;
    h->state.rules.InGame = c.inGame;
    ASSERT_TRUE(table.FindHall());
    standIn->disappear();
    const bool ended = waitUntil([&] { return !h->process.ends.empty(); }, c.ends ? 5000 : 300);
    EXPECT_EQ(ended, c.ends);
    if (c.ends) {
        EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::HallMissing});
    }
}

INSTANTIATE_TEST_SUITE_P(
        States, HallGoneWhileWaiting,
        ::testing::Values(HallGoneCase{"ServerClosedTheSession", kServerClosed, false, true},
                          HallGoneCase{"LeftTheTable", RecordingSocket::sckClosed, false, true},
                          HallGoneCase{"Connected", RecordingSocket::sckConnected, false, false},
                          HallGoneCase{"Connecting", RecordingSocket::sckConnecting, false, false},
                          HallGoneCase{"ReconnectingToItsHand", RecordingSocket::sckClosed, true,
                                       false}),
        [](const ::testing::TestParamInfo<HallGoneCase> &p) { return std::string(p.param.name); });

TEST_F(HallLinkLogic, AHallBackUnderItsCaptionKeepsTheWaitingTable)
{
    ASSERT_TRUE(table.FindHall());
    standIn->disappear();
    // Another hall takes the caption before the table hears of the first.
    hall::Hall second(options);
    ASSERT_TRUE(second.open());
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(h->process.ends.empty());
}

TEST_F(HallLinkLogic, BeforeTheLineNamesTheHallNoHallIsFound)
{
    h->state.loop.HallCaption.clear();
    EXPECT_FALSE(table.FindHall());
    EXPECT_FALSE(table.MinimiseHall());
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::HallMissing});
}

TEST_F(HallLinkLogic, ARequestInsideAHandlersWaitIsAnsweredAtOnce)
{
    h->state.rules.InGame = true;
    bool answeredInside = false;
    InsideWait during(h->clock, [&] {
        ASSERT_TRUE(standIn->request(Request::AskInGame));
        answeredInside = waitUntil([&] { return !posted().empty(); });
    });
    support::Wait(h->clock, 100);
    EXPECT_TRUE(answeredInside);
    EXPECT_EQ(posted(), (std::vector<std::uint32_t>{0x465}));
}

TEST_F(HallLinkLogic, UnloadGivesUpTheHallsMessages)
{
    table.RestoreWndProc();
    EXPECT_FALSE(standIn->request(Request::AskInGame));
}

} // namespace
} // namespace tessaroc::test
