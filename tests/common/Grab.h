#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace tessaroc::test {

// Renders a widget, shown or not, to NAME.png so a person can look at a
// layout after it changed; only the given part of it, in its own pixels, when
// one is given. The file goes into $TESSAROC_GRAB_DIR, or into grabs/ under
// the current directory (the build tree when CTest runs the test). Returns
// the file's path, or an empty text when it could not be written.
QString grabToPng(QWidget &widget, const QString &name,
                  const QRect &part = QRect(QPoint(0, 0), QSize(-1, -1)));

} // namespace tessaroc::test
