#include "LoopbackServer.h"
#include "NetPlayer.h"
#include "TableServer.h"

#include "wire/GbkText.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

struct ServerFixture : LoopbackServer
{
    void start(int bots)
    {
        makeServer(testOptions(bots));
        ASSERT_TRUE(server->listen(0)) << server->errorString().toStdString();
        ASSERT_NE(server->port(), 0);
    }
};

} // namespace

TEST_F(ServerFixture, AScriptedClientPlaysAWholeHandWithThreeComputerPlayers)
{
    start(3);
    NetPlayer alice(server->port(), "alice");
    ASSERT_TRUE(alice.link);
    alice.link->send(alice.model.login());
    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.checker.handsFinished() == 1; }))
            << alice.link->transcriptText(20);

    EXPECT_TRUE(alice.model.loggedIn());
    ASSERT_EQ(alice.checker.resultSets().size(), 1u);
    EXPECT_TRUE(totalsBalance(alice.checker.resultSets()[0]));
    alice.expectNoViolations();
}

TEST_F(ServerFixture, FourScriptedClientsPlayAWholeHandAndPlaysOutOfTurnAreDropped)
{
    start(0);
    std::vector<std::unique_ptr<NetPlayer>> table;
    std::vector<NetPlayer *> players;
    for (const char *name : {"ann", "ben", "cat", "dan"}) {
        table.push_back(std::make_unique<NetPlayer>(server->port(), name));
        ASSERT_TRUE(table.back()->link);
        players.push_back(table.back().get());
        table.back()->link->send(table.back()->model.login());
    }
    // Up to the first own lead.
    ASSERT_TRUE(playUntil(players, [&] {
        return std::any_of(players.begin(), players.end(),
                           [](NetPlayer *p) { return p->model.playTurn() && p->model.mustLead(); });
    }));
    // Someone whose turn it is not tries to play and to bid: nobody hears of it.
    NetPlayer *idle = *std::find_if(players.begin(), players.end(),
                                    [](NetPlayer *p) { return !p->model.playTurn(); });
    const std::uint8_t id[] = {static_cast<std::uint8_t>(cardId(idle->model.hand()[0]))};
    idle->link->send(idle->model.stamped(playFrame(idle->model.seat(), id, 1)));
    idle->link->send(idle->model.stamped(bidFrame(idle->model.seat(), true)));
    for (NetPlayer *player : players)
        EXPECT_TRUE(player->link->expectSilence(100)) << player->model.account();

    ASSERT_TRUE(playUntil(players, [&] {
        return std::all_of(players.begin(), players.end(),
                           [](NetPlayer *p) { return p->checker.handsFinished() == 1; });
    }));
    for (NetPlayer *player : players) {
        EXPECT_EQ(player->checker.resultSets().size(), 1u);
        if (!player->checker.resultSets().empty()) {
            EXPECT_TRUE(totalsBalance(player->checker.resultSets()[0]));
        }
        player->expectNoViolations();
    }
    EXPECT_EQ(server->engine().ruleViolations(), 0);
}

TEST_F(ServerFixture, AClientDroppedMidHandReconnectsWithItsResumeValue)
{
    start(3);
    NetPlayer alice(server->port(), "alice");
    alice.link->send(alice.model.login());
    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.model.told(wire::CmdPlayed); }));
    ASSERT_NE(server->engine().phase(), GameEngine::Phase::BetweenHands);

    // The socket goes between frames; the computer players go on to alice's
    // turn, where the hand waits.
    alice.link->drop();
    ASSERT_TRUE(waitUntil([&] { return !server->engine().seat(0).connected; }, 3000));
    alice.link = connectScripted(server->port());
    ASSERT_TRUE(alice.link);
    const MessageFrame request = alice.model.reconnect();
    EXPECT_EQ(request.resumeValue(), 65537); // table 1, hand 1
    alice.link->send(request);
    const Expectation answer = alice.link->expect(wire::CmdReconnectAnswer, "b15=1");
    ASSERT_TRUE(answer) << answer.failure;
    alice.checker.check(answer.frame);

    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.checker.handsFinished() == 1; }))
            << alice.link->transcriptText(20);
    EXPECT_TRUE(totalsBalance(alice.checker.resultSets()[0]));
    alice.expectNoViolations();
}

