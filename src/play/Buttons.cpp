// The action buttons under the own hand (play, hint, pass, sort, previous
// trick, lower all) and the bid and choice buttons.
#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "sound/SoundFiles.h"
#include "table/MainForm.h"
#include "wire/SentFrames.h"

#include <algorithm>

namespace tessaroc::play {

void PlayFlowService::Operation_Click(int index)
{
    core::MainLoopState &loop = c_.loop();
    core::ClockState &clocks = loop.clocks;
    if (!loop.LoggedIn)
        return;
    if (index == OpPass) {
        clocks.ClockSeconds = c_.state.core.TurnSeconds;
        stopPlayClock();
    }
    if (chuPai_.Visible())
        chuPai_.Hide();
    if (index == OpPlay || index == OpHint || index == OpPass) {
        if (!clocks.MaySendPlay)
            return;
        c_.state.core.TimeoutCount = 0;
    }

    switch (index) {
    case OpPlay:
        JudgeChuPai();
        break;
    case OpHint:
        hint();
        break;
    case OpPass: {
        playPkEffect(sound::files::kPass, true);
        wire::MessageFrame frame = wire::PlayFrame::pass(c_.ownSeatBit()).encode();
        if (clocks.MaySendPlay)
            c_.SendMsg(frame);
        closeTurnButtons();
        lowerRaisedCards();
        break;
    }
    case OpSort: {
        if (c_.state.core.PlayCounter < 1)
            break;
        const int count = c_.state.rules.ownHand().validCount();
        std::int16_t &mode = c_.state.commands.SortMode;
        if (mode != 0) {
            mode = 0;
            SortHandByGroup(0, count);
        } else {
            mode = -1;
            SortHandByFace(0, count);
        }
        break;
    }
    case OpPrevTrick:
        if (c_.state.rules.InGame && c_.state.commands.LastTrickReady) {
            c_.state.commands.LastTrickReady = false;
            showLastTrick(true);
            form_.timers.Timerformer.start();
        }
        break;
    case OpLowerAll:
        lowerRaisedCards();
        break;
    default:
        break;
    }
}

void PlayFlowService::hint()
{
    rules::CardRulesState &rules = c_.state.rules;
    core::CommandState &commands = c_.state.commands;
    playPkEffect(sound::files::kHint, false);
    lowerRaisedCards();

    const rules::PrevPlay &prev = rules.prevPlay;
    const bool leading = prev.kind == rules::KindNone;
    if (!commands.HintReady) {
        if (leading)
            rules::PromptLead(rules);
        else
            rules::PromptBeat(rules, prev.kind, prev.validCount(), prev.cards);
        commands.HintReady = true;
        commands.HintIndex = 0;
    }
    const int count = std::clamp<int>(rules.HintCount, 0, rules::kMaxHintRows);
    if (count == 0) {
        // Leading with nothing to propose (an empty hand): the raised cards
        // are down and that is all.
        if (leading)
            return;
        // Nothing beats the play: the press passes, without the pass sound.
        closeTurnButtons();
        wire::MessageFrame frame = wire::PlayFrame::pass(c_.ownSeatBit()).encode();
        c_.SendMsg(frame);
        chuPai_.Hide();
        return;
    }

    // A row index left over from an earlier, longer listing starts again at
    // the first row.
    if (commands.HintIndex < 0 || commands.HintIndex >= count)
        commands.HintIndex = 0;
    const rules::HintRow &row
            = rules.HintCandidates[static_cast<std::size_t>(commands.HintIndex + 1)];
    const rules::HandRecord &own = rules.ownHand();
    const int n = std::clamp<int>(row.count, 0, rules::kMaxHandCards);
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < own.validCount(); ++k) {
            const rules::HandSlot &slot = own.slots[static_cast<std::size_t>(k)];
            if (slot.code == row.cards[static_cast<std::size_t>(j)]) {
                RaiseOwnCard(slot.picIndex);
                break;
            }
        }
    }
    commands.HintIndex = static_cast<std::int16_t>((commands.HintIndex + 1) % count);
}

void PlayFlowService::showLastTrick(bool previous)
{
    const core::PlayState &play = c_.state.play;
    for (int p = 0; p < 4; ++p) {
        const auto &hide = previous ? play.TableCards[static_cast<std::size_t>(p)]
                                    : play.PrevTableCards[static_cast<std::size_t>(p)];
        const auto &show = previous ? play.PrevTableCards[static_cast<std::size_t>(p)]
                                    : play.TableCards[static_cast<std::size_t>(p)];
        auto &pictures = form_.hands.cardRow(p);
        // An entry that names no picture of the seat's row is skipped.
        const auto each = [&](const core::PlayState::CardPictureRow &entries, auto &&action) {
            const int count = std::clamp<int>(entries[core::PlayState::kCountColumn], 0,
                                              core::PlayState::kCountColumn);
            for (int j = 0; j < count; ++j) {
                const int index = entries[static_cast<std::size_t>(j)];
                if (index < 0 || index >= rules::kMaxHandCards)
                    continue;
                if (forms::Image *picture = pictures.find(index))
                    action(*picture);
            }
        };
        each(hide, [](forms::Image &picture) { picture.setVisible(false); });
        each(show, [](forms::Image &picture) {
            picture.setVisible(true);
            picture.ZOrder(0);
        });
    }
}

void PlayFlowService::Timerformer_Timer()
{
    form_.timers.Timerformer.stop();
    showLastTrick(false);
    c_.state.commands.LastTrickReady = true;
}

void PlayFlowService::btnJiaofen_Click(int index)
{
    if (!c_.loop().LoggedIn)
        return;
    c_.state.core.BidClockOn = false;
    if (index == 0 || index == 1) {
        for (int i = 0; i <= 3; ++i) {
            if (forms::Image *button = form_.bid.btnJiaofen.find(i)) {
                button->setVisible(false);
                button->setEnabled(false);
            }
        }
        wire::MessageFrame frame = wire::BidFrame{c_.ownSeatBit(), index == 0}.encode();
        c_.SendMsg(frame);
    }
    c_.state.core.TickPhase = 0;
    form_.turn.Number.setVisible(false);
    form_.turn.Time_Img.setVisible(false);
}

void PlayFlowService::tanOperation_Click(int index)
{
    if (!c_.loop().LoggedIn)
        return;
    if (index != 0 && index != 1)
        return;
    playPkEffect(sound::files::kPass, false);
    core::MainLoopState &loop = c_.loop();
    if (loop.clocks.MaySendChoice) {
        wire::MessageFrame frame
                = wire::ChoiceFrame{c_.ownSeatBit(), static_cast<std::uint8_t>(index + 1)}.encode();
        c_.SendMsg(frame);
    }
    c_.slotControl().stopChoiceClock();
    form_.turn.Number.setVisible(false);
    form_.turn.Time_Img.setVisible(false);
    for (int i = 0; i <= 1; ++i) {
        if (forms::Image *button = form_.actions.tanOperation.find(i))
            button->setVisible(false);
    }
}

} // namespace tessaroc::play
