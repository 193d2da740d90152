#include "gif/GifComposer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>

namespace tessaroc::gif {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

} // namespace

GifComposer::Rect GifComposer::Rect::united(const Rect &other) const
{
    if (empty())
        return other;
    if (other.empty())
        return *this;
    return {std::min(x0, other.x0), std::min(y0, other.y0), std::max(x1, other.x1),
            std::max(y1, other.y1)};
}

void GifComposer::FreeDeleter::operator()(std::uint32_t *p) const
{
    std::free(p);
}

void GifComposer::reset(std::int32_t width, std::int32_t height, Backdrop backdrop)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    // A picture of the same size clears what the last one drew when its pass
    // starts, and then only where its first frame does not draw over it; for
    // another size the memory is cleared now, while the last picture's places
    // are known.
    if (width != width_ || height != height_)
        clear();
    saved_.clear();
    width_ = width;
    height_ = height;
    backdrop_ = backdrop;
    if (pixelCount() > capacity_) {
        canvas_.reset();
        capacity_ = 0;
    }
    changed_ = {0, 0, width_, height_};
}

std::uint32_t *GifComposer::memory()
{
    // Zeroed memory from the system, which backs only the pages written to.
    if (!canvas_ && pixelCount() != 0) {
        canvas_.reset(
                static_cast<std::uint32_t *>(std::calloc(pixelCount(), sizeof(std::uint32_t))));
        if (!canvas_)
            throw std::bad_alloc();
        capacity_ = pixelCount();
    }
    return canvas_.get();
}

void GifComposer::fill(const Rect &area)
{
    for (std::int32_t y = area.y0; y < area.y1; ++y)
        std::fill_n(row(y, area.x0), area.x1 - area.x0, 0u);
}

void GifComposer::clear()
{
    for (const Rect &area : drawnAreas_) {
        fill(area);
        changed_ = changed_.united(area);
    }
    drawnAreas_.clear();
    drawnArea_ = 0;
    drawnBounds_ = {};
}

void GifComposer::fillAround(const Rect &area, const Rect &kept)
{
    const std::int32_t top = std::clamp(kept.y0, area.y0, area.y1);
    const std::int32_t bottom = std::clamp(kept.y1, top, area.y1);
    const std::int32_t left = std::clamp(kept.x0, area.x0, area.x1);
    const std::int32_t right = std::clamp(kept.x1, left, area.x1);
    fill({area.x0, area.y0, area.x1, top});
    fill({area.x0, top, left, bottom});
    fill({right, top, area.x1, bottom});
    fill({area.x0, bottom, area.x1, area.y1});
}

// A still shown again, or the first frame of a pass over the screen, draws
// over the whole of what the last pass left: nothing needs zeroing first.
void GifComposer::clearFor(const GifFrame &first)
{
    if (first.transparent || first.disposal == DisposeToPrevious) {
        clear();
        return;
    }
    const Rect kept = placed(clip(first));
    for (const Rect &area : drawnAreas_) {
        fillAround(area, kept);
        changed_ = changed_.united(area);
    }
    drawnAreas_.clear();
    drawnArea_ = 0;
    drawnBounds_ = {};
}

// Once the areas together cover as much as the rectangle around them, the
// rectangle takes their place: clearing it costs no more, and the list stays
// short however many frames a pass holds.
void GifComposer::noteDrawn(const Rect &area)
{
    changed_ = changed_.united(area);
    drawnBounds_ = drawnBounds_.united(area);
    drawnAreas_.push_back(area);
    drawnArea_ += area.area();
    if (drawnArea_ >= drawnBounds_.area() || drawnAreas_.size() > kMaxGifFrames) {
        drawnAreas_.assign(1, drawnBounds_);
        drawnArea_ = drawnBounds_.area();
    }
}

void GifComposer::setMirror(int style)
{
    if (style < 0 || style > 3 || style == mirror_)
        return;
    clear();
    saved_.clear();
    mirror_ = style;
}

