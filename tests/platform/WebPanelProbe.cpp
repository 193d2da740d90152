// A program with one web panel, for tests that copy it to a folder of their
// choice: it asks the panel for the page given on its command line and
// prints what the panel did, a line each:
//   engine yes|no
//   error <code>|none   (the navigation error, if one came)
//   view yes|no         (whether the panel made a page view)
// The panel's own complaints go to stderr as in the program.
#include "platform/WebPanel.h"

#include "WaitUntil.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char **argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: web_panel_probe URL\n");
        return 2;
    }
    tessaroc::platform::WebPanel panel;
    panel.resize(120, 80);
    panel.show();
    std::optional<int> error;
    bool document = false;
    QObject::connect(&panel, &tessaroc::platform::WebPanel::NavigateError,
                     [&](const QUrl &, int code) { error = code; });
    QObject::connect(&panel, &tessaroc::platform::WebPanel::DocumentComplete,
                     [&](const QUrl &) { document = true; });
    panel.Navigate(QString::fromLocal8Bit(argv[1]));
    tessaroc::test::waitUntil([&] { return error || document; }, 30000);
    std::printf("engine %s\n", tessaroc::platform::WebPanel::EngineAvailable() ? "yes" : "no");
    if (error)
        std::printf("error %d\n", *error);
    else
        std::printf("error none\n");
    std::printf("view %s\n", panel.view() ? "yes" : "no");
    return 0;
}
