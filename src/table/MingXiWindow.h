#pragma once

#include "forms/Label.h"
#include "forms/PopupWindow.h"
#include "platform/SystemVersion.h"

namespace tessaroc::table {

// The task window frmMingXi: a small panel titled 喜金任务 with two lines of
// task text. Only the dispatcher's task presentation fills and shows it, and
// that presentation is switched off in this configuration; the table places
// it, sizes it and hides it.
// The task window is translucent (alpha 200) on the NT family at major
// version 5 only.
bool TaskWindowTranslucent(const platform::SystemVersion &version);

class MingXiWindow : public forms::PopupWindow
{
    Q_OBJECT

public:
    explicit MingXiWindow(QWidget *parent = nullptr);
    explicit MingXiWindow(const platform::SystemVersion &version, QWidget *parent = nullptr);

    // The window's designed size, 4860 x 2610 twips, which the table's
    // layout and clearing give it back.
    void resizeToDesign();

    forms::Label Labxianshi1;
    forms::Label Labxianshi2;
};

} // namespace tessaroc::table
