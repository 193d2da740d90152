#include "platform/WebPanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QPalette>
#include <QResizeEvent>

#include <unistd.h>

namespace tessaroc::platform {

namespace {

// The engine module's file name, looked for beside the program first and
// then where the build put it.
const QString kModuleName = QStringLiteral("tessaroc_webengine");
// A code for "the web engine could not be started", reported as a
// navigation error.
constexpr int kEngineMissing = -1;

struct Engine
{
    TessarocCreateWebView create = nullptr;
    QString error;
};

// The web engine refuses to start its sandbox for the superuser; the panels
// show the operator's own pages, so it is switched off there.
void prepareEnvironment()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

Engine loadEngine()
{
    prepareEnvironment();
    QStringList places{QCoreApplication::applicationDirPath()};
#ifdef TESSAROC_WEBENGINE_DIR
    places << QStringLiteral(TESSAROC_WEBENGINE_DIR);
#endif
    Engine engine;
    for (const QString &place : places) {
        QLibrary module(QDir(place).filePath(kModuleName));
        if (!module.load()) {
            engine.error = module.errorString();
            continue;
        }
        engine.create = reinterpret_cast<TessarocCreateWebView>(
                module.resolve("tessaroc_create_web_view"));
        if (engine.create)
            return engine;
        engine.error = module.errorString();
    }
    return engine;
}

const Engine &engine()
{
    static const Engine loaded = loadEngine();
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

void WebPanel::Navigate(const QString &url)
{
    const QUrl address = QUrl::fromUserInput(url);
    if (!view_) {
        if (!engine().create) {
            Q_EMIT NavigateError(address, kEngineMissing);
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
