#pragma once

#include <QUrl>

#include <functional>

class QWidget;

namespace tessaroc::platform {

// What a page view reports while it loads a page: the download over (after
// any load, whatever its outcome), the document complete, and a navigation
// error with the HTTP status or the network's error code. A load that fails
// reports the error first; the browser then shows its own error page, whose
// download and document complete as for any page. Every navigation that the
// page starts by itself (a link, a script, a form, a redirect) is first put to
// mayNavigate; it goes ahead only on "yes".
struct WebViewEvents
{
    std::function<bool(const QUrl &)> mayNavigate;
    std::function<void()> downloadComplete;
    std::function<void(const QUrl &)> documentComplete;
    std::function<void(const QUrl &, int)> navigateError;
};

// A page view of the web engine, made by the engine module that WebPanel
// loads on its first navigation (the engine's libraries are large, so a table
// that never shows a page never loads them).
class WebView
{
public:
    virtual ~WebView() = default;
    // The view's widget, a child of the panel.
    virtual QWidget *widget() = 0;
    virtual void navigate(const QUrl &url) = 0;
    // The address of the document shown now.
    virtual QUrl url() const = 0;
    // The page's context menu answered with "no" by the document itself.
    virtual void hookContextMenu() = 0;
    // Runs a script in the page; the result comes back as text (empty for
    // none) once the page has run it.
    virtual void runScript(const QString &script, std::function<void(const QString &)> done) = 0;
};

} // namespace tessaroc::platform

// The engine module's one entry point.
extern "C" {
using TessarocCreateWebView
        = tessaroc::platform::WebView *(*)(QWidget *parent,
                                           tessaroc::platform::WebViewEvents *events);
}
