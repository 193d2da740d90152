// The hall link between two users of one machine: the other user's programs
// run as forked children that drop to that user's ids.

#include "LoopbackPeer.h"
#include "OtherUser.h"
#include "platform/HallLink.h"
#include "wire/HallMessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <optional>
#include <vector>

using namespace tessaroc::platform;
using namespace tessaroc::test;
using namespace tessaroc::wire;

namespace {

constexpr std::int64_t kHallAnswer = 42;
constexpr std::int64_t kIntruderAnswer = 666;

bool fillAddress(sockaddr_un &address, const QByteArray &path)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

void report(int fd, char what)
{
    [[maybe_unused]] const auto written = ::write(fd, &what, 1);
}

bool readFully(int fd, char *into, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        const auto n = ::read(fd, into + got, size - got);
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// A program of the other user: a child of this process that takes the
// user's ids and runs `body`. The child of a threaded program may do little
// more than system calls, so the bodies below use nothing else; they report
// what happens as single bytes.
class AsOtherUser
{
public:
    AsOtherUser(const OtherUser &user, const std::function<void(int report)> &body)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0
                || ::geteuid() != user.uid) {
                report(fds[1], 'E');
                ::_exit(1);
            }
            body(fds[1]);
            ::_exit(0);
        }
        ::close(fds[1]);
        report_ = fds[0];
        ::fcntl(report_, F_SETFL, O_NONBLOCK);
    }
    ~AsOtherUser()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (report_ >= 0)
            ::close(report_);
    }

    // The next report, serving events while it waits; 0 when none came.
    char next(int ms = 5000)
    {
        char what = 0;
        waitUntil([&] { return ::read(report_, &what, 1) == 1; }, ms);
        return what;
    }
    // Every report so far, after events have run for a moment.
    std::string drain()
    {
        waitUntil([] { return false; }, 200);
        std::string all;
        char what = 0;
        while (::read(report_, &what, 1) == 1)
            all += what;
        return all;
    }

private:
    pid_t pid_ = -1;
    int report_ = -1;
};

// Listens at `path` and answers every record with `kIntruderAnswer`:
// reports 'r' once it listens (or 'x' when it cannot), and 's' for every
// record it received.
std::function<void(int)> intruderListening(const QByteArray &path)
{
    const QByteArray answer
            = HallLink::encodeRecord({HallLink::Kind::Answer, kSysCommand, kIntruderAnswer, 0});
    return [path, answer](int out) {
        sockaddr_un address{};
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || !fillAddress(address, path)
            || ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::chmod(path.constData(), 0777) != 0 || ::listen(fd, 8) != 0) {
            report(out, 'x');
            return;
        }
        report(out, 'r');
        for (;;) {
            const int connection = ::accept(fd, nullptr, nullptr);
            if (connection < 0)
                return;
            char record[HallLink::kRecordSize];
            while (readFully(connection, record, sizeof record)) {
                report(out, 's');
                [[maybe_unused]] const auto written
                        = ::write(connection, answer.constData(), answer.size());
            }
            ::close(connection);
        }
    };
}

// Connects to `path` and sends a restore: reports 'x' when it cannot
// connect, 'y' when an answer came back, 'n' when the connection ended
// without one.
std::function<void(int)> intruderSending(const QByteArray &path)
{
    const QByteArray send
            = HallLink::encodeRecord({HallLink::Kind::Send, kSysCommand, kScRestore, 0});
    return [path, send](int out) {
        sockaddr_un address{};
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || !fillAddress(address, path)
            || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            report(out, 'x');
            return;
        }
        [[maybe_unused]] const auto written = ::write(fd, send.constData(), send.size());
        char answer[HallLink::kRecordSize];
        report(out, readFully(fd, answer, sizeof answer) ? 'y' : 'n');
    };
}

QString caption(const char *name)
{
    return QString::fromUtf8(name) + QLatin1Char('-')
            + QString::number(QCoreApplication::applicationPid());
}

// Sets an environment variable for the life of a test, or clears it.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::optional<QByteArray> &value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name))
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

