#pragma once

#include <QCursor>

namespace tessaroc::forms {

// The pointer codes the game's elements carry. Custom shows the element's own
// MouseIcon (the table's pointing hand, for instance).
enum class MousePointer : int {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    UpArrow = 10,
    Hourglass = 11,
    NoDrop = 12,
    ArrowHourglass = 13,
    ArrowQuestion = 14,
    SizeAll = 15,
    Custom = 99,
};

// The cursor for a pointer code; Default and unknown codes give the arrow,
// Custom gives icon (or the arrow when the icon is empty).
QCursor cursorFor(MousePointer pointer, const QCursor &icon);

} // namespace tessaroc::forms
