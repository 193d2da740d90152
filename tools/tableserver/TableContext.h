#pragma once

#include "ChatGate.h"
#include "EngineOptions.h"
#include "FrameDelivery.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tessaroc::tableserver {

// What the parts of the table share: the options, the time of the event in
// hand, where frames go, and the game record.
class TableContext
{
public:
    using LogSink = std::function<void(const std::string &)>;

    TableContext(EngineOptions tableOptions, LogSink log);

    // Every line of the record passes here, and some carry what a client
    // sent (chat text): control bytes, DEL and C1 controls are written as
    // escapes (\x1b, \u009b) and a backslash as two, so that no client
    // can break a line of the record or drive the terminal showing it.
    void log(const std::string &line) const;
    // A line about a single frame or connection. A client can send frames far
    // faster than anyone reads a record: these lines pass a gate, and what it
    // holds back is counted in the next line it lets through.
    void logFrame(const std::string &line);

    EngineOptions options;
    FrameDelivery delivery;
    std::int64_t now = 0;
    // Told when a seat gets a new person or is freed.
    std::function<void(int seat)> seatReset;

private:
    LogSink sink_;
    ChatGate frameLines_{ChatGate::Limits{40, 100}};
    int frameLinesLeftOut_ = 0;
};

} // namespace tessaroc::tableserver