TEST_F(ServerFixture, APlayTheRulesRefuseEndsInAForcedLeave)
{
    start(3);
    NetPlayer alice(server->port(), "alice");
    alice.link->send(alice.model.login());
    ASSERT_TRUE(playUntil({&alice}, [&] { return alice.model.told(wire::CmdDeal); }));
    // At her first play turn she plays a card she does not hold.
    QElapsedTimer clock;
    clock.start();
    while (!alice.model.playTurn() && clock.elapsed() < kHandTimeoutMs) {
        waitUntil([&] { return alice.link->unread() > 0; }, 20);
        alice.absorb();
        if (alice.model.bidTurn())
            alice.act(true);
    }
    ASSERT_TRUE(alice.model.playTurn());
    std::uint8_t notHers = 0;
    for (int id = 0; id < kDeckSize; ++id) {
        if (std::none_of(alice.model.hand().begin(), alice.model.hand().end(),
                         [id](CardCode c) { return cardId(c) == id; })) {
            notHers = static_cast<std::uint8_t>(id);
            break;
        }
    }
    const std::uint8_t ids[] = {notHers};
    alice.link->send(alice.model.stamped(playFrame(alice.model.seat(), ids, 1)));
    const Expectation told = alice.link->expectEventually(wire::CmdForcedLeave);
    ASSERT_TRUE(told) << told.failure;
    EXPECT_EQ(wire::readFieldText(told.frame, 16, 215), "出牌数据错误，请重新进入游戏");
    // The client says goodbye and closes; the seat is free again.
    alice.link->send(leaveFrame(alice.model.seat()));
    alice.link->close();
    EXPECT_TRUE(waitUntil([&] { return !server->engine().seat(0).occupied; }, 3000));
    EXPECT_TRUE(alice.link->expectSilence(50));
}

TEST_F(ServerFixture, BytesThatAreNotALoginCloseTheConnection)
{
    start(3);
    auto link = connectScripted(server->port());
    ASSERT_TRUE(link);
    link->sendBytes(QByteArray("GET / HTTP/1.0\r\n\r\n").leftJustified(272, ' '));
    EXPECT_TRUE(link->waitForPeerClose(3000));
    EXPECT_EQ(link->unread(), 0u);
    EXPECT_FALSE(server->engine().seat(0).occupied);
}

TEST(ScriptedPeer, AssemblesSplitFramesAndExplainsWhatDidNotArrive)
{
    ScriptedServer peer;
    ASSERT_TRUE(peer.listen());
    auto client = connectScripted(peer.port());
    ASSERT_TRUE(client);
    auto server = peer.accept();
    ASSERT_TRUE(server);

    // One frame in three pieces with pauses arrives whole, once.
    const MessageFrame login = loginFrame("alice", "secret");
    const QByteArray bytes(reinterpret_cast<const char *>(login.data()), 272);
    client->sendBytes(bytes.left(10));
    EXPECT_TRUE(server->expectSilence(30));
    client->sendBytes(bytes.mid(10, 200));
    EXPECT_TRUE(server->expectSilence(30));
    client->sendBytes(bytes.mid(210));
    const Expectation got = server->expect(wire::CmdLogin, "text@16=\"alice\" text@32=\"secret\"");
    ASSERT_TRUE(got) << got.failure;
    EXPECT_EQ(got.frame, login);

    // A wrong frame is shown byte by byte; a missing one says how long it
    // was waited for.
    client->send("cmd=7 b15=2 b17=1 b18=1 ids@20=37");
    const Expectation wrong = server->expect(wire::CmdPlay, "b15=1");
    EXPECT_FALSE(wrong);
    EXPECT_NE(wrong.failure.find("[15] expected 01 got 02"), std::string::npos) << wrong.failure;
    EXPECT_NE(wrong.failure.find(" 16: 00 01 01 00 25"), std::string::npos) << wrong.failure;
    const Expectation none = server->expect(wire::CmdPlay, ScriptedConnection::Predicate{}, 30);
    EXPECT_FALSE(none);
    EXPECT_NE(none.failure.find("no frame within 30 ms"), std::string::npos) << none.failure;

    // Skipped commands stay in the transcript; everything is in order.
    server->skipCommands({wire::CmdKeepAlive});
    client->send(std::vector<MessageFrame>{keepAliveFrame(1), readyFrame(1)});
    EXPECT_TRUE(server->expect(wire::CmdReadyOrLeave, "b15=1"));
    const auto &transcript = server->transcript();
    ASSERT_EQ(transcript.size(), 4u);
    EXPECT_EQ(transcript[2].frame.cmd(), wire::CmdKeepAlive);

    // A dropped connection is seen by the other side.
    server->drop();
    EXPECT_TRUE(client->waitForPeerClose());
    EXPECT_FALSE(client->isOpen());
}

