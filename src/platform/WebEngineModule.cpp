// The web engine module: the page view of the web panels on Qt WebEngine. The
// program loads it on a panel's first navigation, so the engine's libraries
// stay out of the start-up.
#include "platform/WebView.h"

#include <QOpenGLContext>
#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <QCoreApplication>

// Qt's application-wide shared graphics context, which the web engine draws
// through. An application that links the engine makes it at start-up; this
// module is loaded long after, so it makes it itself before the first view.
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace tessaroc::platform {

namespace {

void ensureSharedContext()
{
    if (qt_gl_global_share_context())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

// The page's own answer to a right click: no menu.
const QString kNoContextMenu
        = QStringLiteral("document.oncontextmenu = function () { return false; };");

// A panel's page: every navigation it starts by itself goes to the panel's
// check first, as the table's own navigations do. (The engine does not ask
// about a page's own blank documents, about:blank and about:srcdoc; they load
// nothing.)
class PanelPage final : public QWebEnginePage
{
public:
    PanelPage(WebViewEvents &events, QObject *parent)
        : QWebEnginePage(parent)
        , events_(events)
    {
        // No page reads the player's files, and nothing local reaches out to
        // the network; pop-ups are not opened.
        QWebEngineSettings *rules = settings();
        rules->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        rules->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        rules->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override
    {
        return events_.mayNavigate && events_.mayNavigate(url);
    }
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

private:
    WebViewEvents &events_;
};

class EngineView final : public WebView
{
public:
    EngineView(QWidget *parent, WebViewEvents *events)
        : view_(new QWebEngineView(parent))
        , events_(*events)
    {
        view_->setPage(new PanelPage(events_, view_));
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        QObject::connect(view_->page(), &QWebEnginePage::loadingChanged, view_,
                         [this](const QWebEngineLoadingInfo &info) { loadingChanged(info); });
    }
    ~EngineView() override { delete view_.data(); }

    QWidget *widget() override { return view_; }
    void navigate(const QUrl &url) override { view_->load(url); }
    QUrl url() const override { return view_->url(); }
    void hookContextMenu() override { view_->page()->runJavaScript(kNoContextMenu); }
    void runScript(const QString &script, std::function<void(const QString &)> done) override
    {
        view_->page()->runJavaScript(script, [done](const QVariant &result) {
            if (done)
                done(result.toString());
        });
    }

private:
    void loadingChanged(const QWebEngineLoadingInfo &info)
    {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            events_.downloadComplete();
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            events_.navigateError(info.url(), info.errorCode());
            // The engine shows its own error page in place of the page.
            events_.downloadComplete();
            events_.documentComplete(info.url());
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            events_.downloadComplete();
            events_.documentComplete(info.url());
            return;
        }
    }

    QPointer<QWebEngineView> view_;
    WebViewEvents &events_;
};

} // namespace

} // namespace tessaroc::platform

extern "C" Q_DECL_EXPORT tessaroc::platform::WebView *
tessaroc_create_web_view(QWidget *parent, tessaroc::platform::WebViewEvents *events)
{
    tessaroc::platform::ensureSharedContext();
    return new tessaroc::platform::EngineView(parent, events);
}
