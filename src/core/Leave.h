#pragma once

namespace tessaroc::core {

struct CoreContext;

// The first step of every way out of the table: the main loop disarmed and
// stopped with the keep-alive, the leave frame sent straight through the
// socket while it is connected, a short wait for it to go out, no
// reconnection from then on. The caller resets the table afterwards.
void CloseVideoAndLeave(CoreContext &c);

} // namespace tessaroc::core
