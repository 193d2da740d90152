#include "platform/WebPanel.h"

#include "platform/WebEngineLoader.h"

#include <QCoreApplication>
#include <QPalette>
#include <QResizeEvent>

#include <cstdio>

#include <unistd.h>

namespace tessaroc::platform {

namespace {

// A code for "the web engine could not be started", reported as a
// navigation error.
constexpr int kEngineMissing = -1;
// The network's own code for an address whose scheme is not allowed.
constexpr int kSchemeRefused = -301;
// How much of a refused address the log keeps (a page's inline data may be
// long).
constexpr qsizetype kLoggedAddressLength = 200;

// The web engine refuses to start its sandbox for the superuser; the panels
// show the operator's own pages, so it is switched off there.
void prepareEnvironment()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

// Loaded from the program's own folder only; a module that cannot be loaded
// there is said once, and every panel then stays blank.
WebEngine loadEngine()
{
    prepareEnvironment();
    WebEngine engine = LoadWebEngine(QCoreApplication::applicationDirPath());
    if (!engine.create)
        std::fprintf(stderr, "tessaroc: %s; the web panels show no pages\n",
                     qPrintable(engine.error));
    return engine;
}

const WebEngine &engine()
{
    static const WebEngine loaded = loadEngine();
    return loaded;
}

} // namespace

WebPanel::WebPanel(QWidget *parent)
    : QWidget(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    events_.mayNavigate = [this](const QUrl &url) {
        return admit(url);
    };
    events_.downloadComplete = [this] {
        Q_EMIT DownloadComplete();
    };
    events_.documentComplete = [this](const QUrl &url) {
        Q_EMIT DocumentComplete(url);
    };
    events_.navigateError = [this](const QUrl &url, int code) {
        Q_EMIT NavigateError(url, code);
    };
}

WebPanel::~WebPanel() = default;

bool WebPanel::EngineAvailable()
{
    return engine().create != nullptr;
}

QString WebPanel::EngineError()
{
    return engine().error;
}

bool WebPanel::admit(const QUrl &url) const
{
    const QString scheme = url.scheme();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return true;
    std::fprintf(stderr, "tessaroc: a web panel refuses %s (it shows http and https pages only)\n",
                 qPrintable(url.toString().left(kLoggedAddressLength)));
    return false;
}

// Like an error of the engine, the report comes from the event loop: the
// table places and shows the panel after asking for the page, and its error
// handler must come after that to hide it again.
void WebPanel::reportError(const QUrl &url, int code)
{
    QMetaObject::invokeMethod(
            this, [this, url, code] { Q_EMIT NavigateError(url, code); }, Qt::QueuedConnection);
}

void WebPanel::Navigate(const QString &url)
{
    // A room without an ad page: the panel stays as it is, blank before any
    // page.
    if (url.trimmed().isEmpty())
        return;
    const QUrl address = QUrl::fromUserInput(url);
    if (!admit(address)) {
        reportError(address, kSchemeRefused);
        return;
    }
    if (!view_) {
        if (!engine().create) {
            reportError(address, kEngineMissing);
            return;
        }
        view_.reset(engine().create(this, &events_));
        QWidget *widget = view_->widget();
        widget->setContextMenuPolicy(Qt::NoContextMenu);
        widget->setGeometry(rect());
        widget->show();
    }
    view_->navigate(address);
}

QUrl WebPanel::Document() const
{
    return view_ ? view_->url() : QUrl();
}

void WebPanel::HookContextMenu()
{
    if (view_)
        view_->hookContextMenu();
}

void WebPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (view_)
        view_->widget()->setGeometry(rect());
}

} // namespace tessaroc::platform
