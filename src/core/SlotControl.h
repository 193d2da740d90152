#pragma once

#include "core/MainLoopState.h"

namespace tessaroc::core {

// What the other subsystems ask of the main loop's slots, named by what they
// want done: the core owns the slots, its handlers arm and disarm them
// directly, and everyone else goes through here.
class SlotControl
{
public:
    // The blink of the history button: eight changes 400 ms apart.
    static constexpr std::int16_t kBlinkChanges = 8;

    explicit SlotControl(MainLoopState &loop)
        : loop_(loop)
    { }

    // Another player spoke: the history button blinks.
    void startBlink()
    {
        loop_.BlinkCount = kBlinkChanges;
        loop_.slots.arm(LoopSlot::Blink);
    }
    void stopChoiceClock() { loop_.slots.disarm(LoopSlot::ChoiceClock); }
    void stopPlayClock() { loop_.slots.disarm(LoopSlot::PlayClock); }
    void startReadyClock() { loop_.slots.arm(LoopSlot::ReadyClock); }
    void stopReadyClock() { loop_.slots.disarm(LoopSlot::ReadyClock); }
    // A way out of the table: a socket closed from here on is no lost
    // connection.
    void stopConnectionWatch() { loop_.slots.disarm(LoopSlot::ConnWatch); }

private:
    MainLoopState &loop_;
};

} // namespace tessaroc::core
