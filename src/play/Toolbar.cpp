// The toolbar AnNiu(0..8) at the lower right of the table. No button tests
// the login.
#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "core/Leave.h"
#include "core/TableReset.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"
#include "wire/SentFrames.h"

namespace tessaroc::play {

namespace {

constexpr int kReadyPicture = 6; // the ready button's picture after the first start
// The sound settings stand this far (twips, times ScaleX) above the bottom
// of the table area.
constexpr double kVosSetLift = 1700;

} // namespace

const QString PlayFlowService::kGameInfoPage
        = QStringLiteral("http://info.tessaroc.example/gameinfo/tsroc/index.php");

void PlayFlowService::AnNiu_Click(int index)
{
    core::MainLoopState &loop = c_.loop();
    const float scaleX = c_.state.table.scale.ScaleX;
    const float scaleY = c_.state.table.scale.ScaleY;
    switch (index) {
    case BtnChat:
        // The chat box's own line, sent by the chat without its flood gate
        // and spectator test.
        windows_->SendChatLine();
        return;
    case BtnTalk: {
        if (windows_->TalkVisible()) {
            windows_->HideTalk();
            return;
        }
        double top = form_.Top() + 0.66 * form_.Height();
        double left = form_.Left() + 0.3 * form_.Width();
        if (scaleY < 1.0f) {
            top = 0.6 * form_.Height();
            left = 0.22 * form_.Width();
        }
        windows_->ShowTalk(left, top);
        return;
    }
    case BtnReady: {
        loop.FirstStartPending = false;
        core::CoreState &core = c_.state.core;
        if (core.ButtonDown[2])
            return;
        table::loadPicture(form_.toolbar.AnNiu(BtnReady),
                           c_.state.pictures.ButtonPic[kReadyPicture]);
        form_.seats.OK(0).setVisible(true);
        form_.seats.OK(0).ZOrder(0);
        c_.slotControl().stopReadyClock();
        form_.turn.Time_Img.setVisible(false);
        form_.turn.Number.setVisible(false);
        core.ButtonDown[2] = true;
        if (c_.state.commands.ConnectionLostFlag) {
            // Back to the hall, as one way out of the table: a leave already
            // running (the hall's request during a wait) keeps its order.
            const core::LeaveScope leaving(c_);
            if (!leaving.entered())
                return;
            c_.state.commands.ConnectionLostFlag = false;
            c_.timers.StopTimerBong();
            windows_->UnloadOtherExit();
            loop.TableCleared = false;
            core::ResetTable(c_);
            rules::ClearHands(c_.state.rules);
            c_.window.ClearTable();
            loop.HallWnd = c_.hall.FindHall();
            if (!loop.HallWnd) {
                c_.process.End(core::ExitCode::HallMissing);
                return;
            }
            c_.window.Minimise();
            c_.hall.RestoreHall();
        }
        if (!loop.TableCleared) {
            c_.window.ClearTable();
            rules::ClearHandsShort(c_.state.rules);
            loop.TableCleared = true;
        }
        if (!c_.state.rules.InGame) {
            wire::MessageFrame frame = wire::ReadyOrLeaveFrame{c_.ownSeatBit(), true}.encode();
            c_.SendMsg(frame);
        }
        if (windows_->ScoreVisible())
            windows_->HideScore();
        if (windows_->HeroVisible())
            windows_->HideHero();
        core::ShuffleState &shuffle = loop.shuffle;
        if (shuffle.ShuffleWanted && shuffle.ShuffleNoticeArmed) {
            c_.window.ShowSeatShuffle(QString::fromStdString(shuffle.ShuffleCaptions[0]),
                                      QString::fromStdString(loop.AdUrl));
            shuffle.ShuffleIndex = 0;
            shuffle.ShuffleWanted = false;
            shuffle.ShuffleOn = true;
        }
        return;
    }
    case BtnSound:
        bankStateToLibrary();
        if (windows_->VosSetVisible()) {
            windows_->HideVosSet();
            return;
        }
        windows_->ShowVosSet(form_.Left() + form_.area.Pic1.Left() + form_.area.Pic1.Width(),
                             form_.Top() + form_.area.Pic1.Top() + form_.area.Pic1.Height()
                                     - kVosSetLift * scaleX);
        return;
    case BtnHide:
        Form_KeyDown(kF1, 0);
        c_.window.Minimise();
        windows_->HideHuifu();
        windows_->HideHero();
        windows_->HideScore();
        windows_->HideTalk();
        windows_->HideVosSet();
        windows_->HideMingXi();
        return;
    case BtnScore:
        if (windows_->ScoreVisible())
            windows_->HideScore();
        else
            windows_->ShowScore(c_.state.settlement.JuNum);
        bankStateToLibrary();
        return;
    case BtnHero:
        windows_->CentreHero();
        if (windows_->HeroVisible())
            windows_->HideHero();
        else
            windows_->ShowHero();
        bankStateToLibrary();
        return;
    case BtnWeb:
        windows_->OpenPage(kGameInfoPage);
        return;
    case BtnExit:
        bankStateToLibrary();
        if (windows_->ExitVisible()) {
            windows_->HideExit();
            return;
        }
        windows_->HideScore();
        windows_->HideHero();
        windows_->ShowExit(c_.state.rules.InGame && !loop.line.Spectator, true);
        return;
    default:
        return;
    }
}

} // namespace tessaroc::play
