#include "table/MingXiWindow.h"

#include "forms/Fonts.h"
#include "forms/Units.h"
#include "support/PictureStore.h"

namespace tessaroc::table {

namespace {

void designText(forms::Label &label)
{
    label.setFont(forms::designFont(QStringLiteral("宋体"), 10.5));
    label.setForeColor(QColor(0xff, 0xe8, 0xa0));
}

} // namespace

bool TaskWindowTranslucent(const platform::SystemVersion &version)
{
    return version.platformId == 2 && version.majorVersion == 5;
}

MingXiWindow::MingXiWindow(QWidget *parent)
    : MingXiWindow(platform::GetVersionEx(), parent)
{ }

// The window is translucent on the systems its code names; it is placed by
// its opener and never dragged.
MingXiWindow::MingXiWindow(const platform::SystemVersion &version, QWidget *parent)
    : forms::PopupWindow(Options{TaskWindowTranslucent(version), false}, parent)
    , Labxianshi1(this)
    , Labxianshi2(this)
{
    setObjectName(QStringLiteral("frmMingXi"));
    setWindowTitle(QStringLiteral("喜金任务"));
    setPicture(support::PictureStore::designPicture(u"dialog_task"), 0);
    designText(Labxianshi1);
    designText(Labxianshi2);
}

void MingXiWindow::resizeToDesign()
{
    constexpr double kWidth = 4860;
    constexpr double kHeight = 2610;
    resize(static_cast<int>(forms::twipsToPixels(kWidth)),
           static_cast<int>(forms::twipsToPixels(kHeight)));
}

} // namespace tessaroc::table
