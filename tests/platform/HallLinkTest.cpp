#include "platform/HallLink.h"
#include "LoopbackPeer.h"
#include "wire/HallMessages.h"

#include <QDateTime>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

using namespace tessaroc::platform;
using namespace tessaroc::test;

namespace {

constexpr std::uint32_t SysCommand = tessaroc::wire::kSysCommand;
constexpr std::int64_t Restore = tessaroc::wire::kScRestore;
constexpr std::uint32_t AskInGame = tessaroc::wire::kHallMsgAskInGame;
constexpr std::uint32_t Connecting = tessaroc::wire::kTableMsgConnecting;
constexpr std::uint32_t Connected = tessaroc::wire::kTableMsgConnected;
constexpr std::uint32_t HandStart = tessaroc::wire::kTableMsgHandStart;

// Captions unique to this process, so test processes running side by side
// never meet.
QString caption(const char *name)
{
    return QString::fromUtf8(name) + QLatin1Char('-')
            + QString::number(QCoreApplication::applicationPid());
}

struct Received
{
    std::uint32_t msg;
    std::int64_t wParam;
    std::int64_t lParam;
    bool operator==(const Received &) const = default;
};

// A window that records what it receives and answers with `answer`.
struct Window
{
    HallLink link;
    std::vector<Received> received;
    std::int64_t answer = 0;

    explicit Window(const QString &ownCaption)
    {
        EXPECT_TRUE(link.listen(ownCaption));
        link.setHandler([this](std::uint32_t msg, std::int64_t w, std::int64_t l) {
            received.push_back({msg, w, l});
            return answer;
        });
    }
};

} // namespace

TEST(HallLink, RecordLayoutIsLittleEndianAndFixed)
{
    const QByteArray bytes
            = HallLink::encodeRecord({HallLink::Kind::Send, SysCommand, Restore, -2});
    ASSERT_EQ(bytes.size(), HallLink::kRecordSize);
    EXPECT_EQ(bytes.toHex(),
              QByteArray("01000000120100"
                         "0020f1000000000000"
                         "feffffffffffffff"));
    const HallLink::Record back = HallLink::decodeRecord(bytes.constData());
    EXPECT_EQ(back.kind, HallLink::Kind::Send);
    EXPECT_EQ(back.msg, SysCommand);
    EXPECT_EQ(back.wParam, Restore);
    EXPECT_EQ(back.lParam, -2);
}

TEST(HallLink, ServerNamesAreShortAndSafeForAnyCaption)
{
    const QString plain = HallLink::serverNameFor(QStringLiteral("Ombrevale"));
    EXPECT_TRUE(plain.startsWith(QStringLiteral("tessaroc-wnd-")));
    EXPECT_EQ(plain.size(), 13 + 32);
    for (const QString &odd : {QString::fromUtf8("斗地主 / 第1桌"), QString(1000, QLatin1Char('x')),
                               QStringLiteral("../../etc"), QString()}) {
        const QString name = HallLink::serverNameFor(odd);
        EXPECT_EQ(name.size(), plain.size());
        EXPECT_FALSE(name.contains(QLatin1Char('/')));
        EXPECT_NE(name, plain);
    }
}

TEST(HallLink, FindsWindowsByCaptionAndSendsWithAnAnswer)
{
    Window hall(caption("Hall"));
    HallLink table;
    hall.answer = 42;
    EXPECT_TRUE(table.findWindow(caption("Hall")));
    EXPECT_FALSE(table.findWindow(caption("Nobody")));

    const auto result = table.sendMessage(caption("Hall"), SysCommand, Restore, 7);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 42);
    EXPECT_EQ(hall.received, (std::vector<Received>{{SysCommand, Restore, 7}}));
}

