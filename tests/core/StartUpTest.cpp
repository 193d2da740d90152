#include "CoreHarness.h"
#include "SocksProxy.h"
#include "WaitUntil.h"
#include "wire/SentFrames.h"

#include "HallOptions.h"
#include "core/HallWindowLink.h"
#include "core/ServerLinkSocket.h"
#include "core/StartUp.h"
#include "platform/HallLink.h"
#include "platform/ServerLink.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUuid>

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {


hall::HallOptions lineOptions()
{
    hall::HallOptions options;
    options.tableCaption = QStringLiteral("Table-") + QUuid::createUuid().toString(QUuid::Id128);
    return options;
}

std::string lineOf(const hall::HallOptions &options)
{
    return hall::clientCommandLine(options).toStdString();
}

// The start-up on recording services.
class StartUpSteps : public ::testing::Test
{
protected:
    bool load(const std::string &line, bool lockFree = true, double w = 1280 * 15,
              double h_ = 1024 * 15)
    {
        core::StartUpEnvironment environment;
        environment.commandLine = line;
        environment.screenWidthTwips = w;
        environment.screenHeightTwips = h_;
        environment.takeInstanceLock = [lockFree] {
            return lockFree;
        };
        environment.defaultTableCaption
                = QStringLiteral("Tessaroc-") + QUuid::createUuid().toString(QUuid::Id128);
        return startUp.Form_Load(environment);
    }

    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    platform::HallLink link;
    core::HallWindowLink table{h->context, link};
    core::StartUp startUp{h->context, table};
};

TEST_F(StartUpSteps, DirectConnectionRunsEveryStepInOrder)
{
    hall::HallOptions options = lineOptions();
    options.serverPort = 6100;
    ASSERT_TRUE(load(lineOf(options)));
    EXPECT_TRUE(h->process.ends.empty());
    EXPECT_EQ(h->window.calls,
              (std::vector<std::string>{"PrepareStartUp", "FitToScreen 19200x15360",
                                        "InitSeatLayout", "SetSystemLine 0", "ShowTable",
                                        "SetCaption " + options.tableCaption.toStdString(),
                                        "InitPlayLayout"}));
    EXPECT_EQ(h->window.systemLines[0], QStringLiteral("正在连接服务器..."));
    ASSERT_EQ(h->socket.connects.size(), 1u);
    EXPECT_EQ(h->socket.connects[0], std::make_pair(QStringLiteral("127.0.0.1"), quint16{6100}));
    EXPECT_TRUE(h->timers.TimerBongEnabled());
    EXPECT_TRUE(h->state.loop.slots.armed(core::LoopSlot::Login));
    EXPECT_EQ(h->state.loop.LoginFrame, (wire::LoginFrame{false, "alice", "secret"}.encode()));
    EXPECT_EQ(h->hall.restores, 1);
    EXPECT_EQ(h->sound.calls,
              (std::vector<std::string>{"InitSoundPaths", "InitSound", "StopSound",
                                        "PlaySoundFile sound1.wav loop", "SetSoundVolume 3000"}));
    EXPECT_TRUE(h->items.calls.empty());
    EXPECT_TRUE(link.isListening()) << "the hall's messages reach the table";
}

TEST_F(StartUpSteps, GivesTheSharedStateItsStartValues)
{
    h->state.core.AutoModeKey = true;
    h->state.loop.HoldCommand21 = true;
    h->state.loop.ReconnectAllowed = true;
    h->state.rules.HandRecords[0].seatBit = 8;
    h->state.core.TurnSeconds = 30;
    hall::HallOptions options = lineOptions();
    options.itemSwitch = 1;
    ASSERT_TRUE(load(lineOf(options)));
    const core::MainLoopState &loop = h->state.loop;
    EXPECT_FALSE(h->state.core.AutoModeKey);
    EXPECT_FALSE(loop.HoldCommand21);
    EXPECT_FALSE(loop.ReconnectAllowed);
    EXPECT_FALSE(loop.LoginSent);
    EXPECT_TRUE(loop.ChatGate);
    EXPECT_TRUE(loop.FirstStartPending);
    EXPECT_EQ(h->state.core.TurnSeconds, 15);
    EXPECT_EQ(h->state.rules.HandRecords[0].seatBit, 0);
    EXPECT_EQ(loop.line.prop_swicth, 0) << "the item library stays off";
    EXPECT_EQ(h->state.sound, core::SoundSwitches{});
    EXPECT_EQ(loop.shuffle.ShuffleCaptions[3], "正在随机换座中.....");
    EXPECT_FALSE(h->state.core.VideoAllowed);
    EXPECT_TRUE(h->state.core.CameraSkipped);
}

struct EndingCase
{
    const char *name;
    std::string line;
    bool lockFree;
    bool hallPresent;
    std::vector<QString> messages;
    int restores;
    ExitCode ending;
    bool connected = false; // the connection starts before the hall is restored
};

void PrintTo(const EndingCase &c, std::ostream *os)
{
    *os << c.name;
}

class StartUpEnding : public StartUpSteps, public ::testing::WithParamInterface<EndingCase>
{
};

TEST_P(StartUpEnding, EndsWithItsOwnCode)
{
    const EndingCase &c = GetParam();
    h->hall.present = c.hallPresent;
    EXPECT_FALSE(load(c.line, c.lockFree));
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{c.ending});
    EXPECT_EQ(h->process.messages, c.messages);
    EXPECT_EQ(h->hall.restores, c.restores);
    EXPECT_EQ(h->socket.connects.size(), c.connected ? 1u : 0u);
    EXPECT_FALSE(link.isListening());
}

