#pragma once

namespace tessaroc::core {

struct CoreContext;

// ConnectionLost: the server has taken the player off the table (coins short,
// a forced leave); the caller has put the reason into the notice dialog. The
// main loop stops, the other seats are emptied, the socket closes, both rings
// are emptied (nothing queued is ever sent), and after a two-second pause the
// notice shows over the table. From there the player goes back to the hall.
void ConnectionLost(CoreContext &c);

} // namespace tessaroc::core
