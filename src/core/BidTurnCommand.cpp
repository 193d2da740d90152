#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HandEvents.h"
#include "wire/ReceivedFrames.h"

#include <limits>

namespace tessaroc::core {

namespace {

constexpr std::int16_t kBidSeconds = 15;

} // namespace

void Dispatcher::CmdBidTurn(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    ClockState &clocks = loop.clocks;
    const wire::BidTurnFrame turn = wire::BidTurnFrame::decode(message);

    // Whatever turn was running ends.
    c_.video.RequestVideo();
    loop.slots.disarm(LoopSlot::ReadyClock);
    clocks.MyTurn = false;
    clocks.MaySendChoice = false;
    loop.slots.disarm(LoopSlot::ChoiceClock);
    core.BidClockOn = false;
    core.TickPhase = 0;
    clocks.ClockSeconds = core.TableHidden ? std::int16_t{1} : kBidSeconds;
    loop.slots.disarm(LoopSlot::BubbleHide);
    if (core.BidFrameCount < std::numeric_limits<std::int16_t>::max())
        ++core.BidFrameCount;
    for (int pos = 1; pos <= 3; ++pos)
        c_.window.HideBubble(pos);
    c_.window.HideChoiceButtons();

    // From the second frame of a hand on, the frame reports the last bid.
    if (core.BidFrameCount > 1) {
        const int b = DisplayPos(c_, turn.bidder);
        if (b >= 0)
            core.BubbleSeat = static_cast<std::int16_t>(b);
        if (turn.bid == 1) {
            if (b >= 0)
                BecomesLandlord(b);
            return;
        }
    }

    const int n = DisplayPos(c_, turn.nextBidder);
    if (n < 0 || c_.window.LandlordBadgeVisible() || turn.bid != 0)
        return;
    c_.window.ShowTurnClock(services::TableWindow::ClockKind::Bid, n, clocks.ClockSeconds);
    core.BidClockOn = true;
    if (n == 0) {
        clocks.MyTurn = true;
        c_.window.ShowBidButtons();
    } else {
        loop.slots.restartCount(LoopSlot::PlayClock);
    }
}

void Dispatcher::BecomesLandlord(int b)
{
    ApplyLandlord(c_.state, b);
    c_.window.ShowLandlord(b);
}

} // namespace tessaroc::core
