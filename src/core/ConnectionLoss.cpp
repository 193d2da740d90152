#include "core/ConnectionLoss.h"

#include "core/CoreContext.h"
#include "core/Sleep.h"

namespace tessaroc::core {

namespace {

constexpr float kPauseSeconds = 2.0f;

} // namespace

void ConnectionLost(CoreContext &c)
{
    c.timers.StopTimerBong();
    c.state.commands.ConnectionLostFlag = true;
    c.state.core.ButtonDown[2] = false;
    for (int i = 1; i <= 3; ++i) {
        c.window.ClearSeatMarkAndAvatar(i);
        c.window.SetSystemLine(0, QString());
        c.state.rules.HandRecords[static_cast<std::size_t>(i)].name.clear();
        EmptySeatRecord(c.state.commands.custom[static_cast<std::size_t>(i)]);
    }
    c.socket.Close();
    SleepSeconds(c.clock, kPauseSeconds);
    c.state.settlement.JuNum = 0;
    // The server has taken the player off the table: no reconnection resumes
    // this hand, so what was collected of its results goes.
    c.settlement.DropResultFrames();
    wire::ResetMsgRings(c.rings);
    c.loop().PlayersPresent = 0;
    c.window.ShowOtherExit();
}

} // namespace tessaroc::core
