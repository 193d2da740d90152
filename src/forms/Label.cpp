#include "forms/Label.h"

#include "forms/Surface.h"

#include <QFontMetricsF>
#include <QPainter>

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

void Label::paint(QPainter &painter, const QRect &r)
{
    if (backStyle_ == BackStyle::Opaque)
        painter.fillRect(r, BackColor());
    if (Caption().isEmpty())
        return;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment_ == Alignment::Right)
        horizontal = Qt::AlignRight;
    else if (alignment_ == Alignment::Center)
        horizontal = Qt::AlignHCenter;
    // A label that sizes itself to its caption shows it on one line, as it
    // was measured.
    const FittedText::Wrap wrap = autoSize_ ? FittedText::Wrap::None : FittedText::Wrap::Words;
    // What lies off the surface is not on show: the glyphs are set in the
    // part that is.
    const QRect shown = container() ? r & container()->rect() : r;
    const FittedText::Setting setting
            = textSetting(Caption(), Font(), shown, horizontal, wrap, painter.device());
    if (!fitted_ || fitted_->setting() != setting)
        fitted_ = std::make_unique<FittedText>(setting, painter.device());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Enabled() ? ForeColor() : QColor(Qt::gray));
    fitted_->draw(painter);
}

} // namespace tessaroc::forms
