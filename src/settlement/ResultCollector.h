#pragma once

#include "wire/MessageFrame.h"
#include "wire/ReceivedFrames.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tessaroc::settlement {

// The four result frames of a hand, kept in arrival order (Msg1) until the
// fourth completes the set. Both boards collect here through one counter
// (ResultArrivals), so a hand whose first frames reach one board and whose
// last reaches the other (the item library's held settlement) still forms
// one set. The counter is cleared when the table is reset or left, at a
// login answer and at every hand start, dealt or not, so the frames of a
// hand whose results stopped short never join the next hand's. A connection
// lost between the frames and resumed keeps them: the server sends the rest
// again, and perhaps some it had sent before.
class ResultCollector
{
public:
    static constexpr int kFrames = 4;

    // Stores the frame as the next row, or in place of the row of the same
    // seat; true when it is the fourth row.
    bool add(const wire::MessageFrame &frame);
    void clear() { ResultArrivals = 0; }
    int count() const { return ResultArrivals; }
    const wire::MessageFrame &row(int r) const { return Msg1[static_cast<std::size_t>(r)]; }

private:
    std::array<wire::MessageFrame, kFrames> Msg1{};
    int ResultArrivals = 0;
};

// One seat's result read from its row.
struct SeatResult
{
    int row = 0; // the Msg1 row, in arrival order
    int pos = 0; // display position
    wire::HandResultFrame frame;
};

// The four rows of a complete set, in row order, each with its display
// position. Nothing when a row names no seat (or two rows the same seat):
// such a set cannot be shown.
using ResultSet = std::array<SeatResult, ResultCollector::kFrames>;
std::optional<ResultSet> ReadResultSet(const ResultCollector &collector, std::uint8_t ownSeatBit);

} // namespace tessaroc::settlement
