#include "forms/Label.h"

#include "forms/Surface.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

void Label::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize_)
        fitToCaption();
}

void Label::textChanged()
{
    if (autoSize_)
        fitToCaption();
}

// The caption measured as one line in the label's font, on the surface it is
// drawn on, so that the painted text fits the label exactly.
void Label::fitToCaption()
{
    const QFont font = Font();
    const QFontMetricsF metrics
            = container() ? QFontMetricsF(font, container()) : QFontMetricsF(font);
    Move(Left(), Top(), std::ceil(metrics.horizontalAdvance(Caption())),
         std::ceil(metrics.height()));
}

void Label::copyFrom(const Element &other)
{
    Element::copyFrom(other);
    if (const auto *label = qobject_cast<const Label *>(&other)) {
        alignment_ = label->alignment_;
        backStyle_ = label->backStyle_;
        autoSize_ = label->autoSize_;
    }
    textChanged();
}

// The design's Chinese faces are as tall as their size, the ideographs' body
// (0.88 em above the baseline to 0.12 em below) filling the line. The faces we
// substitute set the same body lower in a line almost half as tall again. A
// label designed one design line high would show only the glyphs' upper part,
// so when the line does not fit, the body is lined up with the label's top.
QRectF Label::textBox(const QPainter &painter, const QRect &r) const
{
    constexpr qreal kBodyAboveBaseline = 0.88;
    const QFont font = Font();
    const QFontMetricsF metrics(font, painter.device());
    if (metrics.height() <= r.height())
        return r;
    const qreal em = font.pixelSize() > 0
            ? font.pixelSize()
            : font.pointSizeF() * painter.device()->logicalDpiY() / 72.0;
    const qreal lift = std::max<qreal>(0, metrics.ascent() - kBodyAboveBaseline * em);
    return QRectF(r).adjusted(0, -lift, 0, 0);
}

void Label::paint(QPainter &painter, const QRect &r)
{
    if (backStyle_ == BackStyle::Opaque)
        painter.fillRect(r, BackColor());
    if (Caption().isEmpty())
        return;
    // A label that sizes itself to its caption shows it on one line, as it
    // was measured.
    int flags = autoSize_ ? Qt::AlignTop : Qt::AlignTop | Qt::TextWordWrap;
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
    painter.drawText(textBox(painter, r), flags, Caption());
}

} // namespace tessaroc::forms
