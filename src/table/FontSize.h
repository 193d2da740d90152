#pragma once

#include "forms/Label.h"

#include <QFont>
#include <QWidget>

namespace tessaroc::table {

// Gives a control its font at another point size; the layouts shrink the
// seat texts and the system lines this way on the reduced table.
inline void setFontSize(QWidget &widget, double points)
{
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

inline void setFontSize(forms::Label &label, double points)
{
    QFont font = label.Font();
    font.setPointSizeF(points);
    label.setFont(font);
}

} // namespace tessaroc::table
