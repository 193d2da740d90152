#pragma once

#include "forms/Element.h"

namespace tessaroc::forms {

// A windowless text. The text wraps at word boundaries within the label's
// width and is cut at its bottom edge (a label that sizes itself to its
// caption keeps it on one line). Labels on the table are transparent
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
    // With AutoSize on, the label's width and height follow its caption's
    // one-line extent in its font whenever either changes; the left and top
    // stay where they are. Off by default.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

    void copyFrom(const Element &other) override;
    void paint(QPainter &painter, const QRect &r) override;

protected:
    void textChanged() override;

private:
    void fitToCaption();
    QRectF textBox(const QPainter &painter, const QRect &r) const;

    Alignment alignment_ = Alignment::Left;
    BackStyle backStyle_ = BackStyle::Transparent;
    bool autoSize_ = false;
};

} // namespace tessaroc::forms
