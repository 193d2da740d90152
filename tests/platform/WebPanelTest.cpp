#include "platform/WebPanel.h"

#include "RefusedPort.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tessaroc::platform {
namespace {

// A page server on 127.0.0.1: "/page" is a small page, "/leave" a page that
// at once tries to leave for the program's own resources and, should it still
// be there a moment later, goes on to "/page"; anything else is "404 Not
// Found".
class PageServer : public QObject
{
public:
    PageServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(*socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(path);
    }

private:
    static void answer(QTcpSocket &socket)
    {
        const QByteArray request = socket.readAll();
        const bool leave = request.startsWith("GET /leave ");
        const bool found = leave || request.startsWith("GET /page ");
        const QByteArray body = leave ? "<html><body><script>location.href = 'qrc:/x';"
                                        "setTimeout(function () { location.href = '/page'; }, 300);"
                                        "</script></body></html>"
                : found               ? "<html><body>panel page</body></html>"
                                      : "<html><body>not here</body></html>";
        socket.write((found ? QByteArray("HTTP/1.1 200 OK\r\n")
                            : QByteArray("HTTP/1.1 404 Not Found\r\n"))
                     + "Content-Type: text/html\r\nConnection: close\r\nContent-Length: "
                     + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket.disconnectFromHost();
    }
    QTcpServer server_;
};

using tessaroc::test::refusedPort;

// A page in the web engine may take long on a busy machine.
bool serveUntil(const std::function<bool()> &done, int ms = 30000)
{
    return ::tessaroc::test::waitUntil(done, ms);
}

class WebPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WebPanel::EngineAvailable())
            GTEST_SKIP() << "the web engine cannot start here: "
                         << WebPanel::EngineError().toStdString();
        panel.resize(240, 160);
        panel.show();
        QObject::connect(&panel, &WebPanel::DownloadComplete,
                         [this] { events.push_back("download"); });
        QObject::connect(&panel, &WebPanel::DocumentComplete, [this](const QUrl &) {
            events.push_back("document");
            ++documents;
        });
        QObject::connect(&panel, &WebPanel::NavigateError, [this](const QUrl &, int code) {
            events.push_back("error");
            lastError = code;
        });
    }

    // Navigates and serves events until the document completes.
    void load(const QString &url)
    {
        events.clear();
        const int before = documents;
        panel.Navigate(url);
        ASSERT_TRUE(serveUntil([&] { return documents > before; })) << url.toStdString();
    }

    WebPanel panel;
    PageServer server;
    std::vector<std::string> events;
    int documents = 0;
    int lastError = 0;
};

TEST_F(WebPanelTest, NoPageViewBeforeTheFirstNavigation)
{
    EXPECT_EQ(panel.view(), nullptr);
    EXPECT_TRUE(panel.Document().isEmpty());
    EXPECT_EQ(panel.contextMenuPolicy(), Qt::NoContextMenu);
}

TEST_F(WebPanelTest, APageCompletesItsDownloadAndItsDocument)
{
    load(server.url(QStringLiteral("page")));
    EXPECT_EQ(events, (std::vector<std::string>{"download", "document"}));
    EXPECT_EQ(panel.Document(), QUrl(server.url(QStringLiteral("page"))));
    ASSERT_NE(panel.view(), nullptr);
    EXPECT_EQ(panel.view()->widget()->contextMenuPolicy(), Qt::NoContextMenu);
}

struct ErrorCase
{
    const char *name;
    bool missingPage; // else a refused port
};

class WebPanelError : public WebPanelTest, public ::testing::WithParamInterface<ErrorCase>
{
};

// The error comes first; the engine's own error page then completes like any
// document, which is why the table keeps its failure marks.
TEST_P(WebPanelError, ReportsTheNavigationErrorBeforeTheErrorPage)
{
    const QString url = GetParam().missingPage
            ? server.url(QStringLiteral("missing"))
            : QStringLiteral("http://127.0.0.1:%1/").arg(refusedPort());
    load(url);
    EXPECT_EQ(events, (std::vector<std::string>{"error", "download", "document"}));
    if (GetParam().missingPage)
        EXPECT_EQ(lastError, 404);
    else
        EXPECT_LT(lastError, 0) << "a network error code";
}

INSTANTIATE_TEST_SUITE_P(Loopback, WebPanelError,
                         ::testing::Values(ErrorCase{"MissingPage", true},
                                           ErrorCase{"RefusedPort", false}),
                         [](const auto &param) { return std::string(param.param.name); });

// The addresses come from the server over a plain connection: anything but a
// web page is refused before any page view exists, and reported as a
// navigation error once the caller has had its turn.
class WebPanelRefused : public WebPanelTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(WebPanelRefused, ReportsAnErrorAndShowsNothing)
{
    const QString address = QString::fromUtf8(GetParam());
    panel.Navigate(address);
    EXPECT_TRUE(events.empty()) << "reported within the call";
    ASSERT_TRUE(serveUntil([&] { return !events.empty(); }, 5000));
    EXPECT_EQ(events, (std::vector<std::string>{"error"}));
    EXPECT_EQ(lastError, -301);
    EXPECT_EQ(panel.view(), nullptr);
    EXPECT_TRUE(panel.Document().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Addresses, WebPanelRefused,
                         ::testing::Values("file:///etc/hostname", "/etc/hostname",
                                           "javascript:document.title='x'",
                                           "data:text/html,<b>x</b>", "qrc:/qt-project.org",
                                           "about:blank", "ftp://127.0.0.1/x"));

TEST_F(WebPanelTest, AnEmptyAddressLeavesThePanelAsItIs)
{
    panel.Navigate(QStringLiteral(" "));
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(panel.view(), nullptr);
}

TEST_F(WebPanelTest, APageCannotLeaveTheWebByItself)
{
    std::vector<QUrl> pages;
    QObject::connect(&panel, &WebPanel::DocumentComplete,
                     [&](const QUrl &url) { pages.push_back(url); });
    panel.Navigate(server.url(QStringLiteral("leave")));
    ASSERT_TRUE(serveUntil([&] { return !pages.empty(); }));
    // The refused step stops the leaving page's load: the first document to
    // complete is the one its timer goes on to.
    EXPECT_EQ(pages.front().toString().toStdString(),
              server.url(QStringLiteral("page")).toStdString());
}

TEST_F(WebPanelTest, TheHookedDocumentAnswersItsContextMenuWithNo)
{
    load(server.url(QStringLiteral("page")));
    panel.HookContextMenu();
    QString answer;
    panel.view()->runScript(
            QStringLiteral("String(document.oncontextmenu && document.oncontextmenu())"),
            [&](const QString &result) { answer = result; });
    ASSERT_TRUE(serveUntil([&] { return !answer.isEmpty(); }));
    EXPECT_EQ(answer, QStringLiteral("false"));
}

} // namespace
} // namespace tessaroc::platform
