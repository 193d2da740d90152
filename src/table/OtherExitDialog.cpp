#include "table/OtherExitDialog.h"

#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

// The dialog's design, in pixels.
constexpr int kWidth = 300;
constexpr int kHeight = 150;
constexpr int kOkButtonGif = 170;
constexpr int kCancelButtonGif = 172;

} // namespace

OtherExitDialog::OtherExitDialog(QWidget *parent)
    : forms::PopupWindow(parent)
    , Label1(this)
    , imgOK(this)
    , imgCancel(this)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    resize(kWidth, kHeight);
    Label1.Move(20, 30, kWidth - 40, 60);
    Label1.setAlignment(forms::Label::Alignment::Center);
    imgOK.Move(70, 105, 65, 30);
    imgCancel.Move(165, 105, 65, 30);
    loadPicture(imgOK, kOkButtonGif);
    loadPicture(imgCancel, kCancelButtonGif);
    useHandCursor(imgOK);
    useHandCursor(imgCancel);
    connect(&imgOK, &forms::Element::Click, this, &OtherExitDialog::okClicked);
    connect(&imgCancel, &forms::Element::Click, this, &OtherExitDialog::cancelClicked);
}

void OtherExitDialog::showOver(const QWidget &table)
{
    centreOn(table);
    show();
}

} // namespace tessaroc::table
