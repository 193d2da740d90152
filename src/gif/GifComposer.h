#pragma once

#include "gif/GifTypes.h"

#include <cstdint>
#include <memory>
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
//
// The canvas lies on a backdrop that shows wherever it is transparent:
// nothing (what lies under the control shows through), or black for an
// animation that is composed without a mask. The backdrop is not written into
// the canvas, which would cost the whole screen; whoever shows the picture
// lays it under.
//
// The work of every call follows the areas the frames cover, never the size
// of the screen: the canvas starts as untouched zero memory that the system
// backs only where something is drawn, and clearing it zeroes only the areas
// drawn since it was last cleared. So a large screen crossed by tiny frames
// costs what the tiny frames cost. The memory is had when the first frame is
// drawn, not before, and it is kept for the next picture that fits in it:
// a control that shows picture after picture touches no fresh memory.
class GifComposer
{
public:
    // A rectangle of canvas pixels, x0 and y0 inside, x1 and y1 past the end.
    struct Rect
    {
        std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        bool empty() const { return x0 >= x1 || y0 >= y1; }
        std::int64_t area() const
        {
            return empty() ? 0 : std::int64_t{x1 - x0} * std::int64_t{y1 - y0};
        }
        // The smallest rectangle that holds both.
        Rect united(const Rect &other) const;
        bool operator==(const Rect &) const = default;
    };

    enum class Backdrop { None, Black };

    // Sizes the canvas (within kMaxCanvasPixels, which the caller checks),
    // clears it and sets its backdrop. The calls that draw and canvas() throw
    // std::bad_alloc when the memory cannot be had.
    void reset(std::int32_t width, std::int32_t height, Backdrop backdrop = Backdrop::None);
    Backdrop backdrop() const { return backdrop_; }
    // Makes the whole canvas transparent, as a pass starts. The canvas holds
    // what it held only until the next clear: a picture of the same size that
    // follows reset() finds the last one's pixels still there.
    void clear();
    // The same, before `first` is drawn: the area that frame covers with its
    // own opaque pixels is left to it.
    void clearFor(const GifFrame &first);
    // Frames are drawn flipped: bit 0 left to right, bit 1 top to bottom, so
    // the canvas is the mirrored picture itself. A change clears the canvas.
    void setMirror(int style);
    int mirror() const { return mirror_; }

    // Draws a frame's colour indexes (width * height, row by row) in its
    // colours; its transparent index leaves the canvas as it was. A frame that
    // puts its area back afterwards has the area saved first.
    void draw(const GifFrame &frame, const std::uint8_t *pixels, const ColorTable &table);
    // After `frame`, the frame drawn last, has been shown: its area becomes
    // transparent (disposal 2) or is put back as it was before it (disposal 3).
    void dispose(const GifFrame &frame);

    std::span<const std::uint32_t> canvas() { return {memory(), pixelCount()}; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    // The areas that may hold anything but transparent pixels: everything
    // drawn since the last clear. Few when the frames are few; a single
    // rectangle around them all once they would cost more than it.
    const std::vector<Rect> &drawnAreas() const { return drawnAreas_; }
    // The rectangle around everything the calls since the last takeChanged
    // may have changed; the record then starts afresh.
    Rect takeChanged();

private:
    struct FreeDeleter
    {
        void operator()(std::uint32_t *p) const;
    };

    // A frame's area on the screen, and where the mirror style puts it.
    Rect clip(const GifFrame &frame) const;
    Rect placed(const Rect &area) const;
    std::size_t pixelCount() const
    {
        return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    }
    std::uint32_t *memory();
    std::uint32_t *row(std::int32_t y, std::int32_t x) const
    {
        return canvas_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)
                + static_cast<std::size_t>(x);
    }
    void fill(const Rect &area);
    void fillAround(const Rect &area, const Rect &kept);
    void noteDrawn(const Rect &area);

    std::unique_ptr<std::uint32_t[], FreeDeleter> canvas_;
    std::size_t capacity_ = 0; // pixels canvas_ holds
    std::vector<std::uint32_t> saved_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    Backdrop backdrop_ = Backdrop::None;
    std::vector<Rect> drawnAreas_;
    std::int64_t drawnArea_ = 0; // the pixels of drawnAreas_ together
    Rect drawnBounds_; // the rectangle around drawnAreas_
    Rect changed_;
    int mirror_ = 0;
};

} // namespace tessaroc::gif