const std::string kGoodLine = lineOf(lineOptions());
// The caption field is read, then the item switch is no number.
const std::string kBadAfterCaption
        = "alice$secret$127.0.0.1$6000$0000001Room$0$$0$$$1$Ombrevale$T$x$0$";

INSTANTIATE_TEST_SUITE_P(
        Cases, StartUpEnding,
        ::testing::Values(EndingCase{"EmptyLine",
                                     "",
                                     true,
                                     true,
                                     {QStringLiteral("本游戏需从游戏大厅中启动！")},
                                     0,
                                     ExitCode::EmptyCommandLine},
                          EndingCase{"BadLineRestoresTheHall",
                                     kBadAfterCaption,
                                     true,
                                     true,
                                     {},
                                     1,
                                     ExitCode::BadCommandLine},
                          EndingCase{"BadLineBeforeTheHallIsNamed",
                                     "alice$secret$",
                                     true,
                                     true,
                                     {},
                                     0,
                                     ExitCode::HallMissing},
                          EndingCase{"SecondInstance",
                                     kGoodLine,
                                     false,
                                     true,
                                     {QStringLiteral("Tessaroc已经运行！")},
                                     1,
                                     ExitCode::SecondInstance},
                          EndingCase{"SecondInstanceWithoutHall",
                                     kGoodLine,
                                     false,
                                     false,
                                     {QStringLiteral("Tessaroc已经运行！")},
                                     0,
                                     ExitCode::HallMissing},
                          EndingCase{"HallMissingAtTheRestore",
                                     kGoodLine,
                                     true,
                                     false,
                                     {},
                                     0,
                                     ExitCode::HallMissing,
                                     true}),
        [](const ::testing::TestParamInfo<EndingCase> &p) { return std::string(p.param.name); });

TEST_F(StartUpSteps, Socks5LeavesTheMainLoopToTheProxy)
{
    hall::HallOptions options = lineOptions();
    options.proxyType = 5;
    options.proxyHost = QStringLiteral("127.0.0.1");
    options.proxyPort = 1080;
    ASSERT_TRUE(load(lineOf(options)));
    EXPECT_EQ(h->socket.sock5Calls, 1);
    EXPECT_FALSE(h->timers.TimerBongEnabled());
    EXPECT_FALSE(h->state.loop.slots.armed(core::LoopSlot::Login));
    EXPECT_TRUE(h->state.loop.LoginSent);
    EXPECT_TRUE(h->state.loop.slots.armed(core::LoopSlot::ConnWatch));
}

TEST_F(StartUpSteps, AnotherProxyTypeNeverConnects)
{
    hall::HallOptions options = lineOptions();
    options.proxyType = 3;
    ASSERT_TRUE(load(lineOf(options)));
    EXPECT_TRUE(h->socket.connects.empty());
    EXPECT_EQ(h->socket.sock5Calls, 0);
    EXPECT_FALSE(h->timers.TimerBongEnabled());
    EXPECT_EQ(h->window.systemLines[0], QStringLiteral("正在连接服务器..."));
}

