#include "table/ExitDialog.h"
#include "table/OtherExitDialog.h"

#include "forms/Fonts.h"
#include "table/TablePictures.h"

#include <QKeyEvent>

namespace tessaroc::table {

namespace {

const QString kSongTi = QStringLiteral("宋体");
constexpr double kTextPoints = 14.25;
constexpr int kLeaveButtonGif = 170; // DialogButtonPic(0)
constexpr int kStayButtonGif = 172; // DialogButtonPic(2)

// What both dialogs share: the caption, the common background, no dragging,
// the translucency of their system.
void setUpDialog(forms::PopupWindow &dialog, const platform::SystemVersion &version, int width,
                 int height)
{
    dialog.setWindowTitle(QStringLiteral("退出"));
    dialog.setPicture(designPicture(u"dialog"), 0);
    dialog.setDraggable(false);
    dialog.setTranslucent(LeaveDialogTranslucent(version));
    dialog.resize(width, height);
}

void text(forms::Label &label, double left, double top, double width, double height,
          const QString &caption, bool bold)
{
    label.Move(left, top, width, height);
    label.setFont(forms::designFont(kSongTi, kTextPoints, bold));
    label.setCaption(caption);
}

} // namespace

bool LeaveDialogTranslucent(const platform::SystemVersion &version)
{
    return version.platformId == 2 && (version.majorVersion == 5 || version.majorVersion == 6);
}

ExitDialog::ExitDialog(const platform::SystemVersion &version, bool inGame, bool spectator,
                       QWidget *parent)
    : forms::PopupWindow(parent)
    , Label2(this)
    , Label1(this)
    , pbCloseMe(this)
    , pbCancel(this)
{
    setObjectName(QStringLiteral("frmExit"));
    setUpDialog(*this, version, kWidth, kHeight);
    text(Label2, 32, 32, 265, 22, QStringLiteral("游戏正在进行，逃跑会扣分！"), true);
    text(Label1, 48, 64, 233, 22, QStringLiteral("您真的要退出吗？"), true);
    // The buttons do not stretch: each takes the size of its picture.
    pbCloseMe.Move(56, 112, 65, 30);
    loadPicture(pbCloseMe, kLeaveButtonGif);
    pbCancel.Move(192, 112, 65, 30);
    loadPicture(pbCancel, kStayButtonGif);
    useHandCursor(pbCloseMe);
    useHandCursor(pbCancel);
    applyWarning(inGame, spectator);
    connect(&pbCloseMe, &forms::Element::Click, this, &ExitDialog::leaveClicked);
    connect(&pbCancel, &forms::Element::Click, this, &ExitDialog::stayClicked);
}

void ExitDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Q_EMIT escapePressed();
        return;
    }
    forms::PopupWindow::keyPressEvent(event);
}

void ExitDialog::applyWarning(bool inGame, bool spectator)
{
    Label2.setVisible(inGame && !spectator);
}

OtherExitDialog::OtherExitDialog(QWidget *parent)
    : OtherExitDialog(platform::GetVersionEx(), parent)
{ }

OtherExitDialog::OtherExitDialog(const platform::SystemVersion &version, QWidget *parent)
    : forms::PopupWindow(parent)
    , Label1(this)
    , imgOK(this)
    , imgCancel(this)
{
    setUpDialog(*this, version, kWidth, kHeight);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // The text is put in by whoever opens the notice; it wraps at the
    // label's width.
    text(Label1, 32, 40, 257, 60, {}, false);
    imgOK.setStretch(true);
    imgOK.Move(56, 112, 70, 30);
    loadPicture(imgOK, kLeaveButtonGif);
    imgCancel.setStretch(true);
    imgCancel.Move(176, 112, 70, 30);
    loadPicture(imgCancel, kStayButtonGif);
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

void OtherExitDialog::Unload()
{
    hide();
    Label1.setCaption({});
}

} // namespace tessaroc::table
