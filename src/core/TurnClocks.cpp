#include "core/TurnClocks.h"

#include "core/CoreContext.h"
#include "wire/SentFrames.h"

namespace tessaroc::core {

TurnClocks::TurnClocks(CoreContext &context)
    : c_(context)
{ }

bool TurnClocks::due(ClockState::Clock clock, bool running)
{
    if (!c_.loop().LoggedIn || !running)
        return false;
    auto &last = c_.loop().clocks.lastStepMs[clock];
    const std::int64_t now = c_.clock.nowMs();
    // The monotonic clock never runs back, so a clock neither stalls nor
    // skips at midnight; a slow tick does not make it catch up either.
    if (last && now - *last < kStepMs)
        return false;
    last = now;
    return true;
}

void TurnClocks::countDown(bool warningSound)
{
    ClockState &clocks = c_.loop().clocks;
    --clocks.ClockSeconds;
    const bool red = clocks.ClockSeconds < kWarningSeconds;
    c_.window.ShowClockSeconds(clocks.ClockSeconds, red);
    if (warningSound && red && c_.state.sound.VoiceOn && !c_.window.IsMinimised()) {
        c_.sound.PlaySoundFile(c_.sound.SoundTable(kWarningSound), false);
        c_.sound.SetSoundVolume(3000);
    }
}

void TurnClocks::BidClock()
{
    if (!due(ClockState::Bid, c_.state.core.BidClockOn))
        return;
    if (c_.loop().clocks.ClockSeconds > 0)
        countDown(true);
    else
        BidTimeout();
}

void TurnClocks::ChoiceClock()
{
    if (!due(ClockState::Choice, c_.loop().slots.armed(LoopSlot::ChoiceClock)))
        return;
    if (c_.loop().clocks.ClockSeconds > 0)
        countDown(false);
    else
        ChoiceTimeout();
}

void TurnClocks::PlayClock()
{
    if (!due(ClockState::Play, c_.loop().slots.armed(LoopSlot::PlayClock)))
        return;
    if (c_.loop().clocks.ClockSeconds > 0)
        countDown(true);
    else
        PlayTimeout();
}

void TurnClocks::ReadyClock()
{
    if (!due(ClockState::Ready, c_.loop().slots.armed(LoopSlot::ReadyClock)))
        return;
    if (c_.loop().clocks.ClockSeconds > 0)
        countDown(false);
    else
        ReadyTimeout();
}

void TurnClocks::BidTimeout()
{
    ClockState &clocks = c_.loop().clocks;
    c_.window.HideBidButtons();
    if (clocks.MyTurn) {
        wire::MessageFrame frame = wire::BidFrame{c_.ownSeatBit(), false}.encode();
        c_.SendMsg(frame);
    }
    c_.window.HideTurnClock();
    clocks.ClockSeconds = c_.state.core.TurnSeconds;
    clocks.MyTurn = false;
    c_.state.core.BidClockOn = false;
}

void TurnClocks::ChoiceTimeout()
{
    MainLoopState &loop = c_.loop();
    c_.window.HideChoiceButtons();
    if (loop.clocks.MyTurn) {
        wire::MessageFrame frame = wire::ChoiceFrame{c_.ownSeatBit(), 2}.encode();
        c_.SendMsg(frame);
    }
    c_.window.HideTurnClock();
    loop.clocks.MyTurn = false;
    loop.clocks.MaySendPlay = false;
    loop.slots.disarm(LoopSlot::ChoiceClock);
    loop.clocks.ClockSeconds = c_.state.core.TurnSeconds;
}

void TurnClocks::PlayTimeout()
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    c_.window.HideActionButtons();
    if (loop.clocks.MyTurn) {
        if (!core.AutoMode) {
            ++core.TimeoutCount;
            if (loop.clocks.TimeoutLimit > 0 && core.TimeoutCount >= loop.clocks.TimeoutLimit)
                c_.play.Pic1_KeyDown(kF1, 0);
        }
        if (!loop.clocks.MustLead) {
            wire::MessageFrame frame = wire::PlayFrame::pass(c_.ownSeatBit()).encode();
            c_.SendMsg(frame);
        } else {
            // A lead cannot be passed: every card goes down and the last card
            // of the hand is played.
            const rules::HandRecord &own = c_.state.rules.ownHand();
            const int count = own.validCount();
            for (int slot = 0; slot < count; ++slot)
                c_.play.LowerOwnCard(own.slots[static_cast<std::size_t>(slot)].picIndex);
            if (count > 0) {
                const int picIndex = own.slots[static_cast<std::size_t>(count - 1)].picIndex;
                if (picIndex >= 0 && picIndex < rules::kMaxHandCards) {
                    c_.play.RaiseOwnCard(picIndex);
                    c_.play.JudgeChuPai();
                }
            }
        }
    }
    loop.clocks.MaySendPlay = false;
    c_.window.HideTurnClock();
    loop.clocks.ClockSeconds = core.TurnSeconds;
    loop.slots.disarm(LoopSlot::PlayClock);
}

void TurnClocks::ReadyTimeout()
{
    MainLoopState &loop = c_.loop();
    c_.window.HideTurnClock();
    if (!loop.TableCleared) {
        c_.window.SetToolbarPicture(2, 6);
        c_.state.core.ButtonDown[2] = true;
        c_.window.ClearTable();
        rules::ClearHandsShort(c_.state.rules);
        loop.TableCleared = true;
    }
    wire::MessageFrame frame = wire::ReadyOrLeaveFrame{c_.ownSeatBit(), true}.encode();
    c_.SendMsg(frame);
    loop.slots.disarm(LoopSlot::ReadyClock);
    ShuffleState &shuffle = loop.shuffle;
    if (shuffle.ShuffleWanted && shuffle.ShuffleNoticeArmed) {
        c_.window.ShowSeatShuffle(QString::fromStdString(shuffle.ShuffleCaptions[0]),
                                  QString::fromStdString(loop.AdUrl));
        shuffle.ShuffleOn = true;
        shuffle.ShuffleIndex = 0;
        shuffle.ShuffleWanted = false;
    }
}

} // namespace tessaroc::core
