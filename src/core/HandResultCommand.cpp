#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::core {

namespace {

constexpr std::int16_t kResultFrames = 4;

} // namespace

void Dispatcher::CmdHandResult(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;

    // The first result of a hand: the first two item frames sent from now on
    // wait for the next deal, and user-left frames wait in the ring until
    // the settlement is shown.
    if (!loop.HoldCommand21) {
        for (HeldFrame &held : loop.HeldFrames)
            held = {true, wire::MessageFrame{}};
        loop.HoldCommand21 = true;
    }
    c_.window.HideTurnClock();
    loop.slots.disarm(LoopSlot::PlayClock);
    core.HandOver = true;
    c_.settlement.ClearScoreLists();
    c_.state.commands.WinnerText = wire::HandResultFrame::decode(message).winnersLine;

    bool showNow = true;
    if (c_.state.gamedllstate > 0) {
        CommandState &commands = c_.state.commands;
        ++commands.PropResultCount;
        if (commands.PropResultCount >= kResultFrames) {
            // The item library settles the hand first; the main loop shows
            // the result once the library has announced its information.
            showNow = false;
            c_.settlement.ClearScoreLists();
            commands.PropResultCount = 0;
            core.ResultPhase = 1;
            loop.SettlementDeferred = true;
            c_.items.InitShowEnd();
            loop.HeldResultFrame = message;
        }
    }
    if (showNow) {
        if (core.RuleSetFlag)
            c_.settlement.ShowScoreXi(message);
        else
            c_.settlement.ShowScore(message);
    }

    loop.PlayersPresent = 0;
    c_.video.ExitVideo();
}

} // namespace tessaroc::core