TEST(HallLink, PostsArriveInOrderWithoutWaiting)
{
    Window hall(caption("Hall"));
    HallLink table;
    for (std::uint32_t msg : {Connecting, Connecting, Connected, HandStart})
        EXPECT_TRUE(table.postMessage(caption("Hall"), msg));
    EXPECT_TRUE(hall.received.empty()) << "a post does not wait for the hall";
    ASSERT_TRUE(waitUntil([&] { return hall.received.size() == 4; }));
    EXPECT_EQ(
            hall.received,
            (std::vector<Received>{
                    {Connecting, 0, 0}, {Connecting, 0, 0}, {Connected, 0, 0}, {HandStart, 0, 0}}));

    // A send after posts is answered after them.
    EXPECT_TRUE(table.sendMessage(caption("Hall"), SysCommand, Restore, 0).has_value());
    EXPECT_EQ(hall.received.back().msg, SysCommand);
}

TEST(HallLink, AWindowTakesARequestBackWhileItWaits)
{
    Window table(caption("Table"));
    HallLink hall;
    ASSERT_TRUE(hall.listen(caption("Hall")));
    table.answer = 1125;
    // The hall, asked to restore, first asks the table whether it plays.
    hall.setHandler([&](std::uint32_t msg, std::int64_t, std::int64_t) -> std::int64_t {
        if (msg != SysCommand)
            return 0;
        return hall.sendMessage(caption("Table"), AskInGame, 0, 0).value_or(-1);
    });

    const auto result = table.link.sendMessage(caption("Hall"), SysCommand, Restore, 0);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 1125);
    EXPECT_EQ(table.received, (std::vector<Received>{{AskInGame, 0, 0}}));
}

TEST(HallLink, AWindowThatIsGoneIsNotFound)
{
    auto hall = std::make_unique<Window>(caption("Hall"));
    HallLink table;
    ASSERT_TRUE(table.postMessage(caption("Hall"), Connected));
    ASSERT_TRUE(waitUntil([&] { return hall->received.size() == 1; }));

    hall->link.stopListening();
    EXPECT_FALSE(table.findWindow(caption("Hall")));
    EXPECT_FALSE(table.postMessage(caption("Hall"), Connected));
    EXPECT_FALSE(table.sendMessage(caption("Hall"), SysCommand, Restore, 0).has_value());

    hall.reset();
    EXPECT_FALSE(table.findWindow(caption("Hall")));

    // A new window under the caption is found again.
    Window again(caption("Hall"));
    EXPECT_TRUE(table.sendMessage(caption("Hall"), SysCommand, Restore, 0).has_value());
}

TEST(HallLink, AHallThatNeverAnswersCannotHangTheTable)
{
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(HallLink::serverPathFor(caption("Silent"))));
    HallLink table;
    table.setAnswerTimeoutMs(200);
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    EXPECT_FALSE(table.sendMessage(caption("Silent"), SysCommand, Restore, 0).has_value());
    EXPECT_LT(QDateTime::currentMSecsSinceEpoch() - before, 2000);
    EXPECT_TRUE(table.findWindow(caption("Silent")));
}

TEST(HallLink, TakesOverANameLeftByACrashButNotALiveOne)
{
    const QByteArray path = QFile::encodeName(HallLink::serverPathFor(caption("Stale")));
    ASSERT_FALSE(path.isEmpty());
    // A socket file nobody listens on, as a window that crashed leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ::unlink(path.constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    ::close(fd);

    Window table(caption("Stale"));
    EXPECT_TRUE(table.link.isListening());

    HallLink second;
    EXPECT_FALSE(second.listen(caption("Stale")));
    HallLink hall;
    EXPECT_TRUE(hall.postMessage(caption("Stale"), Connected));
    ASSERT_TRUE(waitUntil([&] { return table.received.size() == 1; }));
}

