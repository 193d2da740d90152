#pragma once

#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"
#include "platform/SystemVersion.h"

namespace tessaroc::table {

// The leave dialogs are drawn translucent (alpha 200) on the NT family at
// major versions 5 and 6 only.
bool LeaveDialogTranslucent(const platform::SystemVersion &version);

// frmExit: "do you really want to leave?", with a warning line while a hand is
// played, a leave button and a stay button. Its own coordinates are pixels of
// the dialog and are not scaled. What the buttons do is the table's leave
// path (LeaveDialogs); the dialog only reports the clicks.
class ExitDialog : public forms::PopupWindow
{
    Q_OBJECT

public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 180;

    // The load handler: translucency by the system's version, the two
    // buttons sized and given their pictures, the warning line shown only
    // during a hand and never to a spectator.
    ExitDialog(const platform::SystemVersion &version, bool inGame, bool spectator,
               QWidget *parent = nullptr);

    // The warning shown only during a hand, never to a spectator; opening the
    // dialog again applies it anew.
    void applyWarning(bool inGame, bool spectator);

    forms::Label Label2; // the warning
    forms::Label Label1; // the question
    forms::Image pbCloseMe; // leave
    forms::Image pbCancel; // stay

Q_SIGNALS:
    void leaveClicked(); // pbCloseMe
    void stayClicked(); // pbCancel
    // Esc typed while the dialog holds the keyboard. A window manager hands
    // the focus to the dialog when it is shown, so the Esc that should close
    // it again arrives here rather than on the table; the table takes it as
    // its own Esc.
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace tessaroc::table
