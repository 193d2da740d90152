#include "core/Leave.h"

#include "core/CoreContext.h"
#include "support/Waits.h"
#include "wire/SentFrames.h"

namespace tessaroc::core {

LeaveScope::LeaveScope(CoreContext &c)
    : loop_(c.loop())
    , entered_(!loop_.LeaveRunning)
{
    loop_.LeaveRunning = true;
}

LeaveScope::~LeaveScope()
{
    if (entered_)
        loop_.LeaveRunning = false;
}

void CloseVideoAndLeave(CoreContext &c)
{
    MainLoopState &loop = c.loop();
    const wire::MessageFrame leave = wire::ReadyOrLeaveFrame{c.ownSeatBit(), false}.encode();

    loop.disarmSlots(c.clock.nowMs());
    c.window.HideChoiceButtons();

    c.timers.StopTimerBong();
    c.timers.StopKeepAlive();

    if (c.socket.State() == services::ServerSocket::sckConnected)
        c.socket.SendData(leave);
    support::WaitSeconds(c.clock, loop.Reconnected ? 0.8f : 0.4f);

    loop.ReconnectAllowed = false;
    c.window.HideShuffleNotice(true);
    loop.shuffle.ShuffleWanted = false;
    loop.shuffle.ShuffleOn = false;
    c.video.LeaveTable();
    c.state.VideoOn = false;
    loop.OwnVideoDelayTicks = 0;
    loop.OwnVideoDelayArmed = false;
    c.window.HideAdPanel();
}

} // namespace tessaroc::core
