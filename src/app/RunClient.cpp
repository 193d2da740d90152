// The table client's program: the application, the client, the signals that
// close the table window, and the event loop. The hall starts it with its
// command line as the first argument (a hall that splits the line into
// several arguments is joined again with one blank between them); it ends
// with the exit code of its ending (core/ExitCodes.h, listed in the README).

#include "app/RunClient.h"

#include "app/Client.h"
#include "forms/CaretRest.h"
#include "platform/HallLink.h"

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// TESSAROC_CLOCK_SCALE: a number of at least 1 by which every timer and wait
// of the client runs faster; anything else counts as 1.
double clockScale()
{
    const QString text = qEnvironmentVariable("TESSAROC_CLOCK_SCALE");
    if (text.isEmpty())
        return 1.0;
    bool ok = false;
    const double scale = text.toDouble(&ok);
    if (!ok || !(scale >= 1.0) || scale > 1000.0) {
        std::fprintf(stderr,
                     "tessaroc: TESSAROC_CLOCK_SCALE must be a number from 1 to 1000; 1 is used\n");
        return 1.0;
    }
    return scale;
}

std::string commandLine(int argc, char **argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

// The single-instance lock lies beside the hall link's sockets, in a folder
// of this user alone, so that no other user can take it first. Without such a
// folder there is no lock to take, and no hall to reach either: the start-up
// ends where it looks for the hall.
QString lockPath()
{
    const QString folder = tessaroc::platform::HallLink::socketFolder();
    if (folder.isEmpty()) {
        std::fprintf(
                stderr,
                "tessaroc: no folder of this user alone for the lock and the hall "
                "link ($XDG_RUNTIME_DIR, else tessaroc in $XDG_STATE_HOME or ~/.local/state)\n");
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("tessaroc.lock"));
}

// SIGTERM and SIGINT close the table window, as closing it by hand does.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

class CloseFilter final : public QObject
{
public:
    explicit CloseFilter(tessaroc::app::Client &client)
        : client_(client)
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && watched == &client_.form())
            client_.unload();
        return QObject::eventFilter(watched, event);
    }

private:
    tessaroc::app::Client &client_;
};

} // namespace

namespace tessaroc::app {

int RunClient(int argc, char **argv, const ClientDevices &devices)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaroc"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaroc"));
    QApplication::setQuitOnLastWindowClosed(false);

    // The chat box's caret rests at an idle table instead of blinking on.
    const tessaroc::forms::CaretRest caretRest;
    auto client = std::make_unique<Client>(clockScale(), lockPath(), devices);

    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, [&client] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
            client->unload();
        });
        std::signal(SIGTERM, onSignal);
        std::signal(SIGINT, onSignal);
    }

    CloseFilter closeFilter(*client);
    client->form().installEventFilter(&closeFilter);

    if (!client->start(commandLine(argc, argv)))
        return static_cast<int>(core::ExitCode::StartupFault);
    return QApplication::exec();
}

} // namespace tessaroc::app
