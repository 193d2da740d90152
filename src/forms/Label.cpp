#include "forms/Label.h"

#include <QPainter>

namespace tessaroc::forms {

Label::Label(Surface *container)
    : Element(container)
{ }

void Label::setAlignment(Alignment alignment)
{
    alignment_ = alignment;
    changed();
}

void Label::setBackStyle(BackStyle style)
{
    backStyle_ = style;
    changed();
}

void Label::copyFrom(const Element &other)
{
    Element::copyFrom(other);
    if (const auto *label = qobject_cast<const Label *>(&other)) {
        alignment_ = label->alignment_;
        backStyle_ = label->backStyle_;
    }
}

void Label::paint(QPainter &painter, const QRect &r)
{
    if (backStyle_ == BackStyle::Opaque)
        painter.fillRect(r, BackColor());
    if (Caption().isEmpty())
        return;
    int flags = Qt::AlignTop | Qt::TextWordWrap;
    switch (alignment_) {
    case Alignment::Left:
        flags |= Qt::AlignLeft;
        break;
    case Alignment::Right:
        flags |= Qt::AlignRight;
        break;
    case Alignment::Center:
        flags |= Qt::AlignHCenter;
        break;
    }
    painter.setClipRect(r, Qt::IntersectClip);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(Font());
    painter.setPen(Enabled() ? ForeColor() : QColor(Qt::gray));
    painter.drawText(r, flags, Caption());
}

} // namespace tessaroc::forms