TEST(Executable, StartsPrintsItsPortAndAnswersALogin)
{
    QProcess process;
    process.setProgram(QStringLiteral(TESSAROC_TABLESERVER_PATH));
    process.setArguments({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--bots"),
                          QStringLiteral("3"), QStringLiteral("--seed"), QStringLiteral("11")});
    process.start();
    ASSERT_TRUE(process.waitForStarted(3000));
    QByteArray output;
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QRegularExpressionMatch match;
    ASSERT_TRUE(waitUntil(
            [&] {
                output += process.readAllStandardOutput();
                match = listening.match(QString::fromUtf8(output));
                return match.hasMatch();
            },
            5000))
            << output.toStdString();
    const auto port = static_cast<quint16>(match.captured(1).toUInt());

    auto link = connectScripted(port);
    ASSERT_TRUE(link);
    link->send(loginFrame("alice", "secret"));
    const Expectation answer = link->expect(wire::CmdLogin, "b15=1");
    EXPECT_TRUE(answer) << answer.failure;
    link->close();
    process.terminate();
    EXPECT_TRUE(process.waitForFinished(3000));
    output += process.readAllStandardOutput();
    EXPECT_NE(output.indexOf("alice (seat 1) sits down"), -1) << output.toStdString();
}

TEST(Executable, RefusesAndReportsClientFramesThatBreakTheRulesWhenAsked)
{
    QProcess process;
    process.setProgram(QStringLiteral(TESSAROC_TABLESERVER_PATH));
    process.setArguments({QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--check-client-frames")});
    process.start();
    ASSERT_TRUE(process.waitForStarted(3000));
    QByteArray output;
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QRegularExpressionMatch match;
    ASSERT_TRUE(waitUntil(
            [&] {
                output += process.readAllStandardOutput();
                match = listening.match(QString::fromUtf8(output));
                return match.hasMatch();
            },
            5000));
    const auto port = static_cast<quint16>(match.captured(1).toUInt());

    // A login as the client builds it is taken; a keep-alive with a stray
    // byte is refused and reported.
    auto link = connectScripted(port);
    ASSERT_TRUE(link);
    link->send(loginFrame("alice", "secret"));
    const Expectation answer = link->expect(wire::CmdLogin, "b15=1");
    ASSERT_TRUE(answer) << answer.failure;
    MessageFrame stray = keepAliveFrame(0);
    stray.setU16le(wire::offset::kEcho, answer.frame.u16le(wire::offset::kEcho));
    stray.setByte(50, 1);
    link->send(stray);
    QByteArray errors;
    EXPECT_TRUE(waitUntil(
            [&] {
                errors += process.readAllStandardError();
                return errors.contains("refused");
            },
            3000));
    EXPECT_NE(errors.indexOf("[50] expected 00 got 01"), -1) << errors.toStdString();

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(3000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3);
}
