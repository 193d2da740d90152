#include "table/WebPanels.h"

#include "core/TableState.h"
#include "table/MainForm.h"

namespace tessaroc::table {

namespace {

// The first panel lies this many pixels inside its frame; the frame's own
// place is already scaled, the inset is not.
constexpr double kFrameInset = 2;

} // namespace

WebPanels::WebPanels(MainForm &form, core::TableState &state)
    : form_(form)
    , state_(state)
{
    platform::WebPanel &panel1 = form_.area.WebBrowser1.widget();
    platform::WebPanel &panel2 = form_.area.WebBrowser2.widget();
    connect(&panel1, &platform::WebPanel::DownloadComplete, this,
            &WebPanels::WebBrowser1_DownloadComplete);
    connect(&panel1, &platform::WebPanel::DocumentComplete, this,
            &WebPanels::WebBrowser1_DocumentComplete);
    connect(&panel1, &platform::WebPanel::NavigateError, this,
            &WebPanels::WebBrowser1_NavigateError);
    connect(&panel2, &platform::WebPanel::DownloadComplete, this,
            &WebPanels::WebBrowser2_DownloadComplete);
    connect(&panel2, &platform::WebPanel::DocumentComplete, this,
            &WebPanels::WebBrowser2_DocumentComplete);
    connect(&panel2, &platform::WebPanel::NavigateError, this,
            &WebPanels::WebBrowser2_NavigateError);
    connect(&form_.timers.TimerShuffle, &QTimer::timeout, this, &WebPanels::TimerShuffle_Timer);
}

void WebPanels::WebBrowser1_DownloadComplete()
{
    M_Dom_1 = form_.area.WebBrowser1->Document();
    form_.area.WebBrowser1->HookContextMenu();
}

void WebPanels::WebBrowser1_DocumentComplete(const QUrl &)
{
    if (state_.table.AdPanel1Failed)
        return;
    auto &panel = form_.area.WebBrowser1;
    const forms::Image &bird = form_.area.Bird;
    panel.setTop(bird.Top() + kFrameInset);
    panel.setLeft(bird.Left() + kFrameInset);
    panel.setVisible(true);
    panel.ZOrder(0);
}

void WebPanels::WebBrowser1_NavigateError(const QUrl &, int)
{
    form_.area.WebBrowser1.setVisible(false);
    state_.table.AdPanel1Failed = true;
}

void WebPanels::WebBrowser2_DownloadComplete()
{
    M_Dom2 = form_.area.WebBrowser2->Document();
    form_.area.WebBrowser2->HookContextMenu();
}

void WebPanels::WebBrowser2_DocumentComplete(const QUrl &)
{
    auto &panel = form_.area.WebBrowser2;
    if (state_.table.AdPanel2Failed) {
        panel.setVisible(false);
        return;
    }
    panel.ZOrder(0);
    panel.setVisible(true);
}

void WebPanels::WebBrowser2_NavigateError(const QUrl &, int)
{
    form_.area.WebBrowser2.setVisible(false);
    state_.table.AdPanel2Failed = true;
}

void WebPanels::TimerShuffle_Timer()
{
    core::ShuffleState &shuffle = state_.loop.shuffle;
    if (shuffle.ShuffleIndex < 0 || shuffle.ShuffleIndex > 3)
        shuffle.ShuffleIndex = 0;
    form_.effects.LblShuffle.setCaption(QString::fromStdString(
            shuffle.ShuffleCaptions[static_cast<std::size_t>(shuffle.ShuffleIndex)]));
    if (++shuffle.ShuffleIndex > 3)
        shuffle.ShuffleIndex = 0;
}

} // namespace tessaroc::table
