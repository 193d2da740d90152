// The table's keys: Esc for the leave dialog, Alt and C for the chat window,
// F1 for the auto mode in its two variants.
#include "play/PlayFlowService.h"

#include "chat/ChatService.h"
#include "core/CoreContext.h"
#include "items/ItemService.h"
#include "table/MainForm.h"

namespace tessaroc::play {

void PlayFlowService::bankStateToLibrary()
{
    if (c_.state.gamedllstate > 0)
        subsystems_.items.setbankstate(2);
}

void PlayFlowService::keyToLibrary(int keyCode)
{
    if (c_.state.gamedllstate > 0)
        subsystems_.items.SetKeyDown(keyCode);
}

void PlayFlowService::Pic1_KeyDown(int keyCode, int)
{
    if (keyCode == kEsc) {
        bankStateToLibrary();
        if (windows_->ExitVisible())
            windows_->HideExit();
        else
            windows_->ShowExit(c_.state.rules.InGame && !c_.loop().line.Spectator, false);
        return;
    }
    if (keyCode == kF1)
        F1Full(false);

    // Alt then C, or C then Alt, with no other key between them; the chat
    // history's own keys count toward the same chord.
    if (subsystems_.chat.KeyChordStep(keyCode))
        windows_->ShowTalk(0.3 * form_.Width(), 0.66 * form_.Height());
}

void PlayFlowService::Pic2_KeyDown(int keyCode, int)
{
    if (keyCode == kF1)
        F1Full(true);
}

void PlayFlowService::Form_KeyDown(int keyCode, int)
{
    // While the chat box has the keyboard, it passes F2 to F6 on itself.
    if (keyCode >= kF1 && keyCode <= kF6 && (keyCode == kF1 || !subsystems_.chat.ChatHasFocus))
        keyToLibrary(keyCode);
    if (keyCode == kF1)
        F1Short(false);
}

void PlayFlowService::pic3_KeyDown(int keyCode, int)
{
    if (keyCode == kF1)
        F1Short(true);
}

void PlayFlowService::pic4_KeyDown(int keyCode, int)
{
    if (keyCode == kF1)
        F1Short(true);
}

void PlayFlowService::F1Full(bool pic2)
{
    core::CoreState &core = c_.state.core;
    core.AutoMode = true;
    windows_->UnloadInformation();
    windows_->HideTalk();
    if (pic2) {
        windows_->HideHuifu();
        windows_->HideVosSet();
        windows_->UnloadExit();
        windows_->HideHero();
    } else {
        windows_->HideMingXi();
        windows_->HideHuifu();
        windows_->UnloadVosSet();
        windows_->UnloadExit();
        windows_->HideHero();
        windows_->HideScore();
    }
    chuPai_.Unload();
    core.AutoModeKey = true;
    core.TurnSeconds = 0;
    core.TableHidden = true;
    keyToLibrary(kF1);
    c_.window.Minimise();
    c_.hall.MinimiseHall();
}

void PlayFlowService::F1Short(bool pic3)
{
    core::CoreState &core = c_.state.core;
    core.AutoModeKey = true;
    core.TurnSeconds = 0;
    windows_->HideInformation();
    windows_->HideTalk();
    if (pic3) {
        windows_->HideHuifu();
        windows_->HideVosSet();
        windows_->HideExit();
        windows_->HideHero();
        windows_->HideScore();
    } else {
        windows_->HideVosSet();
        windows_->HideExit();
        windows_->HideHero();
        windows_->HideScore();
        windows_->HideHuifu();
    }
    if (pic3)
        keyToLibrary(kF1);
    c_.window.Minimise();
    c_.hall.MinimiseHall();
}

} // namespace tessaroc::play
