#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse input delivered straight to a widget, shown or not, in the order the
// window system delivers it (a double click is press, release, double-click,
// release).
namespace mouse_input {

inline void send(QWidget &widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                 Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, QPointF(pos), widget.mapToGlobal(QPointF(pos)), button, buttons,
                      modifiers);
    QApplication::sendEvent(&widget, &event);
}

inline void press(QWidget &w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {})
{
    send(w, QEvent::MouseButtonPress, p, b, b, m);
}

inline void release(QWidget &w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {})
{
    send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton, m);
}

inline void click(QWidget &w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {})
{
    press(w, b, p, m);
    release(w, b, p, m);
}

inline void doubleClick(QWidget &w, Qt::MouseButton b, QPoint p)
{
    click(w, b, p);
    send(w, QEvent::MouseButtonDblClick, p, b, b);
    release(w, b, p);
}

inline void move(QWidget &w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    send(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

} // namespace mouse_input
