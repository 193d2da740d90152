#pragma once

namespace tessaroc::core {

struct CoreContext;

// Leaves the table without ending the program: the hand over, the main loop
// and the keep-alive stopped and disarmed, held user-left frames dropped, the
// socket closed (waiting a bounded time for it to leave the connected state),
// every seat and player record emptied (the next user information fixes the
// own seat again), the hand records and the hall-of-fame totals gone, the
// window's seats, lists, dialogs and labels emptied and the window minimised,
// the item library released, the Ready button held with its first-start
// picture. It sends nothing; the hall window is the caller's business.
void ResetTable(CoreContext &c);

} // namespace tessaroc::core
