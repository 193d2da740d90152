#include "platform/ServerLink.h"
#include "LoopbackPeer.h"
#include "SocksProxy.h"
#include "wire/CommandLine.h"
#include "wire/SentFrames.h"


#include <gtest/gtest.h>

using namespace tessaroc;
using namespace tessaroc::platform;
using namespace tessaroc::test;

namespace {

const QByteArray Greeting = bytesOf({5, 2, 0, 2});
const QByteArray AuthRequest = bytesOf({1, 5, 'p', 'u', 's', 'e', 'r', 5, 'p', 'p', 'a', 's', 's'});
const QByteArray ConnectRequest = bytesOf({5, 1, 0, 1, 10, 1, 2, 3, 23, 112});
const QByteArray ConnectOkIPv4 = bytesOf({5, 0, 0, 1, 127, 0, 0, 1, 0x1f, 0x90});
const QByteArray ConnectOkDomain
        = bytesOf({5, 0, 0, 3, 9, 'l', 'o', 'c', 'a', 'l', 'h', 'o', 's', 't', 0x1f, 0x90});
const QByteArray ConnectOkIPv6
        = bytesOf({5, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x1f, 0x90});

const wire::Socks5Target Target{"puser", "ppass", "10.1.2.3", 6000};

const QString MethodFailed = QString::fromUtf8("请求代理失败！");
const QString AuthFailed = QString::fromUtf8("代理服务器用户验证失败！");
const QString ConnectFailed = QString::fromUtf8("通过代理连接主站失败！");

QByteArray frameBytes(const wire::MessageFrame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()),
                      static_cast<qsizetype>(wire::kFrameSize));
}

// The client side as the main loop will hold it: rings, the link, and the
// reactions to its signals that the table has (the login frame goes out when
// the proxy connected), with the arrivals that run the receive slot counted.
struct Client
{
    wire::MsgRings rings;
    ManualClock clock{1000};
    ServerLink link{rings, clock};
    wire::MessageFrame login = wire::LoginFrame{.account = "alice", .password = "secret"}.encode();
    int arrivals = 0;
    int received = 0; // arrivals stored in the receive ring
    bool connected = false;
    bool overflow = false;
    QString failure;
    int socketStateAtFailure = -1;

    Client()
    {
        QObject::connect(&link.Winsock1(), &WinsockControl::DataArrival,
                         [this](qint64) { ++arrivals; });
        QObject::connect(&link, &ServerLink::received, [this] { ++received; });
        QObject::connect(&link, &ServerLink::proxyConnected, [this] {
            connected = true;
            link.Winsock1().SendData(frameBytes(login));
        });
        QObject::connect(&link, &ServerLink::proxyFailed, [this](const QString &message) {
            failure = message;
            socketStateAtFailure = link.Winsock1().State();
        });
        QObject::connect(&link, &ServerLink::receiveOverflow, [this] { overflow = true; });
    }

    bool ended() const { return connected || !failure.isEmpty(); }
};

// One exchange with a scripted proxy: after the greeting, each reply is
// written (the one numbered `splitReply` in two pieces, the second only after
// the client has taken the first), and each request the client answers with
// is checked.
struct ProxyRow
{
    std::string name;
    std::vector<QByteArray> replies;
    std::vector<QByteArray> requests; // sent after each reply but the last
    QString failure; // empty: the proxy connects the client
};

// A row prints as its name, the proxy's replies and the client's requests in
// hex, and the failure it expects.
void PrintTo(const ProxyRow &row, std::ostream *os)
{
    *os << row.name << ":";
    for (const QByteArray &reply : row.replies)
        *os << " reply " << reply.toHex(' ').toStdString() << ";";
    for (const QByteArray &request : row.requests)
        *os << " request " << request.toHex(' ').toStdString() << ";";
    *os << " failure \"" << row.failure.toStdString() << '"';
}

