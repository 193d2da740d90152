#pragma once

#include "platform/WebView.h"

#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace tessaroc::platform {

// The web browser control of a web panel: an empty white area until it is
// first navigated, then a page view of the web engine. The engine is loaded
// on that first navigation, never at start-up, from the program's own folder
// (LoadWebEngine). A right click on the panel opens no menu. When the engine
// cannot be loaded, a navigation reports a navigation error and the panel
// stays blank.
//
// The addresses come from the game server over a plain connection, so a panel
// shows web pages (http and https) only. The table's navigations and those a
// page starts by itself (links, scripts, forms, redirects) pass one check;
// any other address (a local file, a script, inline data, the program's
// resources) is refused and logged, and reported as a navigation error when
// the table asked for it. The page view lets no page read local files or open
// windows. An empty address (a room without an ad page) changes nothing.
class WebPanel : public QWidget
{
    Q_OBJECT

public:
    explicit WebPanel(QWidget *parent = nullptr);
    ~WebPanel() override;

    void Navigate(const QString &url);
    // The address of the document shown now (empty before the first
    // navigation): what the table keeps as the panel's document.
    QUrl Document() const;
    // Makes the current document answer its context-menu event with "no".
    void HookContextMenu();
    // The page view, once the first navigation has made it.
    WebView *view() const { return view_.get(); }

    // Whether the web engine can be loaded in this process (loads it).
    static bool EngineAvailable();
    // Why it could not, when it could not.
    static QString EngineError();

Q_SIGNALS:
    void DownloadComplete();
    void DocumentComplete(const QUrl &url);
    void NavigateError(const QUrl &url, int statusCode);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The one check of every navigation: true for a web page, else logged.
    bool admit(const QUrl &url) const;
    void reportError(const QUrl &url, int code);

    WebViewEvents events_;
    std::unique_ptr<WebView> view_;
};

} // namespace tessaroc::platform
