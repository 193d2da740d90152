// Hostile clients over loopback: each must be unable to knock the server over
// or to stop an honest table from playing.

#include "LoopbackServer.h"
#include "NetPlayer.h"
#include "TableServer.h"

#include "wire/ChatFrame.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

// Short clocks, so that a stalled turn shows within seconds: a turn not
// answered within a second is taken for the player.
EngineOptions quickOptions(int bots)
{
    EngineOptions options = testOptions(bots);
    options.playSeconds = 2;
    options.playGraceMs = -1000;
    options.bidWaitMs = 1000;
    options.nextHandWaitMs = 1000;
    return options;
}

struct HostileTable : LoopbackServer
{
    void start(EngineOptions options, ServerLimits limits = {})
    {
        makeServer(std::move(options));
        server->setLimits(limits);
        ASSERT_TRUE(server->listen(0)) << server->errorString().toStdString();
    }
};

TEST_F(HostileTable, AClientThatFloodsAndNeverReadsIsClosedWhileTheTablePlaysOn)
{
    EngineOptions options = quickOptions(2);
    options.chat.refillMs = 0; // every line is relayed: the flood comes back
    options.reconnectWaitMs = 500;
    start(options, ServerLimits{16, 64 * 1024});

    NetPlayer alice(server->port(), "alice");
    ASSERT_TRUE(alice.link);
    alice.link->send(alice.model.login());
    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.model.loggedIn(); }));

    // Mallory logs in, then stops reading: her side takes no more than a
    // frame into its buffer, so the server's writes to her pile up.
    QTcpSocket mallory;
    mallory.setReadBufferSize(static_cast<qint64>(wire::kFrameSize));
    mallory.connectToHost(QHostAddress::LocalHost, server->port());
    ASSERT_TRUE(mallory.waitForConnected(3000));
    mallory.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    const MessageFrame login = loginFrame("mallory", "x");
    mallory.write(reinterpret_cast<const char *>(login.data()), wire::kFrameSize);
    ASSERT_TRUE(waitUntil([&] { return server->engine().seat(1).occupied; }, 3000));

    // Chat lines by the hundred, each relayed to all four seats.
    const MessageFrame line = chatFrame(2, "mallory说道： flood");
    QByteArray hundred;
    for (int i = 0; i < 100; ++i)
        hundred.append(reinterpret_cast<const char *>(line.data()), wire::kFrameSize);
    QElapsedTimer clock;
    clock.start();
    bool closed = false;
    for (int sent = 0; sent < 300 && !closed && clock.elapsed() < 10000; ++sent) {
        mallory.write(hundred);
        waitUntil([&] { return mallory.bytesToWrite() == 0; }, 200);
        // Alice reads everything she is sent.
        alice.absorb();
        closed = !server->engine().seat(1).connected;
    }
    EXPECT_TRUE(closed) << "the server still holds mallory's connection";
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string &l) {
        return l.find("does not read") != std::string::npos;
    }));

    // Mallory does not come back: her hand ends for alice, and carol, who
    // takes the free seat, plays the next one with her.
    ASSERT_TRUE(playUntil(
            {&alice}, [&] { return alice.checker.handsFinished() >= 1; }, 10000))
            << alice.link->transcriptText(20);
    NetPlayer carol(server->port(), "carol");
    ASSERT_TRUE(carol.link);
    carol.link->send(carol.model.login());
    ASSERT_TRUE(playUntil({&alice, &carol}, [&] {
        return alice.checker.handsFinished() >= 2 || countOf(carol.received, wire::CmdDeal) > 0;
    })) << alice.link->transcriptText(20);
    alice.expectNoViolations();
    carol.expectNoViolations();
}