void runRow(const ProxyRow &row, int splitReply, int splitAt)
{
    LoopbackPeer proxy;
    Client client;
    ASSERT_TRUE(
            client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), proxy.port(), Target));
    ASSERT_EQ(proxy.read(Greeting.size()), Greeting);
    for (std::size_t i = 0; i < row.replies.size(); ++i) {
        const QByteArray &reply = row.replies[i];
        if (static_cast<int>(i) == splitReply) {
            const int before = client.arrivals;
            proxy.write(reply.left(splitAt));
            ASSERT_TRUE(waitUntil([&] { return client.arrivals > before; }));
            ASSERT_FALSE(client.ended()) << "judged before the reply was whole";
            proxy.write(reply.mid(splitAt));
        } else {
            proxy.write(reply);
        }
        if (i < row.requests.size()) {
            ASSERT_EQ(proxy.read(row.requests[i].size()).toHex(), row.requests[i].toHex());
        }
    }
    ASSERT_TRUE(waitUntil([&] { return client.ended(); }));
    if (row.failure.isEmpty()) {
        EXPECT_TRUE(client.rings.RingMode);
        EXPECT_EQ(proxy.read(wire::kFrameSize), frameBytes(client.login))
                << "the login frame follows the CONNECT reply";
        EXPECT_EQ(client.link.Winsock1().State(), WinsockControl::sckConnected);
    } else {
        EXPECT_EQ(client.failure, row.failure);
        EXPECT_EQ(client.socketStateAtFailure, WinsockControl::sckConnected)
                << "the player sees the message before the socket closes";
        EXPECT_FALSE(client.connected);
        EXPECT_TRUE(proxy.closedByClient());
        EXPECT_EQ(client.link.Winsock1().State(), WinsockControl::sckClosed);
    }
}

QByteArray connectReply(int rep)
{
    QByteArray reply = ConnectOkIPv4;
    reply[1] = static_cast<char>(rep);
    return reply;
}

std::vector<ProxyRow> proxyRows()
{
    std::vector<ProxyRow> rows{
            {"method00", {bytesOf({5, 0}), ConnectOkIPv4}, {ConnectRequest}, {}},
            {"method02",
             {bytesOf({5, 2}), bytesOf({1, 0}), ConnectOkIPv4},
             {AuthRequest, ConnectRequest},
             {}},
            {"methodFF", {bytesOf({5, 0xFF})}, {}, MethodFailed},
            {"methodUnknown", {bytesOf({5, 0x80})}, {}, MethodFailed},
            {"authStatus0",
             {bytesOf({5, 2}), bytesOf({1, 0}), ConnectOkIPv4},
             {AuthRequest, ConnectRequest},
             {}},
            {"authStatusNonZero", {bytesOf({5, 2}), bytesOf({1, 1})}, {AuthRequest}, AuthFailed},
            {"atypDomain", {bytesOf({5, 0}), ConnectOkDomain}, {ConnectRequest}, {}},
            {"atypIPv6", {bytesOf({5, 0}), ConnectOkIPv6}, {ConnectRequest}, {}},
    };
    for (int rep = 1; rep <= 9; ++rep) {
        rows.push_back({"connectRep" + std::to_string(rep),
                        {bytesOf({5, 0}), connectReply(rep)},
                        {ConnectRequest},
                        ConnectFailed});
    }
    return rows;
}

} // namespace

class ScriptedProxy : public testing::TestWithParam<ProxyRow>
{
};

TEST_P(ScriptedProxy, WholeReplies)
{
    runRow(GetParam(), -1, 0);
}

