#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "support/Waits.h"
#include "wire/ReceivedFrames.h"

#include <algorithm>
#include <limits>

namespace tessaroc::core {

namespace {

// Trick codes of a played frame.
constexpr std::uint8_t kTrickOpens = 1; // the table is cleared, the next seat leads
constexpr std::uint8_t kTrickEndsNoBeat = 9; // shown, but nothing left to beat
constexpr std::uint8_t kTrickOpensAfterPause = 10;

constexpr std::int16_t kDefaultTurnSeconds = 20;
constexpr int kPauseBeforeClearMs = 500;

void countUp(std::int16_t &counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max())
        ++counter;
}

bool isPictureIndex(int k)
{
    return k >= 0 && k < rules::kMaxHandCards;
}

} // namespace

void Dispatcher::CmdPlayed(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    ClockState &clocks = loop.clocks;
    PlayState &play = c_.state.play;
    const wire::PlayedFrame played = wire::PlayedFrame::decode(message);
    const std::uint8_t code = played.trickCode;
    const bool tableClears = code == kTrickOpens || code == kTrickOpensAfterPause;

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
    if (tableClears) {
        if (code == kTrickOpensAfterPause)
            support::Wait(c_.clock, kPauseBeforeClearMs);
        for (int i = 0; i < 4; ++i)
            HideRow(i, play.TableCards[static_cast<std::size_t>(i)]);
    }

    if (played.cardCount == 0) {
        if (p >= 0) {
            // The passing seat's last play leaves the table.
            const auto &row = play.TableCards[static_cast<std::size_t>(p)];
            if (row[PlayState::kCountColumn] < PlayState::kCountColumn)
                HideRow(p, row);
            if (core.PlayFrameCount != 1 && p != 0)
                c_.window.ShowPassPicture(p);
        }
    } else if (p >= 0) {
        c_.play.ShowChuPai(message);
    }

    const bool ownTurn = played.next != 0 && played.next == c_.ownSeatBit();
    if (ownTurn)
        OpenOwnTurn(code);

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

    if (tableClears || code == kTrickEndsNoBeat)
        c_.state.rules.prevPlay.kind = rules::KindNone;
}

void Dispatcher::HideRow(int pos, const PlayState::CardPictureRow &row)
{
    const int count = row[PlayState::kCountColumn];
    for (int j = 0; j < count && j < PlayState::kCountColumn; ++j) {
        if (isPictureIndex(row[static_cast<std::size_t>(j)]))
            c_.window.HideCardPicture(pos, row[static_cast<std::size_t>(j)]);
    }
}

void Dispatcher::OpenOwnTurn(std::uint8_t code)
{
    PlayState &play = c_.state.play;
    ClockState &clocks = c_.loop().clocks;

    // The own cards of the play before last leave the table; the last own
    // play becomes the one before.
    HideRow(0, play.PrevTableCards[0]);
    const PlayState::CardPictureRow &current = play.TableCards[0];
    PlayState::CardPictureRow &previous = play.PrevTableCards[0];
    const int count = std::clamp<int>(current[PlayState::kCountColumn], 0, PlayState::kCountColumn);
    previous[PlayState::kCountColumn] = static_cast<std::int16_t>(count);
    for (int j = 0; j < count; ++j) {
        const std::int16_t k = current[static_cast<std::size_t>(j)];
        if (isPictureIndex(k)) {
            c_.window.HideCardPicture(0, k);
            previous[static_cast<std::size_t>(j)] = k;
        }
    }

    if (code == kTrickOpens || code == kTrickOpensAfterPause)
        c_.state.rules.prevPlay.kind = rules::KindNone;
    if (code < kTrickOpensAfterPause) {
        const bool lead = code == kTrickOpens;
        c_.window.ShowOwnTurnButtons(lead);
        clocks.MustLead = lead;
        c_.state.rules.HintCount = 0;
        c_.state.commands.HintIndex = 0;
        c_.state.commands.HintReady = false;
    }
}

} // namespace tessaroc::core
