#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "rules/JudgeChuPai.h"
#include "table/MainForm.h"
#include "wire/SentFrames.h"

namespace tessaroc::play {

PlayFlowService::PlayFlowService(table::MainForm &form, core::CoreContext &context)
    : form_(form)
    , c_(context)
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
    if (!decision.sendFrame)
        return;
    const std::uint8_t seat = c_.ownSeatBit();
    const auto ids = decision.judgedIds();
    wire::MessageFrame frame = decision.outcome == rules::OwnPlayOutcome::Pass
            ? wire::PlayFrame::pass(seat).encode()
            : wire::PlayFrame::cards(
                      seat, static_cast<std::uint8_t>(decision.kind),
                      std::span(ids.data(), static_cast<std::size_t>(decision.count)))
                      .encode();
    c_.SendMsg(frame);
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
