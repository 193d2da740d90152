#include "core/TableReset.h"

#include "core/CoreContext.h"
#include "support/Waits.h"

namespace tessaroc::core {

namespace {

// How long the reset serves events for a socket that still reports itself
// connected after it was closed.
constexpr std::int64_t kSocketCloseWaitMs = 1000;

} // namespace

void ResetTable(CoreContext &c)
{
    MainLoopState &loop = c.loop();
    c.state.rules.InGame = false;
    c.timers.StopTimerBong();
    c.timers.StopKeepAlive();

    loop.ring.SlotFlag0 = false;
    loop.ring.SlotFlag1 = false;
    loop.SlotFlag2 = false;
    loop.SlotFlag3 = false;
    loop.SlotFlag4 = false;
    loop.Disconnect_Flag = false;
    loop.SlotFlag7 = false;
    loop.SlotFlag8 = false;
    loop.SlotFlag9 = false;
    loop.SlotFlag10 = false;
    loop.SlotTicks9 = 0;
    loop.StopwatchStartMs = loop.StopwatchElapsedMs = c.clock.nowMs();
    loop.HoldCommand21 = false;
    loop.heldUserLeft.clear();

    c.socket.Close();
    const std::int64_t start = c.clock.nowMs();
    while (c.socket.State() == services::ServerSocket::sckConnected
           && c.clock.nowMs() - start < kSocketCloseWaitMs)
        support::Wait(c.clock, 10);

    for (rules::HandRecord &hand : c.state.rules.HandRecords) {
        hand.name.clear();
        hand.seatBit = 0;
    }
    loop.PlayersPresent = 0;
    c.window.ResetTableView();
    if (c.state.gamedllstate > 0)
        c.items.ExitGameDll(0);
    c.settlement.DeleteHandRecords();
}

} // namespace tessaroc::core
