#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace tessaroc::forms {

// A text set in a box so that every glyph it shows lies whole inside the box.
//
// The design's boxes were drawn for faces whose line is as tall as their
// size; the faces we substitute for them set the same glyphs in a line almost
// half as tall again (room for accents above, a deep descent below). A box
// one design line high therefore holds the glyphs but not the face's line.
// The lines are placed by where their glyphs' ink really lies:
//  - Lines stand as the face sets them, the first at the box's top, as long
//    as their ink lies inside the box; those that follow and would not fit
//    are left out rather than shown cut.
//  - When even the first line's ink does not fit that way, the first line
//    alone is shown with its ink centred in the box's height.
//  - When its ink is taller than the box, or one glyph wider, the text is
//    set in the largest whole pixel size at which it fits.
// A line longer than the box wraps at a word boundary (or, for a word
// longer than the line, between two letters); without wrapping each
// paragraph shows on one line, up to the last letter that fits.
class FittedText
{
public:
    enum class Wrap { Words, None };

    // A pixel shows a glyph's ink when the glyph covers at least a tenth of
    // it (alpha out of 255); the fainter fringe of an edge's shading may be
    // left off.
    static constexpr int kInkAlpha = 26;

    struct Setting
    {
        QString text;
        QFont font;
        QRect box;
        Qt::Alignment horizontal = Qt::AlignLeft;
        Wrap wrap = Wrap::Words;
        // The resolution the font's points are measured at.
        int dpi = 96;

        bool operator==(const Setting &) const = default;
    };

    // Lays the text out for a painter's device.
    FittedText(const Setting &setting, QPaintDevice *device);
    ~FittedText();
    FittedText(const FittedText &) = delete;
    FittedText &operator=(const FittedText &) = delete;

    const Setting &setting() const { return setting_; }

    // Draws the lines shown in the painter's pen; nothing when no line fits
    // (an empty box).
    void draw(QPainter &painter) const;

private:
    bool setIn(const QFont &font, QPaintDevice *device);

    Setting setting_;
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    std::vector<QTextLine> shown_;
};

// The setting of a text in a box on a painter's device (its resolution
// filled in).
FittedText::Setting textSetting(const QString &text, const QFont &font, const QRect &box,
                                Qt::Alignment horizontal, FittedText::Wrap wrap,
                                const QPaintDevice *device);

} // namespace tessaroc::forms
