#include "settlement/ResultCollector.h"

#include "rules/DisplayPos.h"

namespace tessaroc::settlement {

bool ResultCollector::add(const wire::MessageFrame &frame)
{
    if (ResultArrivals >= kFrames)
        ResultArrivals = 0;
    Msg1[static_cast<std::size_t>(ResultArrivals)] = frame;
    ++ResultArrivals;
    if (ResultArrivals < kFrames)
        return false;
    ResultArrivals = 0;
    return true;
}

std::optional<ResultSet> ReadResultSet(const ResultCollector &collector, std::uint8_t ownSeatBit)
{
    ResultSet set{};
    std::array<bool, ResultCollector::kFrames> taken{};
    for (int r = 0; r < ResultCollector::kFrames; ++r) {
        SeatResult &seat = set[static_cast<std::size_t>(r)];
        seat.row = r;
        seat.frame = wire::HandResultFrame::decode(collector.row(r));
        if (!seat.frame.seat.valid())
            return std::nullopt;
        seat.pos = rules::DisplayPos(seat.frame.seat.bit(), ownSeatBit);
        if (taken[static_cast<std::size_t>(seat.pos)])
            return std::nullopt;
        taken[static_cast<std::size_t>(seat.pos)] = true;
    }
    return set;
}

} // namespace tessaroc::settlement
