#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace tessaroc::core {

// The main loop's numbered slots. The tick runs them in its own order, not by
// number; number 5 was a slot that only counted and is gone.
enum class LoopSlot : std::uint8_t {
    Send = 0, // one queued frame out per tick
    Receive = 1, // one received frame to the dispatcher, and the receive watchdog
    Login = 2, // the login frame once the socket is connected
    Blink = 3, // the chat history button blinks
    ChoiceClock = 4,
    ConnWatch = 6, // the connection watch, armed from the login on
    PlayClock = 7,
    ReadyClock = 8,
    Stopwatch = 9, // the 4-second stopwatch
    BubbleHide = 10,
};

// The slots' table: for each slot whether it is armed, its count of ticks and
// its threshold. Every tick adds one to each count, the stopwatch's excepted
// (its count is a state: 1 when its round is over); an armed slot runs once
// its count has reached its threshold, and each count goes back to 0 at its
// threshold whether or not the slot ran. Arming a slot starts its count
// afresh, so an armed slot first runs after a full threshold of ticks, and
// the ticks until the next slot is due follow from the table alone. The turn
// clocks (4, 7, 8) and the stopwatch step on the monotonic clock, not on
// their counts: their thresholds are the same time in ticks.
class LoopSlots
{
public:
    static constexpr int threshold(LoopSlot slot) { return kThresholds[index(slot)]; }

    bool armed(LoopSlot slot) const { return at(slot).armed; }
    int ticks(LoopSlot slot) const { return at(slot).ticks; }
    // The slot runs in this tick.
    bool due(LoopSlot slot) const
    {
        const Slot &s = at(slot);
        return s.armed && s.ticks >= threshold(slot);
    }

    // Armed, its count starting afresh.
    void arm(LoopSlot slot) { at(slot) = {true, 0}; }
    // Armed, its count going on: a slot armed already keeps its beat.
    void armKeepingCount(LoopSlot slot) { at(slot).armed = true; }
    // Not armed, its count starting afresh. Every arm but armKeepingCount
    // starts the count afresh anyway, and the one slot armed that way, the
    // connection watch, needs its count at 0 whenever it is disarmed.
    void disarm(LoopSlot slot) { at(slot) = {false, 0}; }
    // Every slot disarmed with its count at 0.
    void disarmAll() { slots_ = {}; }
    void restartCount(LoopSlot slot) { at(slot).ticks = 0; }
    // The slot runs again at the next tick, if it is still armed then.
    void dueAtNextTick(LoopSlot slot)
    {
        at(slot).ticks = threshold(slot) - (slot == LoopSlot::Stopwatch ? 0 : 1);
    }

    // The tick's first step: the counts grow.
    void countTick()
    {
        count<LoopSlot::Send, LoopSlot::Receive, LoopSlot::Login, LoopSlot::Blink,
              LoopSlot::ChoiceClock, LoopSlot::ConnWatch, LoopSlot::PlayClock, LoopSlot::ReadyClock,
              LoopSlot::BubbleHide>();
    }
    // After the slot's turn in the tick: a count that reached its threshold
    // starts again.
    void wrap(LoopSlot slot)
    {
        Slot &s = at(slot);
        if (s.ticks >= threshold(slot))
            s.ticks = 0;
    }

    // The ticks from now until the armed slot's next turn: at least 1, as a
    // count only reaches its threshold in a tick.
    int ticksToDue(LoopSlot slot) const { return std::max(1, threshold(slot) - at(slot).ticks); }
    // How often the slot's count reaches its threshold in the next n ticks:
    // the turns an armed slot gets in them.
    int turnsWithin(LoopSlot slot, int n) const { return (at(slot).ticks + n) / threshold(slot); }
    // n ticks in which no armed slot is due, counted at once: every count
    // grows and wraps as n ticks grow and wrap it, an unarmed slot's as well.
    void countTicks(int n)
    {
        countMany<LoopSlot::Send, LoopSlot::Receive, LoopSlot::Login, LoopSlot::Blink,
                  LoopSlot::ChoiceClock, LoopSlot::ConnWatch, LoopSlot::PlayClock,
                  LoopSlot::ReadyClock, LoopSlot::BubbleHide>(n);
    }

private:
    struct Slot
    {
        bool armed = false;
        int ticks = 0;
    };
    static constexpr std::size_t kSlotCount = 11;
    // By slot number; 5 is no slot.
    static constexpr std::array<int, kSlotCount> kThresholds{1, 2, 4, 8, 20, 0, 2, 20, 20, 1, 20};
    static constexpr std::size_t index(LoopSlot slot) { return static_cast<std::size_t>(slot); }
    Slot &at(LoopSlot slot) { return slots_[index(slot)]; }
    const Slot &at(LoopSlot slot) const { return slots_[index(slot)]; }
    template<LoopSlot... Counted> void count() { (++at(Counted).ticks, ...); }
    template<LoopSlot... Counted> void countMany(int n)
    {
        ((at(Counted).ticks = (at(Counted).ticks + n) % threshold(Counted)), ...);
    }

    std::array<Slot, kSlotCount> slots_{};
};

} // namespace tessaroc::core
