// What the server's commands ask of the settlement, in its least form: the
// four result frames of a hand are counted, and the fourth ends the hand's
// settlement and starts the ready clock. The score board and the hall of
// fame are not built yet, so their names and avatars go nowhere.
#include "settlement/CoreSettlement.h"

#include "core/TableState.h"

namespace tessaroc::settlement {

namespace {

constexpr int kResultFrames = 4;
constexpr std::int16_t kReadySeconds = 12;

} // namespace

void CoreSettlement::ShowScore(const wire::MessageFrame &)
{
    if (++resultFrames_ < kResultFrames)
        return;
    resultFrames_ = 0;
    core::MainLoopState &loop = state_.loop;
    ++state_.settlement.JuNum;
    loop.HoldCommand21 = false;
    if (loop.line.Spectator)
        return;
    loop.SlotFlag8 = true;
    loop.SlotTicks8 = 0;
    loop.clocks.ClockSeconds = kReadySeconds;
    loop.clocks.MaySendChoice = false;
    loop.SlotFlag4 = false;
    state_.core.BidClockOn = false;
}

void CoreSettlement::ClearScoreLists() { }

void CoreSettlement::SetSeat(int, const QString &, int) { }

void CoreSettlement::EmptySeat(int) { }

void CoreSettlement::ShowScoreWindow() { }

void CoreSettlement::ShowHero() { }

} // namespace tessaroc::settlement
