#pragma once

namespace tessaroc::core {

struct CoreContext;

// Leaves the table: the hand over, the main loop and the keep-alive stopped
// and disarmed, held user-left frames dropped, the socket closed, every seat
// emptied (the next user information fixes the own seat again), the window's
// seats, labels and lines cleared, the item library released.
void ResetTable(CoreContext &c);

} // namespace tessaroc::core
