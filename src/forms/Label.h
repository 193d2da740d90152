#pragma once

#include "forms/Element.h"

namespace tessaroc::forms {

// A windowless text. The text wraps at word boundaries within the label's
// width and is cut at its bottom edge. Labels on the table are transparent
// unless told otherwise.
class Label : public Element
{
    Q_OBJECT

public:
    enum class Alignment { Left = 0, Right = 1, Center = 2 };
    enum class BackStyle { Transparent = 0, Opaque = 1 };

    explicit Label(Surface *container = nullptr);

    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);
    BackStyle backStyle() const { return backStyle_; }
    void setBackStyle(BackStyle style);

    void copyFrom(const Element &other) override;
    void paint(QPainter &painter, const QRect &r) override;

private:
    Alignment alignment_ = Alignment::Left;
    BackStyle backStyle_ = BackStyle::Transparent;
};

} // namespace tessaroc::forms