GifComposer::Rect GifComposer::takeChanged()
{
    const Rect changed = changed_;
    changed_ = {};
    return changed;
}

GifComposer::Rect GifComposer::clip(const GifFrame &frame) const
{
    return {std::clamp(frame.left, 0, width_), std::clamp(frame.top, 0, height_),
            std::clamp(frame.left + frame.width, 0, width_),
            std::clamp(frame.top + frame.height, 0, height_)};
}

GifComposer::Rect GifComposer::placed(const Rect &area) const
{
    Rect out = area;
    if (mirror_ & 1) {
        out.x0 = width_ - area.x1;
        out.x1 = width_ - area.x0;
    }
    if (mirror_ & 2) {
        out.y0 = height_ - area.y1;
        out.y1 = height_ - area.y0;
    }
    return out;
}

void GifComposer::draw(const GifFrame &frame, const std::uint8_t *pixels, const ColorTable &table)
{
    const Rect area = clip(frame);
    if (area.empty())
        return;
    memory();
    const Rect onCanvas = placed(area);
    noteDrawn(onCanvas);
    const auto areaWidth = static_cast<std::size_t>(area.x1 - area.x0);

    if (frame.disposal == DisposeToPrevious) {
        saved_.resize(areaWidth * static_cast<std::size_t>(area.y1 - area.y0));
        std::uint32_t *save = saved_.data();
        for (std::int32_t y = onCanvas.y0; y < onCanvas.y1; ++y, save += areaWidth)
            std::copy_n(row(y, onCanvas.x0), areaWidth, save);
    }

    std::array<std::uint32_t, 256> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = kOpaque | table.colors[i];
    const bool flipX = (mirror_ & 1) != 0;
    const bool flipY = (mirror_ & 2) != 0;
    const auto frameWidth = static_cast<std::size_t>(frame.width);
    const std::size_t firstColumn = static_cast<std::size_t>(area.x0 - frame.left);
    for (std::int32_t y = area.y0; y < area.y1; ++y) {
        const std::uint8_t *src
                = pixels + static_cast<std::size_t>(y - frame.top) * frameWidth + firstColumn;
        std::uint32_t *dst = row(flipY ? height_ - 1 - y : y, onCanvas.x0);
        // Mirrored left to right, the row is written from its far end.
        const auto at = [&](std::size_t x) -> std::uint32_t & {
            return dst[flipX ? areaWidth - 1 - x : x];
        };
        if (!frame.transparent) {
            for (std::size_t x = 0; x < areaWidth; ++x)
                at(x) = colors[src[x]];
        } else {
            const std::uint8_t clear = frame.TransparentIndex;
            for (std::size_t x = 0; x < areaWidth; ++x) {
                if (src[x] != clear)
                    at(x) = colors[src[x]];
            }
        }
    }
}

void GifComposer::dispose(const GifFrame &frame)
{
    if (frame.disposal != DisposeToBackground && frame.disposal != DisposeToPrevious)
        return;
    if (!canvas_)
        return; // nothing was drawn
    const Rect area = placed(clip(frame));
    if (area.empty())
        return;
    const auto areaWidth = static_cast<std::size_t>(area.x1 - area.x0);
    if (frame.disposal == DisposeToPrevious
        && saved_.size() != areaWidth * static_cast<std::size_t>(area.y1 - area.y0))
        return; // nothing was saved for this frame
    changed_ = changed_.united(area);
    const std::uint32_t *save = saved_.data();
    for (std::int32_t y = area.y0; y < area.y1; ++y) {
        std::uint32_t *dst = row(y, area.x0);
        if (frame.disposal == DisposeToBackground) {
            std::fill_n(dst, areaWidth, 0u);
        } else {
            std::copy_n(save, areaWidth, dst);
            save += areaWidth;
        }
    }
}

} // namespace tessaroc::gif