TEST(HallLink, UnknownRecordsAreSkipped)
{
    Window hall(caption("Hall"));
    QLocalSocket raw;
    raw.connectToServer(HallLink::serverPathFor(caption("Hall")));
    ASSERT_TRUE(raw.waitForConnected(1000));
    QByteArray junk = HallLink::encodeRecord({HallLink::Kind::Post, 5, 0, 0});
    junk[0] = 9;
    raw.write(junk);
    raw.write(HallLink::encodeRecord({HallLink::Kind::Answer, 6, 0, 0}));
    raw.write(HallLink::encodeRecord({HallLink::Kind::Post, 7, 1, 2}));
    raw.write(QByteArray(10, 'x')); // half a record waits for the rest
    raw.flush();
    ASSERT_TRUE(waitUntil([&] { return hall.received.size() == 1; }));
    EXPECT_EQ(hall.received, (std::vector<Received>{{7, 1, 2}}));
}

namespace {

// A raw end of a local socket at `path`, without Qt: connected (or, with
// `listening`, listening with room for a few connections), never blocking.
int rawSocket(const QString &path, bool listening)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(name.size()) >= sizeof addr.sun_path)
        return -1;
    std::memcpy(addr.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    const auto *address = reinterpret_cast<const sockaddr *>(&addr);
    const bool ready = listening ? ::bind(fd, address, sizeof addr) == 0 && ::listen(fd, 8) == 0
                                 : ::connect(fd, address, sizeof addr) == 0;
    if (fd >= 0 && !ready) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

// A peer that sends request after request and never reads the answers would
// have them pile up in the table for good: once a few hundred wait, the
// connection is closed. The window goes on serving everyone else.
TEST(HallLink, APeerThatNeverReadsItsAnswersIsCutOff)
{
    Window table(caption("Table"));
    const int peer = rawSocket(HallLink::serverPathFor(caption("Table")), false);
    ASSERT_GE(peer, 0);
    const QByteArray requests
            = HallLink::encodeRecord({HallLink::Kind::Send, AskInGame, 0, 0}).repeated(1024);
    qint64 sent = 0; // bytes, always whole records in the end
    const bool cut = waitUntil(
            [&] {
                const qsizetype at = sent % requests.size();
                const auto n = ::send(peer, requests.constData() + at,
                                      static_cast<std::size_t>(requests.size() - at), MSG_NOSIGNAL);
                if (n > 0)
                    sent += n;
                return n < 0 && errno != EAGAIN && errno != EWOULDBLOCK;
            },
            3000);
    ::close(peer);
    EXPECT_TRUE(cut) << sent / HallLink::kRecordSize << " requests sent, " << table.received.size()
                     << " handled, and the connection still open";

    HallLink hall;
    EXPECT_TRUE(hall.sendMessage(caption("Table"), AskInGame, 0, 0).has_value());
}

// The same for the table's posts to a window that takes the connection and
// never reads: the post that finds too many waiting fails and closes the
// connection; the next post connects afresh.
TEST(HallLink, AWindowThatNeverReadsLosesTheConnectionOfThePosts)
{
    const QString path = HallLink::serverPathFor(caption("Deaf"));
    QLocalServer::removeServer(path);
    const int deaf = rawSocket(path, true);
    ASSERT_GE(deaf, 0);
    HallLink table;
    constexpr int kEnough = 100000;
    int posted = 0;
    while (posted < kEnough && table.postMessage(caption("Deaf"), Connected))
        ++posted;
    EXPECT_LT(posted, kEnough) << "every post was taken, and all of them wait in the table";

    const int first = ::accept4(deaf, nullptr, nullptr, SOCK_NONBLOCK);
    ASSERT_GE(first, 0);
    char bytes[4096];
    qint64 read = 0;
    ssize_t n = 0;
    while ((n = ::read(first, bytes, sizeof bytes)) > 0)
        read += n;
    EXPECT_EQ(n, 0) << "the connection was closed";
    EXPECT_LE(read, qint64{posted} * HallLink::kRecordSize);
    EXPECT_TRUE(table.postMessage(caption("Deaf"), Connected));
    ::close(first);
    ::close(deaf);
    ::unlink(QFile::encodeName(path).constData());
}
