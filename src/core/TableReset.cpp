#include "core/TableReset.h"

#include "core/CoreContext.h"
#include "support/Waits.h"

namespace tessaroc::core {

namespace {

// How long the reset serves events for a socket that still reports itself
// connected after it was closed. Closing aborts the connection, so the state
// normally changes at once; the bound keeps a socket that never leaves the
// connected state from holding the table for ever.
constexpr std::int64_t kSocketCloseWaitMs = 1000;
constexpr int kSocketCloseStepMs = 10;
// The Ready button's first-start picture in ButtonPic.
constexpr int kFirstStartPicture = 4;

} // namespace

void ResetTable(CoreContext &c)
{
    MainLoopState &loop = c.loop();
    CoreState &core = c.state.core;
    c.state.rules.InGame = false;
    core.ButtonDown[2] = true;

    loop.disarmSlots(c.clock.nowMs());
    c.timers.StopTimerBong();
    c.timers.StopKeepAlive();
    c.window.SetSystemLine(0, {});
    c.window.SetSystemLine(1, {});

    c.socket.Close();
    loop.LoginSent = false;
    loop.HoldCommand21 = false;
    c.rings.HeldRecv.clear();
    const std::int64_t start = c.clock.nowMs();
    while (c.socket.State() == services::ServerSocket::sckConnected
           && c.clock.nowMs() - start < kSocketCloseWaitMs)
        support::Wait(c.clock, kSocketCloseStepMs);

    for (rules::HandRecord &hand : c.state.rules.HandRecords) {
        hand.name.clear();
        hand.seatBit = 0;
    }
    for (PlayerRecord &record : c.state.commands.custom)
        EmptySeatRecord(record);
    TableWindowState &table = c.state.table;
    table.BidButtonHover = true;
    c.settlement.DeleteHandRecords();

    loop.PlayersPresent = 0;
    c.state.rules.InGame = false;
    c.state.settlement.JuNum = 0;
    if (c.state.gamedllstate > 0)
        c.items.ExitGameDll(0);

    // The window's part: seats, records, chat, dialogs and labels emptied,
    // then the window minimised.
    c.window.ResetTableView();
    c.window.Minimise();
    core.TimeoutCount = 0;
    core.AutoMode = false;
    table.Word1Hover = false;
    table.Word2Hover = false;

    c.window.SetToolbarPicture(2, kFirstStartPicture);
    loop.FirstStartPending = true;
    core.Wealth.fill(0);
}

} // namespace tessaroc::core
