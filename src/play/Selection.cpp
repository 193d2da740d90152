// Raising and lowering the own cards, and the presses that reach the table
// outside its buttons. A card is selected exactly while its picture stands
// raised above the own row's hand line (support::CardRow); there is no other
// list of selected cards.
#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "forms/Element.h"
#include "sound/SoundFiles.h"
#include "table/MainForm.h"
#include "table/OwnCardRow.h"

namespace tessaroc::play {

void PlayFlowService::cardImage0_MouseDown(int index, int button, int, double, double)
{
    core::ClockState &clocks = c_.loop().clocks;
    if (button == forms::mouse::kRight) {
        if (clocks.HandActive && clocks.MaySendPlay && c_.loop().LoggedIn) {
            c_.state.core.TimeoutCount = 0;
            JudgeChuPai();
        }
        return;
    }
    if (button != forms::mouse::kLeft)
        return;
    // Raising and lowering change only pictures: it works at any time.
    if (!rules::Belong(c_.state.rules, index))
        return;
    forms::Image *card = ownCard(index);
    if (!card)
        return;
    const support::CardRow row = table::ownCardRow(c_.state);
    if (!row.isRaised(card->Top())) {
        card->setTop(row.raisedTop(card->Height()));
        playPkEffect(sound::files::kCardUp, false);
    } else {
        card->setTop(row.restingTop());
        playPkEffect(sound::files::kCardDown, false);
    }
}

void PlayFlowService::Pic1_MouseDown(int button, int, double, double)
{
    windows_->HideHuifu();
    windows_->HideTalk();
    windows_->HideScore();
    core::ClockState &clocks = c_.loop().clocks;
    if (button == forms::mouse::kRight && clocks.HandActive && clocks.MaySendPlay) {
        // Before the login the press ends here and the hall of fame stays.
        if (!c_.loop().LoggedIn)
            return;
        c_.state.core.TimeoutCount = 0;
        JudgeChuPai();
    }
    windows_->HideHero();
}

void PlayFlowService::bombPlayer_MouseDown(int button, int shift, double x, double y)
{
    Pic1_MouseDown(button, shift, x, y);
}

void PlayFlowService::Pic2_MouseDown(int button, int, double, double)
{
    core::ClockState &clocks = c_.loop().clocks;
    if (button == forms::mouse::kRight && clocks.HandActive && clocks.MaySendPlay)
        JudgeChuPai();
}

} // namespace tessaroc::play
