#include "forms/PopupWindow.h"

#include "forms/Units.h"

#include <QMouseEvent>

#include <cmath>

namespace tessaroc::forms {

namespace {

int twipsToWholePixels(double twips)
{
    return static_cast<int>(std::nearbyint(twipsToPixels(twips)));
}

} // namespace

PopupWindow::PopupWindow(QWidget *parent)
    : PopupWindow(Options{}, parent)
{ }

PopupWindow::PopupWindow(Options options, QWidget *parent)
    : Surface(parent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setTranslucent(options.translucent);
    setDraggable(options.draggable);
}

void PopupWindow::setTranslucent(bool translucent)
{
    translucent_ = translucent;
    setWindowOpacity(translucent ? kTranslucentAlpha / 255.0 : 1.0);
}

double PopupWindow::LeftTwips() const
{
    return pixelsToTwips(x());
}

double PopupWindow::TopTwips() const
{
    return pixelsToTwips(y());
}

double PopupWindow::WidthTwips() const
{
    return pixelsToTwips(width());
}

double PopupWindow::HeightTwips() const
{
    return pixelsToTwips(height());
}

void PopupWindow::MoveTwips(double left, double top)
{
    move(twipsToWholePixels(left), twipsToWholePixels(top));
}

void PopupWindow::MoveTwips(double left, double top, double width, double height)
{
    setGeometry(twipsToWholePixels(left), twipsToWholePixels(top),
                std::max(0, twipsToWholePixels(width)), std::max(0, twipsToWholePixels(height)));
}

void PopupWindow::centreOn(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    move(frame.x() + (frame.width() - width()) / 2, frame.y() + (frame.height() - height()) / 2);
}

// A left press on the window's own client area (not on an element, not on a
// windowed child) drags the window until the button is released.
void PopupWindow::mousePressEvent(QMouseEvent *event)
{
    if (draggable_ && event->button() == Qt::LeftButton && !elementAt(event->position())) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - pos();
    }
    Surface::mousePressEvent(event);
}

void PopupWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_)
        move(event->globalPosition().toPoint() - dragOffset_);
    Surface::mouseMoveEvent(event);
}

void PopupWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    Surface::mouseReleaseEvent(event);
}

} // namespace tessaroc::forms
