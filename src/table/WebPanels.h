#pragma once

#include <QObject>
#include <QUrl>

namespace tessaroc::core {
struct TableState;
}

namespace tessaroc::table {

class MainForm;

// What the table window does on the events of its two web panels and of the
// seat-shuffle caption's timer. The first panel, in the ad frame Bird, moves
// into the frame and shows when its document completes; the second, of the
// seat shuffle, shows where its starter put it. A navigation error hides a
// panel for the rest of the run: later documents of it are ignored. Each
// panel's document, once downloaded, answers the context menu with "no".
class WebPanels : public QObject
{
    Q_OBJECT

public:
    WebPanels(MainForm &form, core::TableState &state);

    void WebBrowser1_DownloadComplete();
    void WebBrowser1_DocumentComplete(const QUrl &url);
    void WebBrowser1_NavigateError(const QUrl &url, int statusCode);
    void WebBrowser2_DownloadComplete();
    void WebBrowser2_DocumentComplete(const QUrl &url);
    void WebBrowser2_NavigateError(const QUrl &url, int statusCode);
    // One step of the seat-shuffle caption: the caption of ShuffleIndex, then
    // the index on to the next of the four, two to five dots.
    void TimerShuffle_Timer();

    // The documents the panels hold, hooked for their context menu.
    QUrl M_Dom_1;
    QUrl M_Dom2;

private:
    MainForm &form_;
    core::TableState &state_;
};

} // namespace tessaroc::table
