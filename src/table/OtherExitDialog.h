#pragma once

#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"
#include "platform/SystemVersion.h"

namespace tessaroc::table {

// frmOtherExit: the notice that the player is already off the table (forced
// out, coins short, the connection given up), with its text in Label1, an OK
// button that leaves for the hall at once and a cancel button that leaves the
// way back to the ready button.
class OtherExitDialog : public forms::PopupWindow
{
    Q_OBJECT

public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 180;

    explicit OtherExitDialog(QWidget *parent = nullptr);
    OtherExitDialog(const platform::SystemVersion &version, QWidget *parent = nullptr);

    // The notice closed and its state discarded: the next opening starts
    // from an empty text, as a dialog loaded afresh does.
    void Unload();

    // Top-most, centred over the table window, shown and not modal.
    void showOver(const QWidget &table);

    forms::Label Label1;
    forms::Image imgOK;
    forms::Image imgCancel;

Q_SIGNALS:
    void okClicked(); // imgOK
    void cancelClicked(); // imgCancel
};

} // namespace tessaroc::table
