#include "table/LeavePaths.h"

#include "core/CoreContext.h"
#include "core/Leave.h"
#include "core/TableReset.h"
#include "support/Waits.h"
#include "table/MainForm.h"
#include "table/OtherExitDialog.h"

namespace tessaroc::table {

namespace {

// The item library is given this long to store the player's items.
constexpr float kItemStoreSeconds = 0.25f;

} // namespace

LeavePaths::LeavePaths(core::CoreContext &c, MainForm &form, OtherExitDialog &notice, Hooks hooks)
    : c_(c)
    , form_(form)
    , notice_(notice)
    , hooks_(std::move(hooks))
{
    connect(&form_, &MainForm::leaveDialogLeave, this, &LeavePaths::pbCloseMe_Click);
    connect(&form_, &MainForm::leaveDialogStay, this, &LeavePaths::pbCancel_Click);
    connect(&notice_, &OtherExitDialog::okClicked, this, &LeavePaths::imgOK_Click);
    connect(&notice_, &OtherExitDialog::cancelClicked, this, &LeavePaths::imgCancel_Click);
}

void LeavePaths::pbCloseMe_Click()
{
    const core::LeaveScope leave(c_);
    if (!leave.entered())
        return;
    if (c_.state.gamedllstate > 0) {
        if (hooks_.updataMyProp)
            hooks_.updataMyProp(false);
        support::WaitSeconds(c_.clock, kItemStoreSeconds);
    }
    if (hooks_.unloadSoundSettings)
        hooks_.unloadSoundSettings();
    c_.state.rules.InGame = false;
    c_.slotControl().stopConnectionWatch();
    core::CloseVideoAndLeave(c_);
    resetTable();
    if (!backToHall())
        return;
    form_.UnloadFrmExit();
}

void LeavePaths::pbCancel_Click()
{
    form_.UnloadFrmExit();
}

void LeavePaths::imgOK_Click()
{
    const core::LeaveScope leave(c_);
    if (!leave.entered())
        return;
    resetTable();
    notice_.Unload();
    backToHall();
}

void LeavePaths::imgCancel_Click()
{
    c_.state.commands.ConnectionLostFlag = true;
    notice_.Unload();
}

void LeavePaths::resetTable()
{
    c_.loop().TableCleared = false;
    core::ResetTable(c_);
    rules::ClearHands(c_.state.rules);
    c_.window.ClearTable();
}

bool LeavePaths::backToHall()
{
    c_.loop().HallWnd = c_.hall.FindHall();
    if (!c_.loop().HallWnd) {
        c_.process.End(core::ExitCode::HallMissing);
        return false;
    }
    c_.window.Minimise();
    c_.hall.RestoreHall();
    return true;
}

} // namespace tessaroc::table
