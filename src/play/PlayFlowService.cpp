#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "rules/JudgeChuPai.h"
#include "table/MainForm.h"
#include "wire/SentFrames.h"

#include <algorithm>
#include <span>

namespace tessaroc::play {

PlayFlowService::PlayFlowService(table::MainForm &form, core::CoreContext &context)
    : form_(form)
    , c_(context)
    , pictures_(form, context)
    , sorting_(form, context, pictures_)
    , deal_(form, context, pictures_, sorting_)
    , effects_(form, context)
    , fans_(form, context)
    , announced_(form, context, pictures_, effects_, fans_)
{ }

forms::Image *PlayFlowService::ownCard(int picIndex) const
{
    return picIndex >= 0 ? form_.hands.cardImage0.find(picIndex) : nullptr;
}

void PlayFlowService::LowerOwnCard(int picIndex)
{
    forms::Image *card = ownCard(picIndex);
    const double line = c_.state.table.HandLine;
    if (card && card->Top() < line)
        card->setTop(line);
}

void PlayFlowService::RaiseOwnCard(int picIndex)
{
    if (forms::Image *card = ownCard(picIndex))
        card->setTop(c_.state.table.HandLine - card->Height() / 5);
}

void PlayFlowService::JudgeChuPai()
{
    rules::OwnPlayInput input;
    const rules::HandRecord &own = c_.state.rules.ownHand();
    for (int slot = 0; slot < own.validCount(); ++slot) {
        const forms::Image *card = ownCard(own.slots[static_cast<std::size_t>(slot)].picIndex);
        input.raised[static_cast<std::size_t>(slot)]
                = card && card->Top() < c_.state.table.HandLine;
    }
    input.maySendPlay = c_.loop().clocks.MaySendPlay;
    const rules::OwnPlayDecision decision = rules::JudgeChuPai(c_.state.rules, input);
    switch (decision.outcome) {
    case rules::OwnPlayOutcome::Pass:
        if (decision.sendFrame) {
            wire::MessageFrame frame = wire::PlayFrame::pass(c_.ownSeatBit()).encode();
            c_.SendMsg(frame);
        }
        endOwnTurn();
        break;
    case rules::OwnPlayOutcome::Sent:
        sendOwnPlay(decision);
        break;
    case rules::OwnPlayOutcome::AcceptedNotSent:
        endOwnTurn();
        break;
    default:
        break;
    }
}

void PlayFlowService::endOwnTurn()
{
    core::ClockState &clocks = c_.loop().clocks;
    clocks.MaySendPlay = false;
    clocks.HandActive = false;
    clocks.MyTurn = false;
}

void PlayFlowService::sendOwnPlay(const rules::OwnPlayDecision &decision)
{
    const auto ids = decision.judgedIds();
    const auto count = static_cast<std::size_t>(std::clamp<int>(decision.count, 0, rules::kMaxHandCards));
    wire::MessageFrame frame
            = wire::PlayFrame::cards(c_.ownSeatBit(), static_cast<std::uint8_t>(decision.kind),
                                     std::span(ids.data(), count))
                      .encode();
    c_.SendMsg(frame);
    // The own play becomes the play to beat at once and its cards leave the
    // hand, without waiting for the server's announcement.
    c_.state.rules.prevPlay = decision.newPrevPlay;
    rules::HandRecord &own = c_.state.rules.ownHand();
    std::array<bool, rules::kMaxHandCards> played{};
    for (std::size_t i = 0; i < count; ++i) {
        const int slot = decision.realOrder[i].slot;
        if (slot >= 0 && slot < rules::kMaxHandCards)
            played[static_cast<std::size_t>(slot)] = true;
    }
    int kept = 0;
    for (int slot = 0; slot < own.validCount(); ++slot) {
        if (!played[static_cast<std::size_t>(slot)])
            own.slots[static_cast<std::size_t>(kept++)] = own.slots[static_cast<std::size_t>(slot)];
    }
    own.setCardCount(kept);
    SortHandByFace(0, kept);
    endOwnTurn();
}

void PlayFlowService::Pic1_KeyDown(int keyCode, int shift)
{
    if (keyCode != kF1 || shift != 0)
        return;
    core::CoreState &core = c_.state.core;
    core.AutoMode = true;
    core.AutoModeKey = true;
    core.TableHidden = true;
    core.TurnSeconds = 0;
}

void PlayFlowService::Tou_Click(int) { }

void PlayFlowService::Tou_MouseMove(int) { }

} // namespace tessaroc::play
