#pragma once

#include <QColor>
#include <QImage>

namespace tessaroc::artgen {

// A picture reduced to at most 256 colours for a GIF: an 8-bit image whose
// colour table holds the palette, and the index that stands for
// transparency (-1 when every pixel is opaque).
struct Indexed
{
    QImage image;
    int transparent = -1;
};

// Pixels less than half opaque become transparent; the others are blended
// onto the matte colour, so antialiased edges suit the ground the picture
// lies on. A picture of more than 255 colours gets a median-cut palette and
// a light error diffusion.
Indexed quantize(const QImage &picture, QColor matte);

} // namespace tessaroc::artgen
