#include "forms/Element.h"

#include "forms/Surface.h"

#include <cmath>

namespace tessaroc::forms {

Element::Element(Surface *container)
{
    setContainer(container);
}

Element::~Element()
{
    detachFromContainer();
}

void Element::setContainer(Surface *container)
{
    if (container == container_)
        return;
    detachFromContainer();
    container_ = container;
    if (container_)
        container_->attach(this);
    // An element without a font of its own now draws in the new surface's.
    if (!font_)
        textChanged();
}

void Element::detachFromContainer()
{
    if (container_) {
        container_->detach(this);
        container_ = nullptr;
    }
}

void Element::setLeft(double left)
{
    setGeometry(left, top_, width_, height_);
}

void Element::setTop(double top)
{
    setGeometry(left_, top, width_, height_);
}

void Element::setWidth(double width)
{
    setGeometry(left_, top_, width, height_);
}

void Element::setHeight(double height)
{
    setGeometry(left_, top_, width_, height);
}

void Element::Move(double left, double top)
{
    setGeometry(left, top, width_, height_);
}

void Element::Move(double left, double top, double width, double height)
{
    setGeometry(left, top, width, height);
}

void Element::setGeometry(double left, double top, double width, double height)
{
    // A value that is not a number would poison every later comparison and
    // every painted rectangle; such a move is dropped as a whole.
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width)
        || !std::isfinite(height))
        return;
    if (width < 0)
        width = width_;
    if (height < 0)
        height = height_;
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    changed();
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
    if (resized)
        geometryChanged();
}

QRect Element::paintRect() const
{
    const auto x0 = static_cast<int>(std::lround(left_));
    const auto y0 = static_cast<int>(std::lround(top_));
    const auto x1 = static_cast<int>(std::lround(left_ + width_));
    const auto y1 = static_cast<int>(std::lround(top_ + height_));
    return {x0, y0, x1 - x0, y1 - y0};
}

void Element::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (container_)
        container_->update(paintRect());
    visibilityChanged(visible);
}

void Element::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    changed();
}

void Element::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    changed();
    textChanged();
}

QFont Element::Font() const
{
    if (font_)
        return *font_;
    return container_ ? container_->font() : QFont();
}

void Element::setFont(const QFont &font)
{
    font_ = font;
    changed();
    textChanged();
}

void Element::setForeColor(const QColor &color)
{
    foreColor_ = color;
    changed();
}

void Element::setBackColor(const QColor &color)
{
    backColor_ = color;
    changed();
}

void Element::ZOrder(int position)
{
    if (!container_ || (position != 0 && position != 1))
        return;
    container_->restack(this, position == 0);
}

int Element::zSequence() const
{
    return container_ ? container_->zSequenceOf(this) : -1;
}

void Element::Refresh()
{
    if (container_ && visible_)
        container_->repaint(paintRect());
}

void Element::refreshPart(const QRect &area)
{
    const QRect part = area & paintRect();
    if (container_ && visible_ && !part.isEmpty())
        container_->repaint(part);
}

void Element::copyFrom(const Element &other)
{
    setGeometry(other.left_, other.top_, other.width_, other.height_);
    enabled_ = other.enabled_;
    caption_ = other.caption_;
    font_ = other.font_;
    foreColor_ = other.foreColor_;
    backColor_ = other.backColor_;
    toolTipText_ = other.toolTipText_;
    pointer_ = other.pointer_;
    mouseIcon_ = other.mouseIcon_;
    tag_ = other.tag_;
    changed();
}

void Element::changed()
{
    if (container_ && visible_)
        container_->update(paintRect());
}

} // namespace tessaroc::forms
