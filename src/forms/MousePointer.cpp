#include "forms/MousePointer.h"

namespace tessaroc::forms {

QCursor cursorFor(MousePointer pointer, const QCursor &icon)
{
    switch (pointer) {
    case MousePointer::Cross:
        return Qt::CrossCursor;
    case MousePointer::IBeam:
        return Qt::IBeamCursor;
    case MousePointer::SizeNESW:
        return Qt::SizeBDiagCursor;
    case MousePointer::SizeNS:
        return Qt::SizeVerCursor;
    case MousePointer::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case MousePointer::SizeWE:
        return Qt::SizeHorCursor;
    case MousePointer::UpArrow:
        return Qt::UpArrowCursor;
    case MousePointer::Hourglass:
        return Qt::WaitCursor;
    case MousePointer::NoDrop:
        return Qt::ForbiddenCursor;
    case MousePointer::ArrowHourglass:
        return Qt::BusyCursor;
    case MousePointer::ArrowQuestion:
        return Qt::WhatsThisCursor;
    case MousePointer::SizeAll:
        return Qt::SizeAllCursor;
    case MousePointer::Custom:
        return icon.shape() == Qt::BitmapCursor ? icon : QCursor(Qt::ArrowCursor);
    case MousePointer::Default:
    case MousePointer::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace tessaroc::forms
