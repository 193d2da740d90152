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

    loop.ring.SlotFlag0 = false;
    loop.ring.SlotFlag1 = false;
    loop.SlotFlag2 = false;
    loop.SlotFlag3 = false;
    loop.Disconnect_Flag = false;
    loop.SlotTicks6 = 0;
    loop.SlotFlag7 = false;
    loop.SlotFlag4 = false;
    c.window.HideChoiceButtons();
    loop.SlotFlag8 = false;
    loop.SlotFlag9 = false;
    loop.SlotTicks9 = 0;
    loop.StopwatchStartMs = loop.StopwatchElapsedMs = c.clock.nowMs();
    loop.SlotFlag10 = false;

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
