#pragma once

#include "Hall.h"

#include <QString>

#include <algorithm>
#include <string>
#include <vector>

// What the whole-table runs in one process share: the hall stand-in that
// sends the client to the table server, and a look into the server's log.
namespace tessaroc::test {

// The hall stand-in without a window, sending the client to the table server
// at `port`; the hall's and the table's captions carry the run's name.
inline hall::HallOptions headlessHall(quint16 port, const QString &run)
{
    hall::HallOptions options;
    options.serverPort = port;
    options.hallCaption = QStringLiteral("e2e-%1-hall").arg(run);
    options.tableCaption = QStringLiteral("e2e-%1-table").arg(run);
    options.headless = true;
    return options;
}

// Whether a line of the server's log holds `text`.
inline bool logHas(const std::vector<std::string> &log, const std::string &text)
{
    return std::any_of(log.begin(), log.end(), [&](const std::string &line) {
        return line.find(text) != std::string::npos;
    });
}

} // namespace tessaroc::test