TEST_P(ScriptedProxy, EveryReplySplitAtEveryByte)
{
    const ProxyRow &row = GetParam();
    for (std::size_t reply = 0; reply < row.replies.size(); ++reply) {
        for (int at = 1; at < row.replies[reply].size(); ++at) {
            SCOPED_TRACE(testing::Message() << "reply " << reply << " split at " << at);
            runRow(row, static_cast<int>(reply), at);
            if (HasFatalFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Socks5, ScriptedProxy, testing::ValuesIn(proxyRows()),
                         [](const testing::TestParamInfo<ProxyRow> &p) { return p.param.name; });

TEST(ScriptedProxyEdges, FramesInTheSameWriteAsTheConnectReplyReachTheRing)
{
    LoopbackPeer proxy;
    Client client;
    ASSERT_TRUE(
            client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), proxy.port(), Target));
    proxy.read(Greeting.size());
    proxy.write(bytesOf({5, 0}));
    proxy.read(ConnectRequest.size());
    const wire::MessageFrame answer = wire::ReadyOrLeaveFrame{2, true}.encode();
    proxy.write(ConnectOkIPv4 + frameBytes(answer));
    ASSERT_TRUE(waitUntil([&] { return client.connected; }));
    wire::MessageFrame received;
    ASSERT_TRUE(client.rings.RecvRing.takeFrame(received));
    EXPECT_EQ(received, answer);
    EXPECT_EQ(client.received, 1);
}

TEST(ScriptedProxyEdges, ReplyCutShortFailsWithTheStepsMessage)
{
    struct Case
    {
        std::vector<QByteArray> replies; // the last one is cut short, then the proxy closes
        QString failure;
    };
    for (const Case &c :
         {Case{{bytesOf({5})}, MethodFailed}, Case{{bytesOf({5, 2}), bytesOf({1})}, AuthFailed},
          Case{{bytesOf({5, 0}), bytesOf({5, 0, 0, 1, 127, 0})}, ConnectFailed}}) {
        LoopbackPeer proxy;
        Client client;
        ASSERT_TRUE(client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), proxy.port(),
                                                     Target));
        proxy.read(Greeting.size());
        for (std::size_t i = 0; i < c.replies.size(); ++i) {
            proxy.write(c.replies[i]);
            if (i + 1 < c.replies.size())
                proxy.read(i == 0 && c.replies[i] == bytesOf({5, 2}) ? AuthRequest.size()
                                                                     : ConnectRequest.size());
        }
        proxy.accept()->disconnectFromHost();
        ASSERT_TRUE(waitUntil([&] { return client.ended(); }));
        EXPECT_EQ(client.failure, c.failure);
        EXPECT_EQ(client.link.Winsock1().State(), WinsockControl::sckClosed);
    }
}

TEST(ScriptedProxyEdges, NoAnswerAtAllFailsWhenTheTimeIsUp)
{
    LoopbackPeer proxy;
    Client client;
    ASSERT_TRUE(
            client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), proxy.port(), Target));
    ASSERT_EQ(proxy.read(Greeting.size()), Greeting);
    client.clock.advance(wire::kSocks5TimeLimitMs - 1);
    waitUntil([] { return false; }, 250);
    EXPECT_FALSE(client.ended());
    client.clock.advance(1);
    ASSERT_TRUE(waitUntil([&] { return client.ended(); }));
    EXPECT_EQ(client.failure, MethodFailed);
    EXPECT_TRUE(proxy.closedByClient());
}

TEST(ScriptedProxyEdges, AProxyThatRefusesTheConnectionFailsAtOnce)
{
    quint16 deadPort = 0;
    {
        LoopbackPeer gone;
        deadPort = gone.port();
    }
    Client client;
    EXPECT_FALSE(client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), deadPort, Target));
    EXPECT_EQ(client.failure, MethodFailed);
    EXPECT_EQ(client.link.Winsock1().State(), WinsockControl::sckClosed);
}

TEST(ScriptedProxyEdges, AConnectionStartedWhileTheRefusalShowsIsNotClosedByIt)
{
    LoopbackPeer first;
    LoopbackPeer second;
    Client client;
    // The hall asks for a new connection while the player still reads the
    // message of the refused one.
    bool reconnected = false;
    QObject::connect(&client.link, &ServerLink::proxyFailed, [&] {
        reconnected = client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), second.port(),
                                                       Target);
    });
    ASSERT_TRUE(
            client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), first.port(), Target));
    ASSERT_EQ(first.read(Greeting.size()), Greeting);
    first.write(bytesOf({5, 0xFF}));
    ASSERT_TRUE(waitUntil([&] { return reconnected; }));
    EXPECT_TRUE(first.closedByClient());

    ASSERT_EQ(second.read(Greeting.size()), Greeting);
    EXPECT_EQ(client.link.Winsock1().State(), WinsockControl::sckConnected);
    second.write(bytesOf({5, 0}));
    EXPECT_EQ(second.read(ConnectRequest.size()), ConnectRequest);
    second.write(ConnectOkIPv4);
    ASSERT_TRUE(waitUntil([&] { return client.connected; }));
    EXPECT_EQ(second.read(wire::kFrameSize), frameBytes(client.login));
}

