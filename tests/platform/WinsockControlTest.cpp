#include "platform/WinsockControl.h"
#include "LoopbackPeer.h"

#include <gtest/gtest.h>

using namespace tessaroc::platform;
using namespace tessaroc::test;

namespace {

struct Events
{
    int arrivals = 0;
    int closes = 0;
    int connects = 0;
    int errors = 0;
    int lastError = 0;

    explicit Events(WinsockControl &socket)
    {
        QObject::connect(&socket, &WinsockControl::DataArrival, [this](qint64) { ++arrivals; });
        QObject::connect(&socket, &WinsockControl::Closed, [this] { ++closes; });
        QObject::connect(&socket, &WinsockControl::Connected, [this] { ++connects; });
        QObject::connect(&socket, &WinsockControl::Error, [this](int number, const QString &) {
            ++errors;
            lastError = number;
        });
    }
};

} // namespace

TEST(WinsockControl, ConnectsSendsReceivesAndSeesTheOtherSideClose)
{
    LoopbackPeer peer;
    WinsockControl socket;
    Events events(socket);
    EXPECT_EQ(socket.State(), WinsockControl::sckClosed);
    EXPECT_FALSE(socket.SendData(bytesOf({1})));

    socket.setRemoteHost(QStringLiteral("127.0.0.1"));
    socket.setRemotePort(peer.port());
    socket.Connect();
    EXPECT_EQ(socket.State(), WinsockControl::sckConnecting);
    ASSERT_TRUE(waitUntil([&] { return events.connects == 1; }));
    EXPECT_EQ(socket.State(), WinsockControl::sckConnected);

    EXPECT_TRUE(socket.SendData(bytesOf({1, 2, 3})));
    EXPECT_EQ(peer.read(3), bytesOf({1, 2, 3}));

    peer.write(bytesOf({9, 8}));
    ASSERT_TRUE(waitUntil([&] { return events.arrivals > 0; }));
    EXPECT_EQ(socket.GetData(), bytesOf({9, 8}));
    EXPECT_TRUE(socket.GetData().isEmpty());

    peer.accept()->close();
    ASSERT_TRUE(waitUntil([&] { return events.closes == 1; }));
    EXPECT_EQ(socket.State(), WinsockControl::sckClosing);
    EXPECT_EQ(events.errors, 0);
    socket.Close();
    EXPECT_EQ(socket.State(), WinsockControl::sckClosed);
    EXPECT_EQ(events.closes, 1) << "Close raises no event of its own";
}

TEST(WinsockControl, RefusedConnectionIsAnErrorUntilClosed)
{
    quint16 deadPort = 0;
    {
        LoopbackPeer gone;
        deadPort = gone.port();
    }
    WinsockControl socket;
    Events events(socket);
    socket.setRemoteHost(QStringLiteral("127.0.0.1"));
    socket.setRemotePort(deadPort);
    socket.Connect();
    ASSERT_TRUE(waitUntil([&] { return events.errors == 1; }));
    EXPECT_EQ(events.lastError, WinsockControl::sckConnectionRefused);
    EXPECT_EQ(socket.State(), WinsockControl::sckError);
    EXPECT_EQ(events.closes, 0);
    socket.Close();
    EXPECT_EQ(socket.State(), WinsockControl::sckClosed);
}

TEST(WinsockControl, ConnectAgainDropsTheStandingConnection)
{
    LoopbackPeer first;
    LoopbackPeer second;
    WinsockControl socket;
    Events events(socket);
    socket.setRemoteHost(QStringLiteral("127.0.0.1"));
    socket.setRemotePort(first.port());
    socket.Connect();
    ASSERT_TRUE(waitUntil([&] { return events.connects == 1; }));
    ASSERT_NE(first.accept(), nullptr);

    socket.setRemotePort(second.port());
    socket.Connect();
    ASSERT_TRUE(waitUntil([&] { return events.connects == 2; }));
    EXPECT_TRUE(first.closedByClient());
    EXPECT_EQ(events.closes, 0);
    EXPECT_TRUE(socket.SendData(bytesOf({5})));
    EXPECT_EQ(second.read(1), bytesOf({5}));
}
