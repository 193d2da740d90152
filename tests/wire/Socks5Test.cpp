#include "wire/Socks5.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>

using namespace tessaroc::wire;

namespace {

using Bytes = std::vector<std::uint8_t>;

const Socks5Target Target{"puser", "ppass", "10.1.2.3", 6000};

const Bytes ConnectOkIPv4{5, 0, 0, 1, 127, 0, 0, 1, 0x1f, 0x90};
const Bytes ConnectOkDomain{5, 0, 0, 3, 9, 'l', 'o', 'c', 'a', 'l', 'h', 'o', 's', 't', 0x1f, 0x90};
const Bytes ConnectOkIPv6{5, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x1f, 0x90};

Bytes connectReply(std::uint8_t rep, std::uint8_t atyp = 1)
{
    Bytes reply = ConnectOkIPv4;
    reply[1] = rep;
    reply[3] = atyp;
    return reply;
}

Bytes concat(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ScriptCase
{
    std::string name;
    std::vector<Bytes> replies;
    // Requests the client sends after the greeting, one per reply that moves
    // the handshake on.
    std::vector<Bytes> requests;
    Socks5Failure failure; // None: connected
    Bytes serverBytes = {}; // what follows the CONNECT reply
};

void PrintTo(const ScriptCase &c, std::ostream *os)
{
    *os << c.name << ", replies:";
    for (const Bytes &reply : c.replies) {
        *os << ' ';
        for (const std::uint8_t b : reply)
            *os << "0123456789abcdef"[b >> 4] << "0123456789abcdef"[b & 15];
    }
}

const Bytes AuthRequest{1, 5, 'p', 'u', 's', 'e', 'r', 5, 'p', 'p', 'a', 's', 's'};
const Bytes ConnectRequest{5, 1, 0, 1, 10, 1, 2, 3, 23, 112};

std::vector<ScriptCase> scriptCases()
{
    std::vector<ScriptCase> cases{
            {"method00", {{5, 0}, ConnectOkIPv4}, {ConnectRequest}, Socks5Failure::None},
            {"method02",
             {{5, 2}, {1, 0}, ConnectOkIPv4},
             {AuthRequest, ConnectRequest},
             Socks5Failure::None},
            {"methodFF", {{5, 0xFF}}, {}, Socks5Failure::MethodRefused},
            {"methodUnknown", {{5, 1}}, {}, Socks5Failure::MethodRefused},
            {"methodWrongVersion", {{4, 0}}, {}, Socks5Failure::MethodRefused},
            {"authRefused", {{5, 2}, {1, 1}}, {AuthRequest}, Socks5Failure::AuthRefused},
            {"authWrongVersion", {{5, 2}, {5, 0}}, {AuthRequest}, Socks5Failure::AuthRefused},
            {"atypDomain", {{5, 0}, ConnectOkDomain}, {ConnectRequest}, Socks5Failure::None},
            {"atypIPv6", {{5, 0}, ConnectOkIPv6}, {ConnectRequest}, Socks5Failure::None},
            {"atypUnknown",
             {{5, 0}, {5, 0, 0, 7}},
             {ConnectRequest},
             Socks5Failure::ConnectRefused},
            {"connectWrongVersion",
             {{5, 0}, {4, 0, 0, 1, 0, 0, 0, 0, 0, 0}},
             {ConnectRequest},
             Socks5Failure::ConnectRefused},
            {"serverBytesFollowTheReply",
             {{5, 0}, concat(ConnectOkIPv4, {18, 0, 0, 7})},
             {ConnectRequest},
             Socks5Failure::None,
             {18, 0, 0, 7}},
    };
    for (std::uint8_t rep : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFF}) {
        cases.push_back({"connectRep" + std::to_string(rep),
                         {{5, 0}, connectReply(rep)},
                         {ConnectRequest},
                         Socks5Failure::ConnectRefused});
    }
    return cases;
}

// Runs a script; reply number `splitReply` arrives in two pieces cut at
// `splitAt`. Checks that nothing is judged before a reply is whole.
void runScript(const ScriptCase &c, std::optional<std::size_t> splitReply, std::size_t splitAt)
{
    MsgRings rings;
    Socks5Handshake hs;
    BeginSock5Connection(rings, hs, Target, 0);
    EXPECT_FALSE(rings.RingMode);
    Socks5Event ev = hs.onSocketConnected();
    ASSERT_EQ(ev.kind, Socks5Event::Send);
    EXPECT_EQ(ev.bytes, Socks5Greeting());

    std::vector<Bytes> sent;
    ArrivalResult last;
    for (std::size_t i = 0; i < c.replies.size(); ++i) {
        const Bytes &reply = c.replies[i];
        std::span<const std::uint8_t> whole(reply);
        if (splitReply == i) {
            last = Winsock1_DataArrival(rings, hs, whole.first(splitAt));
            ASSERT_EQ(last.proxy.kind, Socks5Event::None) << "judged before the reply was whole";
            whole = whole.subspan(splitAt);
        }
        last = Winsock1_DataArrival(rings, hs, whole);
        ASSERT_FALSE(last.overflow);
        if (last.proxy.kind == Socks5Event::Send)
            sent.push_back(last.proxy.bytes);
    }
    EXPECT_EQ(sent, c.requests);
    if (c.failure == Socks5Failure::None) {
        ASSERT_EQ(last.proxy.kind, Socks5Event::Connected);
        EXPECT_TRUE(rings.RingMode);
        EXPECT_TRUE(hs.succeeded());
        EXPECT_EQ(hs.Sock5Step, 6);
        EXPECT_EQ(rings.RecvRing.waiting(), c.serverBytes.size());
    } else {
        ASSERT_EQ(last.proxy.kind, Socks5Event::Failed);
        EXPECT_EQ(last.proxy.failure, c.failure);
        EXPECT_FALSE(rings.RingMode);
        EXPECT_FALSE(hs.running());
    }
}

} // namespace

