#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
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
//  - When its ink is taller than the box, the text is set in the largest
//    whole pixel size at which it fits.
// A line longer than the box wraps where a label breaks it: at spaces and
// between ideographs, never inside a run of letters or digits (a clock's
// "19" is one word). A word wider than the box stays on its line, and the
// text is set in the largest whole pixel size at which every line shown
// fits across; below a legible size it shrinks no further for its width, and
// a word still too wide shows up to its last glyph that fits, the last thing
// shown. Without
// wrapping each paragraph shows on one line, up to the last letter that
// fits.
class FittedText
{
public:
    enum class Wrap { Words, None };

    // A pixel shows a glyph's ink when the glyph covers at least a tenth of
    // it (alpha out of 255); the fainter fringe of an edge's shading may be
    // left off.
    static constexpr int kInkAlpha = 26;
    // The smallest pixel size a text is shrunk to for a word too wide for
    // its box; ideographs smaller than this can no longer be read.
    static constexpr int kLegiblePixels = 11;

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

    // The characters of each line shown, from the top.
    const QStringList &shownLines() const { return shownLines_; }
    // The pixel size the text is set in.
    int pixelSize() const { return pixelSize_; }

private:
    bool setIn(const QFont &font, QPaintDevice *device, bool cutWide);
    void show(const QTextLayout &layout, QTextLine line);
    QTextLine cutToBox(const QTextLayout &layout, const QTextLine &line, const QFont &font,
                       QPaintDevice *device);

    Setting setting_;
    int pixelSize_ = 0;
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    std::vector<QTextLine> shown_;
    QStringList shownLines_;
};

// The setting of a text in a box on a painter's device (its resolution
// filled in).
FittedText::Setting textSetting(const QString &text, const QFont &font, const QRect &box,
                                Qt::Alignment horizontal, FittedText::Wrap wrap,
                                const QPaintDevice *device);

} // namespace tessaroc::forms
