#pragma once

#include <QObject>

#include <functional>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {

class MainForm;
class OtherExitDialog;

// What the buttons of the two leave dialogs do, through the client core: the
// leave dialog's leave button tells the server, resets the table and returns
// to the hall; its stay button closes it. The notice's OK resets the table and
// returns to the hall without a word to the server; its cancel keeps the dead
// table and lets the Ready button lead back. Without a hall window the
// leaving ends the program. While one way out of the table runs, a second
// (a button pressed again during a wait, the hall's own leave request) does
// nothing.
class LeavePaths : public QObject
{
    Q_OBJECT

public:
    // What the leave button calls on windows of other subsystems: the sound
    // settings unloaded, and the item library's UpdataMyProp (only while the
    // library runs). Either may be left empty.
    struct Hooks
    {
        std::function<void()> unloadSoundSettings;
        std::function<void(bool)> updataMyProp;
    };

    LeavePaths(core::CoreContext &c, MainForm &form, OtherExitDialog &notice, Hooks hooks = {});

    // frmExit.
    void pbCloseMe_Click();
    void pbCancel_Click();
    // frmOtherExit.
    void imgOK_Click();
    void imgCancel_Click();

private:
    core::CoreContext &c_;
    MainForm &form_;
    OtherExitDialog &notice_;
    Hooks hooks_;

    void resetTable();
    // Finds the hall window; with one the table is minimised and the hall
    // restored, without one the program ends. False when it ended.
    bool backToHall();
};

} // namespace tessaroc::table
