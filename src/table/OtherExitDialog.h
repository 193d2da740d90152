#pragma once

#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"

namespace tessaroc::table {

class MainForm;

// frmOtherExit: the notice that the player is off the table (forced out,
// coins short, the connection given up), with its text in Label1 and the two
// buttons. What the buttons do is the table's leave path; the dialog only
// reports the clicks.
class OtherExitDialog : public forms::PopupWindow
{
    Q_OBJECT

public:
    explicit OtherExitDialog(QWidget *parent = nullptr);

    // Top-most, centred over the table window, shown and not modal.
    void showOver(const QWidget &table);

    forms::Label Label1;
    forms::Image imgOK;
    forms::Image imgCancel;

Q_SIGNALS:
    void okClicked();
    void cancelClicked();
};

} // namespace tessaroc::table