TEST_F(StartUpSteps, WithoutCaptionsTheHallIsRestoredByTheLineThenTakesTheDefaultCaption)
{
    hall::HallOptions options = lineOptions();
    options.useCaptions = 0;
    options.hallCaption = QStringLiteral("My hall");
    ASSERT_TRUE(load(lineOf(options)));
    EXPECT_EQ(h->hall.restores, 1);
    EXPECT_EQ(h->state.loop.HallCaption, "Ombrevale");
    for (const std::string &call : h->window.calls)
        EXPECT_NE(call.rfind("SetCaption", 0), 0u) << "the table keeps its own caption";
}

// ------------------------------------------------------- on a real socket

// The start-up with the real server link: the login frame reaches a game
// server on the loopback, directly or through a SOCKS5 proxy.
class StartUpConnection : public ::testing::Test
{
protected:
    StartUpConnection() { server.listen(QHostAddress::LocalHost, 0); }

    bool load(hall::HallOptions options)
    {
        options.serverPort = server.serverPort();
        core::StartUpEnvironment environment;
        environment.commandLine = lineOf(options);
        environment.screenWidthTwips = 1024 * 15;
        environment.screenHeightTwips = 768 * 15;
        environment.defaultTableCaption = options.tableCaption;
        return startUp.Form_Load(environment);
    }
    // Runs the main loop until the server has the login frame.
    QByteArray loginAtServer()
    {
        QByteArray received;
        waitUntil([&] {
            if (h->timers.TimerBongEnabled())
                scheduler.TimerBong_Timer();
            if (!peer && server.hasPendingConnections())
                peer = server.nextPendingConnection();
            if (peer)
                received += peer->readAll();
            return received.size() >= static_cast<qsizetype>(wire::kFrameSize);
        });
        return received;
    }

    QTcpServer server;
    QTcpSocket *peer = nullptr;
    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    platform::ServerLink link{h->rings, h->clock};
    core::ServerLinkSocket socket{link, context};
    platform::HallLink hallLink;
    core::HallWindowLink table{context, hallLink};
    core::CoreContext context{h->state,  h->rings,      h->clock,   socket,   h->hall,
                              h->timers, h->window,     h->play,    h->sound, h->items,
                              h->video,  h->settlement, h->process, h->chat};
    core::Dispatcher dispatcher{context};
    core::TurnClocks clocks{context};
    core::ItemSteps items{context, [] {
                              return 0.0;
                          }};
    core::TickScheduler scheduler{context, h->timers, dispatcher, clocks, items};
    core::StartUp startUp{context, table};
};

QByteArray bytesOf(const wire::MessageFrame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), wire::kFrameSize);
}

TEST_F(StartUpConnection, DirectLoginLeavesWithTheLoginSlot)
{
    ASSERT_TRUE(load(lineOptions()));
    EXPECT_EQ(loginAtServer(), bytesOf((wire::LoginFrame{false, "alice", "secret"}.encode())));
    EXPECT_TRUE(h->state.loop.LoginSent);
    EXPECT_EQ(h->hall.posts.back(), wire::kTableMsgConnected);
}

TEST_F(StartUpConnection, Socks5LoginLeavesOnceTheProxyJoinedTheServer)
{
    SocksProxy proxy(QStringLiteral("tuser"), QStringLiteral("tpass"));
    if (!proxy.installed())
        GTEST_SKIP() << "microsocks is not installed";
    ASSERT_TRUE(proxy.start());

    hall::HallOptions options = lineOptions();
    options.proxyType = 5;
    options.proxyHost = QStringLiteral("127.0.0.1");
    options.proxyPort = proxy.port();
    options.proxyUser = QStringLiteral("tuser");
    options.proxyPassword = QStringLiteral("tpass");
    ASSERT_TRUE(load(options));
    EXPECT_EQ(loginAtServer(), bytesOf((wire::LoginFrame{false, "alice", "secret"}.encode())));
    EXPECT_TRUE(h->timers.TimerBongEnabled()) << "the main loop runs once the proxy joined";
    EXPECT_EQ(h->window.systemLines[0], QStringLiteral("连接代理服务器成功！"));
}

} // namespace
} // namespace tessaroc::test
