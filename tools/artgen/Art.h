#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace tessaroc::artgen {

// One picture as drawn: full-canvas frames with alpha, shown for delayMs each.
// A still has one frame.
struct Frame
{
    QImage image;
    int delayMs = 0;
};

struct Art
{
    std::vector<Frame> frames;
    // Passes the animation plays: 0 for ever. Written only for animations.
    int loops = 0;

    static Art still(QImage image) { return Art{{Frame{std::move(image), 0}}, 0}; }
};

enum class Format { Gif, Jpeg };

// A picture of the catalogue. Pictures the client loads by number carry their
// resource id; pictures that belong to a window's design carry only a name.
struct Entry
{
    int id = 0;
    QString name;
    QSize size;
    Format format = Format::Gif;
    // The colour half-transparent edges are blended onto before the GIF's
    // one-bit transparency cuts them: the colour the picture usually lies on.
    QColor matte;
    QString note;
    std::function<Art()> draw;

    bool hasId() const { return id > 0; }
    // The file name inside the embedded store: "<id>" or the design name,
    // with the extension of its format.
    QString fileName() const;
};

std::vector<Entry> catalogue();

} // namespace tessaroc::artgen
