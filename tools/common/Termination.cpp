#include "Termination.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace tessaroc::tools {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
}

} // namespace

bool catchTermination()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGTERM, &action, nullptr) == 0
            && ::sigaction(SIGINT, &action, nullptr) == 0;
}

void onTermination(QObject *context, std::function<void(int signal)> handle)
{
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [notifier, handle = std::move(handle)] {
                         char signal = 0;
                         while (::read(signalPipe[0], &signal, 1) > 0) { }
                         notifier->setEnabled(false);
                         handle(signal);
                     });
}

} // namespace tessaroc::tools