// A temporary folder as the shared one (mode 1777, like /tmp), a runtime
// folder of this user and a home, with TMPDIR, XDG_RUNTIME_DIR and HOME set to
// them and no XDG_STATE_HOME.
class HallLinkUsers : public ::testing::Test
{
public:
    void SetUp() override
    {
        QString why;
        user_ = otherUser(why);
        if (!user_)
            GTEST_SKIP() << why.toStdString();
        ASSERT_TRUE(base_.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(base_.path()).constData(), 0755), 0);
        ASSERT_TRUE(QDir(base_.path()).mkdir(QStringLiteral("tmp")));
        ASSERT_TRUE(QDir(base_.path()).mkdir(QStringLiteral("run")));
        ASSERT_TRUE(QDir(base_.path()).mkdir(QStringLiteral("home")));
        ASSERT_EQ(::chmod(path("tmp").constData(), 01777), 0);
        ASSERT_EQ(::chmod(path("run").constData(), 0700), 0);
        tmp_.emplace("TMPDIR", path("tmp"));
        runtime_.emplace("XDG_RUNTIME_DIR", path("run"));
        home_.emplace("HOME", path("home"));
        state_.emplace("XDG_STATE_HOME", std::nullopt);
    }

    QByteArray path(const char *below) const
    {
        return QFile::encodeName(base_.path() + QLatin1Char('/') + QString::fromLatin1(below));
    }

    std::optional<OtherUser> user_;
    QTemporaryDir base_;
    std::optional<ScopedEnv> tmp_;
    std::optional<ScopedEnv> runtime_;
    std::optional<ScopedEnv> home_;
    std::optional<ScopedEnv> state_;
};

struct Hall
{
    HallLink link;
    std::vector<std::uint32_t> received;

    Hall()
    {
        link.setHandler([this](std::uint32_t msg, std::int64_t, std::int64_t) {
            received.push_back(msg);
            return kHallAnswer;
        });
    }
};

} // namespace

// Another user listening first under the caption's name in the shared
// temporary folder neither keeps the hall from listening nor answers the
// table in its place.
TEST_F(HallLinkUsers, ANameTakenInTheSharedFolderDoesNotReachTheLink)
{
    const QByteArray squatted = path("tmp/") + HallLink::serverNameFor(caption("Hall")).toLatin1();
    AsOtherUser intruder(*user_, intruderListening(squatted));
    ASSERT_EQ(intruder.next(), 'r');

    Hall hall;
    ASSERT_TRUE(hall.link.listen(caption("Hall")));
    HallLink table;
    EXPECT_EQ(table.sendMessage(caption("Hall"), kSysCommand, kScRestore, 0), kHallAnswer);
    EXPECT_TRUE(table.postMessage(caption("Hall"), kTableMsgConnected));
    ASSERT_TRUE(waitUntil([&] { return hall.received.size() == 2; }));
    EXPECT_EQ(intruder.drain(), "");
}

// Even where another user can reach the socket (a folder opened by mistake),
// the hall hears nothing of it: the connection is closed unread.
TEST_F(HallLinkUsers, AConnectionOfAnotherUserIsClosedUnheard)
{
    Hall hall;
    ASSERT_TRUE(hall.link.listen(caption("Hall")));
    const QByteArray socket = QFile::encodeName(HallLink::serverPathFor(caption("Hall")));
    ASSERT_EQ(::chmod(path("run").constData(), 0711), 0);
    ASSERT_EQ(::chmod(socket.constData(), 0777), 0);

    AsOtherUser intruder(*user_, intruderSending(socket));
    EXPECT_EQ(intruder.next(), 'n') << "'y': answered, 'x': could not connect";
    EXPECT_TRUE(hall.received.empty());

    // The hall still serves its own user.
    ASSERT_EQ(::chmod(path("run").constData(), 0700), 0);
    HallLink table;
    EXPECT_EQ(table.sendMessage(caption("Hall"), kSysCommand, kScRestore, 0), kHallAnswer);
}

// A socket of another user under the caption's name in the own folder (left
// there while the folder was open) is no window: the table finds nothing and
// the hall takes the name over.
TEST_F(HallLinkUsers, AWindowOfAnotherUserIsNotFoundAndItsNameIsTakenOver)
{
    const QByteArray socket = QFile::encodeName(HallLink::serverPathFor(caption("Hall")));
    ASSERT_FALSE(socket.isEmpty());
    ASSERT_EQ(::chmod(path("run").constData(), 0777), 0);
    AsOtherUser intruder(*user_, intruderListening(socket));
    ASSERT_EQ(intruder.next(), 'r');
    ASSERT_EQ(::chmod(path("run").constData(), 0700), 0);

    HallLink table;
    EXPECT_FALSE(table.findWindow(caption("Hall")));
    EXPECT_FALSE(table.sendMessage(caption("Hall"), kSysCommand, kScRestore, 0).has_value());
    EXPECT_FALSE(table.postMessage(caption("Hall"), kTableMsgConnected));

    Hall hall;
    ASSERT_TRUE(hall.link.listen(caption("Hall")));
    EXPECT_EQ(table.sendMessage(caption("Hall"), kSysCommand, kScRestore, 0), kHallAnswer);
    EXPECT_EQ(intruder.drain(), "");
}