class Socks5Script : public testing::TestWithParam<ScriptCase>
{
};

TEST_P(Socks5Script, WholeReplies)
{
    runScript(GetParam(), std::nullopt, 0);
}

TEST_P(Socks5Script, EveryReplySplitAtEveryByte)
{
    const auto &c = GetParam();
    for (std::size_t reply = 0; reply < c.replies.size(); ++reply) {
        // A split inside the server's bytes after the CONNECT reply is no
        // split of the reply itself.
        const std::size_t replyLength = c.replies[reply].size()
                - (reply + 1 == c.replies.size() ? c.serverBytes.size() : 0);
        for (std::size_t at = 1; at < replyLength; ++at) {
            SCOPED_TRACE(testing::Message() << "reply " << reply << " split at " << at);
            runScript(c, reply, at);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, Socks5Script, testing::ValuesIn(scriptCases()),
                         [](const testing::TestParamInfo<ScriptCase> &p) { return p.param.name; });

TEST(Socks5Requests, AreByteExact)
{
    EXPECT_EQ(Socks5Greeting(), (Bytes{5, 2, 0, 2}));
    EXPECT_EQ(Socks5AuthRequest("", ""), (Bytes{1, 0, 0}));
    EXPECT_EQ(Socks5AuthRequest("a中", "€"), (Bytes{1, 2, 'a', 0, 1, 0x80}));
    EXPECT_EQ(Socks5ConnectRequest("10.1.2.3", 6000), ConnectRequest);
    EXPECT_EQ(Socks5ConnectRequest("10.1.2.3", 65535), (Bytes{5, 1, 0, 1, 10, 1, 2, 3, 255, 255}));
    EXPECT_EQ(Socks5ConnectRequest("300.x..7.9", 0), (Bytes{5, 1, 0, 1, 0, 0, 0, 7, 0, 0}));
    EXPECT_EQ(Socks5ConnectRequest("game.example", 80), (Bytes{5, 1, 0, 1, 0, 0, 0, 0, 0, 80}));
    EXPECT_EQ(Socks5AuthRequest(std::string(300, 'u'), "").size(), 3u + 255u);
}

TEST(Socks5Failures, CarryTheirMessages)
{
    EXPECT_EQ(socks5FailureText(Socks5Failure::MethodRefused), "请求代理失败！");
    EXPECT_EQ(socks5FailureText(Socks5Failure::AuthRefused), "代理服务器用户验证失败！");
    EXPECT_EQ(socks5FailureText(Socks5Failure::ConnectRefused), "通过代理连接主站失败！");
}

TEST(Socks5Failures, SocketLostOrTimeUpFailsWithTheAwaitedStepsMessage)
{
    struct Case
    {
        std::vector<Bytes> replies; // what arrived before the loss
        Socks5Failure failure;
    };
    const std::vector<Case> cases{
            {{}, Socks5Failure::MethodRefused},
            {{{5}}, Socks5Failure::MethodRefused},
            {{{5, 2}}, Socks5Failure::AuthRefused},
            {{{5, 2}, {1}}, Socks5Failure::AuthRefused},
            {{{5, 0}}, Socks5Failure::ConnectRefused},
            {{{5, 0}, {5, 0, 0, 1, 1, 2}}, Socks5Failure::ConnectRefused},
    };
    for (bool byClock : {false, true}) {
        for (const Case &c : cases) {
            Socks5Handshake hs;
            hs.begin(Target, 1000);
            hs.onSocketConnected();
            for (const Bytes &reply : c.replies)
                ASSERT_NE(hs.onBytes(reply).kind, Socks5Event::Failed);
            Socks5Event ev;
            if (byClock) {
                EXPECT_EQ(hs.onClock(1000 + kSocks5TimeLimitMs - 1).kind, Socks5Event::None);
                ev = hs.onClock(1000 + kSocks5TimeLimitMs);
            } else {
                ev = hs.onSocketLost();
            }
            EXPECT_EQ(ev.kind, Socks5Event::Failed);
            EXPECT_EQ(ev.failure, c.failure);
        }
    }
}

TEST(Socks5Failures, AProxyThatNeverAcceptsFailsAfterTheLimit)
{
    Socks5Handshake hs;
    hs.begin(Target, 50);
    EXPECT_TRUE(hs.running());
    EXPECT_EQ(hs.onClock(50 + kSocks5TimeLimitMs).failure, Socks5Failure::MethodRefused);
    EXPECT_EQ(hs.Sock5Step, 0);
    // Once failed, nothing more happens.
    EXPECT_EQ(hs.onSocketConnected().kind, Socks5Event::None);
    EXPECT_EQ(hs.onSocketLost().kind, Socks5Event::None);
}

TEST(Socks5Failures, AfterSuccessTheClockAndALostSocketDoNothing)
{
    Socks5Handshake hs;
    hs.begin(Target, 0);
    hs.onSocketConnected();
    hs.onBytes(Bytes{5, 0});
    ASSERT_EQ(hs.onBytes(ConnectOkIPv4).kind, Socks5Event::Connected);
    EXPECT_EQ(hs.onClock(kSocks5TimeLimitMs * 2).kind, Socks5Event::None);
    EXPECT_EQ(hs.onSocketLost().kind, Socks5Event::None);
}

TEST(Socks5Buffer, ExtraBytesAfterAMethodReplyAreNotTakenForTheNextReply)
{
    Socks5Handshake hs;
    hs.begin(Target, 0);
    hs.onSocketConnected();
    Socks5Event ev = hs.onBytes(Bytes{5, 2, 9, 9, 9});
    ASSERT_EQ(ev.kind, Socks5Event::Send);
    EXPECT_EQ(ev.bytes, AuthRequest);
    EXPECT_EQ(hs.onBytes(Bytes{1, 0}).kind, Socks5Event::Send);
}

TEST(Socks5Buffer, MoreThan1023UnjudgedBytesOverflow)
{
    MsgRings rings;
    Socks5Handshake hs;
    BeginSock5Connection(rings, hs, Target, 0);
    // Still connecting: nothing is judged, everything waits in the buffer.
    const Bytes junk(1023, 0x41);
    const ArrivalResult waiting = Winsock1_DataArrival(rings, hs, junk);
    EXPECT_FALSE(waiting.overflow);
    EXPECT_FALSE(waiting.stored) << "the handshake's bytes are no frames for the receive slot";
    EXPECT_TRUE(Winsock1_DataArrival(rings, hs, Bytes{1}).overflow);
}

TEST(Socks5Buffer, ABigArrivalAfterTheConnectReplyGoesWhollyToTheRing)
{
    MsgRings rings;
    Socks5Handshake hs;
    BeginSock5Connection(rings, hs, Target, 0);
    hs.onSocketConnected();
    Winsock1_DataArrival(rings, hs, Bytes{5, 0});
    Bytes arrival = ConnectOkIPv4;
    for (std::size_t i = 0; i < 3 * kFrameSize; ++i)
        arrival.push_back(static_cast<std::uint8_t>(i));
    const ArrivalResult r = Winsock1_DataArrival(rings, hs, arrival);
    EXPECT_FALSE(r.overflow);
    EXPECT_EQ(r.proxy.kind, Socks5Event::Connected);
    EXPECT_EQ(rings.RecvRing.waiting(), 3 * kFrameSize);
    EXPECT_TRUE(r.stored);
    MessageFrame first;
    ASSERT_TRUE(rings.RecvRing.takeFrame(first));
    EXPECT_EQ(first.byteAt(0), 0);
    EXPECT_EQ(first.byteAt(5), 5);
}

TEST(Socks5Buffer, BeginEmptiesTheMessageRings)
{
    MsgRings rings;
    ReceiveIntoRing(rings, Bytes(100, 1));
    Socks5Handshake hs;
    BeginSock5Connection(rings, hs, Target, 0);
    EXPECT_EQ(rings.RecvRing.waiting(), 0u);
    EXPECT_FALSE(rings.RingMode);
}
