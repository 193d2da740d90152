#pragma once

#include <QString>

class QWidget;

namespace tessaroc::test {

// Renders a widget, shown or not, to NAME.png so a person can look at a
// layout after it changed. The file goes into $TESSAROC_GRAB_DIR, or into
// grabs/ under the current directory (the build tree when CTest runs the
// test). Returns the file's path, or an empty text when it could not be
// written.
QString grabToPng(QWidget &widget, const QString &name);

} // namespace tessaroc::test
