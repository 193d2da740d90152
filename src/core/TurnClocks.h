#pragma once

#include "core/MainLoopState.h"

namespace tessaroc::core {

struct CoreContext;

// The four turn clocks the main loop steps, in the order bid, choice, play,
// ready. A clock steps when the login was accepted, its run flag is set and
// at least a second has passed on the monotonic clock since its last step; it
// counts ClockSeconds down on the table's clock, and when they have run out
// answers for the player: no bid, the second choice, a pass (or, when the
// player must lead, the last card of the hand), ready.
class TurnClocks
{
public:
    explicit TurnClocks(CoreContext &context);

    void BidClock();
    void ChoiceClock();
    void PlayClock();
    void ReadyClock();

    static constexpr std::int64_t kStepMs = 1000;
    static constexpr int kWarningSeconds = 6; // below this the seconds turn red
    static constexpr int kWarningSound = 6; // SoundTable entry of the tick
    static constexpr int kF1 = 112;

private:
    bool due(ClockState::Clock clock, bool running);
    void countDown(bool warningSound);
    void BidTimeout();
    void ChoiceTimeout();
    void PlayTimeout();
    void ReadyTimeout();

    CoreContext &c_;
};

} // namespace tessaroc::core
