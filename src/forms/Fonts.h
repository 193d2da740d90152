#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace tessaroc::forms {

class Label;

// The game names the fonts of its design (宋体, 黑体, 楷体_GB2312, "MS Sans
// Serif", ...). None of them is on a Linux desktop; each is mapped onto an
// installed font of the same kind (serif Song, sans Hei, Latin sans) once at
// start-up, so that every QFont built from a design name finds a face that
// has the Chinese glyphs.
void installFontSubstitutions();

// A font as the design gives it: family, size in points (fractional sizes
// such as 10.5 and 14.25 are kept) and weight.
QFont designFont(const QString &family, double pointSize, bool bold = false);

// Gives a control its font at another point size; the layouts shrink the
// seat texts and the system lines this way on the reduced table.
void setFontSize(QWidget &widget, double points);
void setFontSize(Label &label, double points);

} // namespace tessaroc::forms