TEST(ServerLinkRingMode, ArrivalsFillTheRingAndAnOverflowIsReported)
{
    LoopbackPeer server;
    Client client;
    WinsockControl &socket = client.link.Winsock1();
    socket.setRemoteHost(QStringLiteral("127.0.0.1"));
    socket.setRemotePort(server.port());
    socket.Connect();
    ASSERT_NE(server.accept(), nullptr);

    const QByteArray frame = frameBytes(wire::KeepAliveFrame{1}.encode());
    for (int at : {0, 100, 200}) {
        server.write(frame.mid(at, 100));
        waitUntil([&] { return client.arrivals > at / 100; });
    }
    ASSERT_TRUE(waitUntil([&] { return client.rings.RecvRing.hasFrame(); }));
    EXPECT_EQ(client.received, client.arrivals) << "every arrival runs the receive slot";

    server.write(QByteArray(static_cast<qsizetype>(wire::kRingSize), 'x'));
    ASSERT_TRUE(waitUntil([&] { return client.overflow; }));

    server.accept()->disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return socket.State() == WinsockControl::sckClosed; }));
}

TEST(Microsocks, RealLoginThroughAProxyWithUserAndPassword)
{
    SocksProxy proxy(QStringLiteral("tuser"), QStringLiteral("tpass"));
    if (!proxy.installed())
        GTEST_SKIP() << "microsocks is not installed";
    ASSERT_TRUE(proxy.start());

    for (const char *password : {"wrong", "tpass"}) {
        SCOPED_TRACE(password);
        LoopbackPeer game;
        Client client;
        const wire::Socks5Target target{"tuser", password, "127.0.0.1", game.port()};
        ASSERT_TRUE(
                client.link.ConnectToSock5Server(QStringLiteral("127.0.0.1"), proxy.port(), target));
        ASSERT_TRUE(waitUntil([&] { return client.ended(); }));
        if (std::string_view(password) == "wrong") {
            EXPECT_EQ(client.failure, AuthFailed);
            continue;
        }
        ASSERT_TRUE(client.connected) << client.failure.toStdString();
        EXPECT_EQ(game.read(wire::kFrameSize), frameBytes(client.login));

        // Two frames from the server in one write, one from the client's send
        // ring back.
        const wire::MessageFrame first = wire::ReadyOrLeaveFrame{1, true}.encode();
        const wire::MessageFrame second = wire::KeepAliveFrame{2}.encode();
        game.write(frameBytes(first) + frameBytes(second));
        ASSERT_TRUE(
                waitUntil([&] { return client.rings.RecvRing.waiting() == 2 * wire::kFrameSize; }));
        wire::MessageFrame received;
        ASSERT_TRUE(client.rings.RecvRing.takeFrame(received));
        EXPECT_EQ(received, first);
        ASSERT_TRUE(client.rings.RecvRing.takeFrame(received));
        EXPECT_EQ(received, second);

        client.rings.EchoBytes = {3, 4};
        wire::MessageFrame bid = wire::BidFrame{1, true}.encode();
        wire::SendMsg(client.rings, bid);
        wire::MessageFrame queued;
        ASSERT_TRUE(client.rings.SendRing.takeFrame(queued));
        ASSERT_TRUE(client.link.Winsock1().SendData(frameBytes(queued)));
        EXPECT_EQ(game.read(wire::kFrameSize), frameBytes(bid));
    }
}
