#include "forms/CaretRest.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace tessaroc::forms {

CaretRest::CaretRest(int blinkForMs, QObject *parent)
    : QObject(parent)
    , flashTimeMs_(QGuiApplication::styleHints()->cursorFlashTime())
{
    idle_.setSingleShot(true);
    idle_.setInterval(blinkForMs);
    connect(&idle_, &QTimer::timeout, this, [this] { rest(); });
    QGuiApplication::instance()->installEventFilter(this);
    idle_.start();
}

CaretRest::~CaretRest()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (resting_)
        QGuiApplication::styleHints()->setCursorFlashTime(flashTimeMs_);
}

bool CaretRest::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
        wake();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretRest::rest()
{
    resting_ = true;
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void CaretRest::wake()
{
    if (resting_) {
        resting_ = false;
        QGuiApplication::styleHints()->setCursorFlashTime(flashTimeMs_);
    }
    idle_.start();
}

} // namespace tessaroc::forms
