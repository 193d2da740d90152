#pragma once

#include "forms/Element.h"
#include "forms/FittedText.h"

#include <memory>

namespace tessaroc::forms {

// A windowless text. The text wraps at spaces and between ideographs within
// the label's width (a label that sizes itself to its caption keeps it on one
// line) and shows the lines whose glyphs fit whole, placed and sized as
// FittedText does.
// Labels on the table are transparent unless told otherwise.
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
    // The caption as it was last painted: its lines, size and what shows of
    // it; none before the first paint.
    const FittedText *fitted() const { return fitted_.get(); }

protected:
    void textChanged() override;

private:
    void fitToCaption();

    Alignment alignment_ = Alignment::Left;
    BackStyle backStyle_ = BackStyle::Transparent;
    bool autoSize_ = false;
    // The caption as last set in the label, kept while nothing it depends
    // on changes: the table repaints its labels often.
    std::unique_ptr<FittedText> fitted_;
};

} // namespace tessaroc::forms
