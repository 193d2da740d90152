#include "TableContext.h"

#include <algorithm>
#include <string_view>

namespace tessaroc::tableserver {

TableContext::TableContext(EngineOptions tableOptions, LogSink log)
    : options(std::move(tableOptions))
    , delivery(options.replay)
    , sink_(std::move(log))
{
    options.bots = std::clamp(options.bots, 0, kSeats);
    options.tableNumber = std::clamp(options.tableNumber, 0, 0x7FFF);
}

namespace {

// A line as the record writes it: see TableContext::log.
std::string escapedForRecord(std::string_view line)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const auto next = i + 1 < line.size() ? static_cast<unsigned char>(line[i + 1]) : 0;
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 to U+009F in UTF-8: the C1 controls, CSI among them.
            out += "\\u00";
            out += kHex[next >> 4];
            out += kHex[next & 0xF];
            ++i;
        } else if (byte == '\\') {
            out += "\\\\";
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

} // namespace

void TableContext::log(const std::string &line) const
{
    if (sink_)
        sink_(escapedForRecord(line));
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
