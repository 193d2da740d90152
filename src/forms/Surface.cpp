#include "forms/Surface.h"

#include "forms/Element.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tessaroc::forms {

Surface::Surface(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

Surface::~Surface()
{
    // Elements outlive their surface only when their owner destroys the
    // surface first; they are left without a container.
    for (Element *element : elements_)
        element->container_ = nullptr;
}

void Surface::setPicture(const QPixmap &picture, int id)
{
    makePicture_ = nullptr;
    picture_ = picture;
    pictureId_ = picture.isNull() ? 0 : id;
    update();
}

void Surface::setPictureOnFirstUse(std::function<QPixmap()> make, int id)
{
    picture_ = QPixmap();
    makePicture_ = std::move(make);
    pictureId_ = makePicture_ ? id : 0;
    update();
}

const QPixmap &Surface::picture() const
{
    if (makePicture_) {
        // Taken out first: whatever the making does, it runs once.
        const auto make = std::move(makePicture_);
        makePicture_ = nullptr;
        picture_ = make();
        if (picture_.isNull())
            pictureId_ = 0;
    }
    return picture_;
}

void Surface::setMousePointer(MousePointer pointer)
{
    pointer_ = pointer;
    updatePointer(nullptr);
}

void Surface::setMouseIcon(const QCursor &icon)
{
    mouseIcon_ = icon;
    updatePointer(nullptr);
}

Element *Surface::elementAt(QPointF point) const
{
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        if ((*it)->Visible() && (*it)->hitTest(point))
            return *it;
    }
    return nullptr;
}

void Surface::attach(Element *element)
{
    elements_.push_back(element);
    if (element->Visible())
        update(element->paintRect());
}

void Surface::detach(Element *element)
{
    std::erase(elements_, element);
    if (captured_ == element)
        captured_ = nullptr;
    if (element->Visible())
        update(element->paintRect());
}

void Surface::restack(Element *element, bool toFront)
{
    auto it = std::find(elements_.begin(), elements_.end(), element);
    if (it == elements_.end())
        return;
    if (toFront)
        std::rotate(it, it + 1, elements_.end());
    else
        std::rotate(elements_.begin(), it, it + 1);
    if (element->Visible())
        update(element->paintRect());
}

int Surface::zSequenceOf(const Element *element) const
{
    auto it = std::find(elements_.begin(), elements_.end(), element);
    return it == elements_.end() ? -1 : static_cast<int>(it - elements_.begin());
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (const QPixmap &background = picture(); !background.isNull())
        painter.drawPixmap(0, 0, background);
    // An element's paint may raise an event whose handler creates, destroys
    // or restacks elements of this surface (the animated picture reports the
    // frame it painted), so the list is read afresh at every step. What
    // changes meanwhile asks for its own repaint.
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        Element *element = elements_[i];
        if (!element->Visible())
            continue;
        const QRect r = element->paintRect();
        if (r.isEmpty() || !event->region().intersects(r))
            continue;
        // Nothing an element draws shows outside its rectangle.
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
        element->paint(painter, r);
        painter.restore();
    }
}

int Surface::buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mouse::kLeft;
    case Qt::RightButton:
        return mouse::kRight;
    case Qt::MiddleButton:
        return mouse::kMiddle;
    default:
        return 0;
    }
}

int Surface::buttonsCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= mouse::kLeft;
    if (buttons & Qt::RightButton)
        code |= mouse::kRight;
    if (buttons & Qt::MiddleButton)
        code |= mouse::kMiddle;
    return code;
}

int Surface::shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= shift::kShift;
    if (modifiers & Qt::ControlModifier)
        code |= shift::kCtrl;
    if (modifiers & Qt::AltModifier)
        code |= shift::kAlt;
    return code;
}

// A disabled element still hides what lies beneath it: input over it goes to
// the surface, not to the element underneath.
void Surface::press(QMouseEvent *event, bool doubleClick)
{
    const QPointF p = event->position();
    const int button = buttonCode(event->button());
    const int shift = shiftCode(event->modifiers());
    if (!captured_ && !pressOnSurface_) {
        Element *target = elementAt(p);
        if (target && target->Enabled())
            captured_ = target;
        else
            pressOnSurface_ = true;
    }
    if (captured_) {
        QPointer<Element> target = captured_;
        const QPointF at = target->localPosition(p);
        Q_EMIT target->MouseDown(button, shift, at.x(), at.y());
        if (doubleClick && target)
            Q_EMIT target->DblClick();
    } else {
        Q_EMIT MouseDown(button, shift, p.x(), p.y());
        if (doubleClick)
            Q_EMIT DblClick();
    }
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    press(event, false);
}

// The second press of a double click is a press like any other (a player who
// clicks two cards quickly raises both), followed by the double-click event.
void Surface::mouseDoubleClickEvent(QMouseEvent *event)
{
    press(event, true);
}

void Surface::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    const int buttons = buttonsCode(event->buttons());
    const int shift = shiftCode(event->modifiers());
    if (captured_) {
        const QPointF at = captured_->localPosition(p);
        Q_EMIT captured_->MouseMove(buttons, shift, at.x(), at.y());
        return;
    }
    if (pressOnSurface_) {
        Q_EMIT MouseMove(buttons, shift, p.x(), p.y());
        return;
    }
    Element *under = elementAt(p);
    updatePointer(under);
    if (under && under->Enabled()) {
        const QPointF at = under->localPosition(p);
        Q_EMIT under->MouseMove(buttons, shift, at.x(), at.y());
    } else {
        Q_EMIT MouseMove(buttons, shift, p.x(), p.y());
    }
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    const int button = buttonCode(event->button());
    const int shift = shiftCode(event->modifiers());
    const bool last = event->buttons() == Qt::NoButton;
    if (captured_) {
        QPointer<Element> target = captured_;
        if (last)
            captured_ = nullptr;
        const QPointF at = target->localPosition(p);
        Q_EMIT target->MouseUp(button, shift, at.x(), at.y());
        // A click is a left press and release on the same element.
        if (target && button == mouse::kLeft && target->Visible() && target->hitTest(p))
            Q_EMIT target->Click();
    } else {
        if (last)
            pressOnSurface_ = false;
        Q_EMIT MouseUp(button, shift, p.x(), p.y());
        if (button == mouse::kLeft && rect().contains(p.toPoint()))
            Q_EMIT Click();
    }
}

void Surface::updatePointer(Element *under)
{
    const QCursor wanted
            = (under && under->Enabled()) ? under->cursor() : cursorFor(pointer_, mouseIcon_);
    if (wanted.shape() == Qt::BitmapCursor || cursor().shape() != wanted.shape())
        setCursor(wanted);
}

bool Surface::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        Element *under = elementAt(help->pos());
        if (under && under->Enabled() && !under->ToolTipText().isEmpty()) {
            QToolTip::showText(help->globalPos(), under->ToolTipText(), this, under->paintRect());
        } else if (!toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos(), toolTip(), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace tessaroc::forms
