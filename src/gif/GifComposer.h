#pragma once

#include "gif/GifTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaroc::gif {

// Composes the frames of an animation on a canvas the size of the logical
// screen. A pixel is premultiplied ARGB as one 32-bit value (0xAARRGGBB);
// 0 is transparent, where what lies under the control shows through, and a
// covered pixel has alpha 255. The canvas thus carries its own mask.
//
// The caller draws the frames of a pass in order, from a cleared canvas, and
// disposes of each frame after it has been shown and before the next is drawn.
class GifComposer
{
public:
    // Sizes the canvas (within kMaxCanvasPixels, which the caller checks) and
    // clears it.
    void reset(std::int32_t width, std::int32_t height);
    void clear();

    // Draws a frame's colour indexes (width * height, row by row) in its
    // colours; its transparent index leaves the canvas as it was. A frame that
    // puts its area back afterwards has the area saved first.
    void draw(const GifFrame &frame, const std::uint8_t *pixels, const ColorTable &table);
    // After `frame`, the frame drawn last, has been shown: its area becomes
    // transparent (disposal 2) or is put back as it was before it (disposal 3).
    void dispose(const GifFrame &frame);

    std::span<const std::uint32_t> canvas() const { return canvas_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    struct Area
    {
        std::int32_t x0, y0, x1, y1;
        bool empty() const { return x0 >= x1 || y0 >= y1; }
    };
    Area clip(const GifFrame &frame) const;

    std::vector<std::uint32_t> canvas_;
    std::vector<std::uint32_t> saved_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    // Whether anything was drawn since the canvas was last cleared.
    bool drawn_ = false;
};

} // namespace tessaroc::gif