// Mallory speaks in other names and sends what a terminal would act on. Only
// lines in her own name reach alice, and the record holds no control byte.
TEST_F(HostileTable, ChatLinesInAnotherNameAreNotRelayedAndTheRecordEscapesControls)
{
    EngineOptions options = quickOptions(2);
    options.chat.refillMs = 0; // no line is held back for its pace
    start(options);
    NetPlayer alice(server->port(), "alice");
    ASSERT_TRUE(alice.link);
    alice.link->send(alice.model.login());
    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.model.loggedIn(); }));
    auto mallory = connectScripted(server->port());
    ASSERT_TRUE(mallory);
    mallory->send(loginFrame("mallory", "x"));
    ASSERT_TRUE(mallory->expect(wire::CmdLogin, "b15=1"));
    const std::uint8_t aliceSeat = 1, mallorySeat = 2;
    ASSERT_EQ(alice.model.seat(), aliceSeat);

    const struct
    {
        const char *name;
        std::uint8_t senderByte, whisperTo;
        std::string text;
        bool relayed;
    } lines[] = {
            {"another player's name", mallorySeat, 0, "alice说道： 我认输", false},
            {"a computer player's name", mallorySeat, 0, "三号电脑说道： 快点", false},
            {"no name", mallorySeat, 0, "说道： hi", false},
            {"the own name without the mark", mallorySeat, 0, "mallory hi", false},
            {"a longer name that starts like hers", mallorySeat, 0, "mallory2说道： hi", false},
            {"the own name further in", mallorySeat, 0, "hi mallory说道： x", false},
            {"another's whisper to an unknown seat", mallorySeat, 0, "alice对mallory说 ：x", false},
            {"another's seat in the sender byte", aliceSeat, 0, "alice说道： x", false},
            {"the own line", mallorySeat, 0, "mallory说道： hi", true},
            {"a line break, then a line in another's name", mallorySeat, 0,
             "mallory说道： ok\r\nalice说道： 我认输", true},
            {"terminal escapes", mallorySeat, 0, "mallory说道： \x1b[2J\x1b]0;owned\x07", true},
            {"the own whisper to an unknown seat", mallorySeat, 0, "mallory对alice说 ：hi", true},
            {"a whisper carries the bare text", mallorySeat, aliceSeat, "alice说道： x", true},
    };
    std::vector<MessageFrame> frames;
    std::vector<std::string> expected;
    for (const auto &line : lines) {
        frames.push_back(chatFrame(line.senderByte, line.text, line.whisperTo));
        if (line.relayed)
            expected.push_back(line.text);
    }
    // The last line marks the end: every line before it has been decided.
    frames.push_back(chatFrame(mallorySeat, "mallory说道： end"));
    expected.push_back("mallory说道： end");
    mallory->send(frames);

    std::vector<std::string> heard;
    const auto chatHeard = [&] {
        heard.clear();
        for (const auto &frame : alice.received) {
            if (frame.cmd() != wire::CmdChat)
                continue;
            const wire::ChatFrame chat = wire::ChatFrame::decode(frame);
            EXPECT_EQ(chat.sender.raw, mallorySeat);
            heard.push_back(chat.text);
        }
        return !heard.empty() && heard.back() == expected.back();
    };
    ASSERT_TRUE(playUntil({&alice}, chatHeard)) << alice.link->transcriptText(10);
    EXPECT_EQ(heard, expected);

    for (const std::string &line : log) {
        EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        })) << line;
    }
    const auto logged = [&](const std::string &part) {
        return std::any_of(log.begin(), log.end(), [&](const std::string &line) {
            return line.find(part) != std::string::npos;
        });
    };
    EXPECT_TRUE(logged("ok\\x0d\\x0aalice说道： 我认输"));
    EXPECT_TRUE(logged("\\x1b[2J\\x1b]0;owned\\x07"));
    EXPECT_TRUE(logged("not in its own name; dropped: alice说道： 我认输"));
    alice.expectNoViolations();
}

// How a hostile player holds up its own turns.
enum class Stall { PassOnTheOwnLead, DropOnTheOwnTurn };

struct StallCase
{
    const char *name;
    Stall how;
};

