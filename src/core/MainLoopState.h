#pragma once

#include "core/LoopSlots.h"
#include "core/services/ItemLibrary.h"
#include "wire/CommandLine.h"
#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaroc::core {

// A frame the send slot keeps back instead of sending, while its capture is
// armed (the first item frames after a hand's result, re-sent at the next
// deal).
struct HeldFrame
{
    bool armed = false;
    wire::MessageFrame frame;
};

// The turn clocks: one seconds value shared by the four clocks (only one
// runs at a time) and the time of each clock's last step on the monotonic
// clock (none before its first step).
struct ClockState
{
    std::int16_t ClockSeconds = 0;
    bool MyTurn = false; // the own seat must bid, choose or play
    bool MaySendPlay = false;
    bool MaySendChoice = false;
    bool MustLead = false; // the own seat opens the trick and may not pass
    bool HandActive = false;
    std::int16_t TimeoutLimit = 0; // play time-outs before auto mode; 0 never
    enum Clock { Bid, Choice, Play, Ready, ClockCount };
    std::array<std::optional<std::int64_t>, ClockCount> lastStepMs{};
};

// The seat-shuffle notice shown at the ready time.
struct ShuffleState
{
    bool ShuffleWanted = false;
    bool ShuffleNoticeArmed = false;
    bool ShuffleOn = false;
    std::int16_t ShuffleIndex = 0;
    std::array<std::string, 4> ShuffleCaptions{};
};

// The main loop's slots and the session state the loop, the clocks, the hall
// link and the dispatcher share.
struct MainLoopState
{
    LoopSlots slots;
    // The 4-second stopwatch, on the monotonic clock.
    std::int64_t StopwatchStartMs = 0;
    std::int64_t StopwatchElapsedMs = 0;

    // Every slot disarmed and the stopwatch back at 0: how the start-up, a
    // way out of the table and the table reset leave the main loop.
    void disarmSlots(std::int64_t nowMs)
    {
        slots.disarmAll();
        StopwatchStartMs = StopwatchElapsedMs = nowMs;
    }

    std::int32_t WatchdogTicks = 0; // receive passes without a frame while a hand runs
    std::int16_t BlinkCount = 0;

    bool LoggedIn = false;
    bool LoginSent = false;
    // The server answers one login per connection; a connection made anew
    // clears this, the first login answer on it sets it.
    bool LoginAnswered = false;
    bool ReconnectAllowed = false;
    bool Reconnected = false;
    bool TableCleared = false;
    // User-left frames wait (in the rings' HeldRecv) until the hand's results
    // are in.
    bool HoldCommand21 = false;
    bool LeaveRunning = false; // a way out of the table is under way (LeaveScope)
    bool FirstStartPending = false;
    bool ChatGate = false;
    bool HandStarted = false;
    bool DealArmed = false;
    std::int16_t PlayersPresent = 0;
    std::array<std::int16_t, 4> SeatScore{};
    std::int16_t g_iChangeNum = 0;

    // The first two item frames after a hand's result, kept back by the send
    // slot (sub-kinds 129 and 386).
    std::array<HeldFrame, 2> HeldFrames{};

    // Item library: its steps run only while it is ready (never in this
    // configuration).
    bool PropReady = false;
    bool SettlementDeferred = false;
    bool ScoreInfoAnnounced = false;
    wire::MessageFrame HeldResultFrame;
    services::PropScoreInfo propScore; // PropText, PropCoins, PropSeatTexts
    bool BoxChosen = false;
    bool BoxCountdownOn = false;
    int BoxCountdownTicks = 0;
    std::int16_t BoxCountdown = 0;

    bool OwnVideoDelayArmed = false;
    int OwnVideoDelayTicks = 0;

    // From the command line.
    wire::CommandLine line;
    std::string HallCaption;
    std::string TableCaption;
    bool HallWnd = false; // the main loop's last lookup found the hall window
    wire::MessageFrame LoginFrame;
    std::string AdUrl;

    ClockState clocks;
    ShuffleState shuffle;
};

} // namespace tessaroc::core
