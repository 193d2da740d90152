#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace tessaroc::test {

// Serves events until `done` holds or `ms` of real time have passed; for
// waiting on loopback input and output and on other processes, never on game
// time.
inline bool waitUntil(const std::function<bool()> &done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace tessaroc::test
