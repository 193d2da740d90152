#include "TableContext.h"

#include <algorithm>

namespace tessaroc::tableserver {

TableContext::TableContext(EngineOptions tableOptions, LogSink log)
    : options(std::move(tableOptions))
    , delivery(options.replay)
    , sink_(std::move(log))
{
    options.bots = std::clamp(options.bots, 0, kSeats);
    options.tableNumber = std::clamp(options.tableNumber, 0, 0x7FFF);
}

void TableContext::log(const std::string &line) const
{
    if (sink_)
        sink_(line);
}

void TableContext::logFrame(const std::string &line)
{
    if (!frameLines_.allow(now)) {
        ++frameLinesLeftOut_;
        return;
    }
    if (frameLinesLeftOut_ > 0) {
        log("(" + std::to_string(frameLinesLeftOut_) + " lines about frames left out)");
        frameLinesLeftOut_ = 0;
    }
    log(line);
}

} // namespace tessaroc::tableserver
