#include "settlement/ResultCollector.h"

#include "rules/DisplayPos.h"

namespace tessaroc::settlement {

bool ResultCollector::add(const wire::MessageFrame &frame)
{
    if (ResultArrivals >= kFrames)
        ResultArrivals = 0;
    // A server that resumes a hand may send a seat's result again (the whole
    // set, or the last frame the client read before the loss): the newer
    // frame takes the seat's row, so the set still completes with the
    // fourth seat instead of naming a seat twice. A frame that names no
    // seat matches none and takes a row of its own.
    const wire::SeatByte seat = wire::HandResultFrame::decode(frame).seat;
    if (seat.valid()) {
        for (int r = 0; r < ResultArrivals; ++r) {
            auto &kept = Msg1[static_cast<std::size_t>(r)];
            if (wire::HandResultFrame::decode(kept).seat.bit() == seat.bit()) {
                kept = frame;
                return false;
            }
        }
    }
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
