// tessaroc-hall: a stand-in for the game hall. It opens the hall window under
// its caption, starts the table client with the fifteen-field command line
// built from its options, acknowledges and records every message the client
// sends it, and sends the hall's four requests from buttons or on a schedule.

#include "Hall.h"
#include "HallWindow.h"
#include "platform/HallLink.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace tessaroc::hall;

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ParsedHallOptions parsed = parseHallOptions(arguments);
    if (!parsed.options) {
        std::fprintf(parsed.helpShown ? stdout : stderr, "%s\n", qPrintable(parsed.error));
        return parsed.helpShown ? 0 : 2;
    }
    const HallOptions &options = *parsed.options;

    std::unique_ptr<QCoreApplication> app;
    if (options.headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    Hall hall(options);
    if (!hall.open()) {
        if (tessaroc::platform::HallLink::socketFolder().isEmpty())
            std::fprintf(
                    stderr,
                    "tessaroc-hall: no folder of this user alone for the hall link "
                    "($XDG_RUNTIME_DIR, else tessaroc in $XDG_STATE_HOME or ~/.local/state)\n");
        else
            std::fprintf(stderr, "tessaroc-hall: another window already has the caption %s\n",
                         qPrintable(options.hallCaption));
        return 1;
    }
    QObject::connect(&hall, &Hall::eventRecorded, [](const HallEvent &event) {
        std::printf("[%9.3f] %s\n", static_cast<double>(event.ms) / 1000.0,
                    qPrintable(describeEvent(event)));
        std::fflush(stdout);
    });

    std::unique_ptr<HallWindow> window;
    if (!options.headless) {
        window = std::make_unique<HallWindow>(hall);
        window->show();
    } else if (!options.clientPath.isEmpty()) {
        // Without a window the hall lives as long as its client. Queued: a
        // client that fails at once may say so before the event loop runs,
        // when an exit would be lost.
        QObject::connect(
                &hall, &Hall::clientFinished, app.get(),
                [](int result) { QCoreApplication::exit(result); }, Qt::QueuedConnection);
    }
    if (options.quitAfterMs)
        QTimer::singleShot(*options.quitAfterMs, app.get(), [] { QCoreApplication::exit(0); });

    hall.startClient();
    hall.schedule();
    return QCoreApplication::exec();
}