void PrintTo(const StallCase &stall, std::ostream *os)
{
    *os << stall.name;
}

class StallingPlayers : public HostileTable, public ::testing::WithParamInterface<StallCase>
{
};

TEST_P(StallingPlayers, CannotHoldUpAnHonestTable)
{
    start(quickOptions(2));
    NetPlayer alice(server->port(), "alice");
    auto mallory = std::make_unique<NetPlayer>(server->port(), "mallory");
    ASSERT_TRUE(alice.link && mallory->link);
    alice.link->send(alice.model.login());
    mallory->link->send(mallory->model.login());

    // Mallory calls at her bid turn, so that she leads; from then on every
    // turn of hers is held up, well within the turn's clock: by a pass on
    // her own lead, or by a drop and a return.
    constexpr int kStallAfterMs = 400;
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    bool wasTurn = false;
    int stalls = 0;
    const auto hostile = [&] {
        mallory->absorb();
        if (mallory->model.bidTurn()) {
            mallory->act(true);
            return;
        }
        const bool turn = mallory->model.playTurn();
        if (turn && !wasTurn)
            sinceTurn.restart();
        wasTurn = turn;
        if (!turn || sinceTurn.elapsed() < kStallAfterMs)
            return;
        ++stalls;
        sinceTurn.restart();
        if (GetParam().how == Stall::PassOnTheOwnLead) {
            if (mallory->model.mustLead())
                mallory->link->send(mallory->model.stamped(passFrame(mallory->model.seat())));
            return;
        }
        const ClientModel model = mallory->model;
        mallory->link->drop();
        mallory = std::make_unique<NetPlayer>(server->port(), "mallory");
        mallory->model = model;
        wasTurn = false;
        mallory->link->send(model.reconnect());
    };
    // Moves announced for mallory's seat once she has begun to stall.
    const auto movesForMallory = [&] {
        int moves = 0;
        for (const auto &frame : alice.received) {
            if (frame.cmd() == wire::CmdPlayed && frame.seatBit() == mallory->model.seat())
                ++moves;
        }
        return moves;
    };

    QElapsedTimer clock;
    clock.start();
    int movesAtFirstStall = -1;
    while (clock.elapsed() < 20000 && alice.checker.handsFinished() == 0) {
        waitUntil([&] { return alice.link->unread() > 0 || mallory->link->unread() > 0; }, 50);
        alice.absorb();
        alice.act();
        hostile();
        if (stalls > 0 && movesAtFirstStall < 0)
            movesAtFirstStall = movesForMallory();
        if (movesAtFirstStall >= 0 && movesForMallory() >= movesAtFirstStall + 3)
            break;
    }
    ASSERT_GT(stalls, 0) << "mallory never had a turn";
    EXPECT_TRUE(alice.checker.handsFinished() > 0 || movesForMallory() >= movesAtFirstStall + 3)
            << "the table stood still at mallory's turn\n"
            << alice.link->transcriptText(10);
    alice.expectNoViolations();
}

INSTANTIATE_TEST_SUITE_P(HostileClients, StallingPlayers,
                         ::testing::Values(StallCase{"PassOnTheOwnLead", Stall::PassOnTheOwnLead},
                                           StallCase{"DropOnTheOwnTurn", Stall::DropOnTheOwnTurn}),
                         [](const auto &param) { return std::string(param.param.name); });

// The executable, started with its standard output on a pipe.
struct ServerProcess
{
    explicit ServerProcess(QStringList arguments, int fileLimit = 0)
    {
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        // A small pipe fills after a few lines when nobody reads it.
        ::fcntl(out[1], F_SETPIPE_SZ, 4096);
        const int writeEnd = out[1];
        process.setChildProcessModifier([writeEnd, fileLimit] {
            ::dup2(writeEnd, STDOUT_FILENO);
            if (fileLimit > 0) {
                const rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            }
        });
        process.setProgram(QStringLiteral(TESSAROC_TABLESERVER_PATH));
        arguments.prepend(QStringLiteral("0"));
        arguments.prepend(QStringLiteral("--port"));
        process.setArguments(arguments);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start();
        ::close(out[1]);
        out[1] = -1;
    }
    ~ServerProcess()
    {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(3000);
        if (out[0] >= 0)
            ::close(out[0]);
    }

