#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HandEvents.h"
#include "support/Waits.h"
#include "wire/ReceivedFrames.h"

#include <limits>

namespace tessaroc::core {

namespace {

constexpr std::int16_t kDefaultTurnSeconds = 20;
constexpr int kPauseBeforeClearMs = 500;

void countUp(std::int16_t &counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max())
        ++counter;
}

} // namespace

void Dispatcher::CmdPlayed(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    ClockState &clocks = loop.clocks;
    PlayState &play = c_.state.play;
    const wire::PlayedFrame played = wire::PlayedFrame::decode(message);
    const TrickCode trick = TrickCodeRules(played.trickCode);

    core.BidClockOn = false;
    loop.slots.disarm(LoopSlot::ChoiceClock);
    clocks.MyTurn = false;
    clocks.MaySendChoice = false;
    countUp(core.PlayCounter);
    if (core.PlayCounter == 1)
        c_.window.FirstPlayOfHand();
    else if (core.PlayCounter == 2)
        core.MingXiDocked = true;
    c_.window.HideBidButtons();
    c_.window.HideChoiceButtons();
    clocks.HandActive = false;
    countUp(core.PlayFrameCount);

    const int p = DisplayPos(c_, played.mover);
    if (trick.clearsTable) {
        if (trick.pausesBeforeClear)
            support::Wait(c_.clock, kPauseBeforeClearMs);
        for (int i = 0; i < 4; ++i)
            HidePictures(i, RowPictures(play.TableCards[static_cast<std::size_t>(i)]));
    }

    if (played.cardCount == 0) {
        if (p >= 0) {
            HidePictures(p, PassedRow(play, p));
            if (core.PlayFrameCount != 1 && p != 0)
                c_.window.ShowPassPicture(p);
        }
    } else if (p >= 0) {
        c_.play.ShowChuPai(ApplyAnnouncedPlay(c_.state, played, p));
    }

    const bool ownTurn = played.next != 0 && played.next == c_.ownSeatBit();
    if (ownTurn)
        OpenOwnTurn(trick);

    const int q = DisplayPos(c_, wire::SeatByte{played.next});
    if (q >= 0) {
        // The server's 0 or 1 means the room's default turn.
        clocks.ClockSeconds
                = played.seconds < 2 ? kDefaultTurnSeconds : std::int16_t{played.seconds};
        if (core.TableHidden)
            clocks.ClockSeconds = 1;
        c_.window.ShowTurnClock(services::TableWindow::ClockKind::Play, q, clocks.ClockSeconds);
        if (q == 0) {
            clocks.MyTurn = true;
            clocks.HandActive = true;
            clocks.MaySendPlay = true;
        }
        loop.slots.arm(LoopSlot::PlayClock);
    }

    ApplyTrickEnd(c_.state, trick);
}

void Dispatcher::HidePictures(int pos, const HiddenPictures &hidden)
{
    for (std::int16_t k : hidden.pictures())
        c_.window.HideCardPicture(pos, k);
}

void Dispatcher::OpenOwnTurn(const TrickCode &trick)
{
    const OwnTurnOpened turn = ApplyOwnTurn(c_.state, trick);
    HidePictures(0, turn.retired);
    if (turn.showButtons) {
        c_.window.ShowOwnTurnButtons(turn.lead);
        c_.loop().clocks.MustLead = turn.lead;
    }
}

} // namespace tessaroc::core