// Which folder the sockets go to, for runtime folders and per-user folders as
// another user may have prepared them. Without a runtime folder the sockets
// go below the user's home, where only the user makes folders; what another
// user made in the shared temporary folder does not matter.
TEST_F(HallLinkUsers, SocketsLiveOnlyInAFolderOfTheUserAlone)
{
    const uid_t self = ::geteuid();
    const uid_t other = user_->uid;
    const QByteArray perUser = path("home/.local/state/tessaroc");
    struct Case
    {
        const char *what;
        bool withRuntime; // XDG_RUNTIME_DIR names the "run" folder
        std::function<void(HallLinkUsers &)> prepare;
        std::optional<QByteArray> expect; // the folder; none: refused
    };
    const auto setRun = [](mode_t mode, uid_t owner) {
        return [mode, owner](HallLinkUsers &test) {
            ASSERT_EQ(::chmod(test.path("run").constData(), mode), 0);
            ASSERT_EQ(::chown(test.path("run").constData(), owner, static_cast<gid_t>(-1)), 0);
        };
    };
    // A folder at `at` (below the base folder) with this mode and owner.
    const auto makeFolder = [](const char *at, mode_t mode, uid_t owner) {
        return [at, mode, owner](HallLinkUsers &test) {
            const QByteArray folder = test.path(at);
            ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder)));
            ASSERT_EQ(::chmod(folder.constData(), mode), 0);
            ASSERT_EQ(::chown(folder.constData(), owner, static_cast<gid_t>(-1)), 0);
        };
    };
    // Where the link kept its sockets in the shared folder before.
    const QByteArray inTmp = "tmp/tessaroc-" + QByteArray::number(self);
    const std::vector<Case> cases = {
            {"a private runtime folder", true, setRun(0700, 0), path("run")},
            {"a runtime folder of another user", true, setRun(0700, other), perUser},
            {"a runtime folder open to others", true, setRun(0755, 0), perUser},
            {"no runtime folder, no per-user folder yet", false, nullptr, perUser},
            {"no runtime folder, another user's folder under the name in the shared folder", false,
             makeFolder(inTmp.constData(), 0700, other), perUser},
            {"a state folder named by XDG_STATE_HOME", false,
             [](HallLinkUsers &test) {
                 ASSERT_TRUE(QDir(test.base_.path()).mkdir(QStringLiteral("state")));
                 qputenv("XDG_STATE_HOME", test.path("state"));
             },
             path("state/tessaroc")},
            {"a per-user folder of another user", false,
             makeFolder("home/.local/state/tessaroc", 0700, other), std::nullopt},
            {"a per-user folder open to others", false,
             makeFolder("home/.local/state/tessaroc", 0733, 0), std::nullopt},
            {"a per-user folder that is a link to a private folder", false,
             [](HallLinkUsers &test) {
                 ASSERT_TRUE(QDir().mkpath(QFile::decodeName(test.path("home/.local/state"))));
                 ASSERT_EQ(::symlink(test.path("run").constData(),
                                     test.path("home/.local/state/tessaroc").constData()),
                           0);
             },
             std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnv runtime("XDG_RUNTIME_DIR",
                          c.withRuntime ? std::optional(path("run")) : std::nullopt);
        ScopedEnv state("XDG_STATE_HOME", std::nullopt);
        if (c.prepare)
            c.prepare(*this);

        const QString folder = HallLink::socketFolder();
        Hall hall;
        const bool listening = hall.link.listen(caption("Hall"));
        HallLink table;
        if (c.expect) {
            EXPECT_EQ(QFile::encodeName(folder).toStdString(), c.expect->toStdString());
            if (*c.expect != path("run")) {
                struct stat info
                {
                };
                EXPECT_EQ(::lstat(c.expect->constData(), &info), 0);
                EXPECT_EQ(info.st_mode & 07777, 0700u);
                EXPECT_EQ(info.st_uid, self);
            }
        } else {
            EXPECT_TRUE(folder.isEmpty()) << folder.toStdString();
            EXPECT_TRUE(HallLink::serverPathFor(caption("Hall")).isEmpty());
        }
        EXPECT_EQ(listening, c.expect.has_value());
        EXPECT_EQ(table.sendMessage(caption("Hall"), kSysCommand, kScRestore, 0).has_value(),
                  c.expect.has_value());

        hall.link.stopListening();
        ::unlink(perUser.constData()); // the link of one case
        for (const char *made : {"home/.local", "state", "tmp"})
            QDir(QFile::decodeName(path(made))).removeRecursively();
        ASSERT_TRUE(QDir(base_.path()).mkdir(QStringLiteral("tmp")));
        ASSERT_EQ(::chmod(path("tmp").constData(), 01777), 0);
        ASSERT_EQ(::chown(path("run").constData(), self, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chmod(path("run").constData(), 0700), 0);
    }
}