    // What the pipe holds now, for a failure's message.
    std::string pending()
    {
        ::fcntl(out[0], F_SETFL, O_NONBLOCK);
        std::string text;
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }

    // Reads the pipe up to the line that names the port, and no further.
    quint16 port()
    {
        std::string text;
        char byte = 0;
        while (text.find('\n') == std::string::npos && ::read(out[0], &byte, 1) == 1)
            text += byte;
        const auto at = text.find("127.0.0.1:");
        return at == std::string::npos ? 0 : static_cast<quint16>(std::stoi(text.substr(at + 10)));
    }

    QProcess process;
    int out[2] = {-1, -1};
};

// A login on a new connection is answered within the time.
bool loginAnswered(quint16 port, const std::string &account, int timeoutMs = 5000)
{
    auto link = connectScripted(port, timeoutMs);
    if (!link)
        return false;
    link->send(loginFrame(account, "x"));
    return static_cast<bool>(link->expect(wire::CmdLogin, "b15=1", timeoutMs));
}

TEST(HostileConnections, ARecordNobodyReadsNeverFreezesTheServer)
{
    ServerProcess server({QStringLiteral("--bots"), QStringLiteral("2")});
    const quint16 port = server.port();
    ASSERT_NE(port, 0);
    // Every bid out of turn is a line of the record, which goes to a pipe
    // that is never read again.
    auto mallory = connectScripted(port);
    ASSERT_TRUE(mallory);
    mallory->send(loginFrame("mallory", "x"));
    ASSERT_TRUE(mallory->expect(wire::CmdLogin, "b15=1"));
    std::vector<MessageFrame> bids(200, bidFrame(1, true));
    for (int i = 0; i < 20; ++i)
        mallory->send(bids);
    EXPECT_TRUE(loginAnswered(port, "alice"));
}

struct Burst
{
    const char *name;
    QStringList arguments;
    int fileLimit;
};

void PrintTo(const Burst &burst, std::ostream *os)
{
    *os << burst.name;
}

class ConnectionBursts : public ::testing::TestWithParam<Burst>
{
};

TEST_P(ConnectionBursts, LeaveTheServerAnsweringLoginsOnceTheyClose)
{
    ServerProcess server(GetParam().arguments, GetParam().fileLimit);
    const quint16 port = server.port();
    ASSERT_NE(port, 0);
    std::vector<std::unique_ptr<QTcpSocket>> burst;
    for (int i = 0; i < 120; ++i) {
        burst.push_back(std::make_unique<QTcpSocket>());
        burst.back()->connectToHost(QHostAddress::LocalHost, port);
    }
    waitUntil(
            [&] {
                return std::all_of(burst.begin(), burst.end(), [](const auto &s) {
                    return s->state() != QAbstractSocket::ConnectingState
                            && s->state() != QAbstractSocket::HostLookupState;
                });
            },
            3000);
    waitUntil([] { return false; }, 500);
    burst.clear();
    // The server sees the burst close within moments; a login made before
    // it has may still find it full, and is made again.
    waitUntil([] { return false; }, 300);
    bool answered = false;
    for (int attempt = 0; attempt < 3 && !answered; ++attempt)
        answered = loginAnswered(port, "alice", 2000);
    EXPECT_TRUE(answered) << server.pending();
    EXPECT_EQ(server.process.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(HostileConnections, ConnectionBursts,
                         ::testing::Values(Burst{"PastTheOpenFileLimit", {}, 64},
                                           Burst{"PastTheConnectionCap",
                                                 {QStringLiteral("--max-connections"),
                                                  QStringLiteral("8")},
                                                 0}),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
