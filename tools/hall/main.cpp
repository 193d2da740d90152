// tessaroc-hall: a stand-in for the game hall. It opens the hall window under
// its caption, starts the table client with the fifteen-field command line
// built from its options, acknowledges and records every message the client
// sends it, and sends the hall's four requests from buttons or on a schedule.

#include "Hall.h"
#include "HallWindow.h"
#include "Termination.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace tessaroc::hall;

namespace {

// A client asked to close gets this long before it is killed.
constexpr int kCloseGraceMs = 3000;

} // namespace

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

    if (!tessaroc::tools::catchTermination()) {
        std::fprintf(stderr, "tessaroc-hall: cannot catch termination signals\n");
        return 1;
    }
    Hall hall(options);
    if (!hall.open()) {
        std::fprintf(stderr, "tessaroc-hall: %s\n", qPrintable(hall.openError()));
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
    }
    if (options.exitWithClient && !options.clientPath.isEmpty()) {
        // The hall lives as long as its client. Queued: a client that fails
        // at once may say so before the event loop runs, when an exit would
        // be lost.
        QObject::connect(
                &hall, &Hall::clientFinished, app.get(),
                [](int result) { QCoreApplication::exit(result); }, Qt::QueuedConnection);
    }
    // Stopped, the hall closes its client first, as a person closing the
    // table would, and ends as a program ended by that signal reports.
    tessaroc::tools::onTermination(app.get(), [&hall](int signal) {
        QObject::disconnect(&hall, &Hall::clientFinished, nullptr, nullptr);
        hall.closeClient(kCloseGraceMs, kCloseGraceMs + 1000);
        QCoreApplication::exit(128 + signal);
    });
    if (options.quitAfterMs)
        QTimer::singleShot(*options.quitAfterMs, app.get(), [] { QCoreApplication::exit(0); });

    hall.startClient();
    hall.schedule();
    return QCoreApplication::exec();
}
