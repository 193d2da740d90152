#include "gif/GifComposer.h"

#include <algorithm>
#include <array>

namespace tessaroc::gif {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

} // namespace

void GifComposer::reset(std::int32_t width, std::int32_t height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    canvas_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    saved_.clear();
    drawn_ = false;
}

void GifComposer::clear()
{
    if (drawn_)
        std::fill(canvas_.begin(), canvas_.end(), 0u);
    drawn_ = false;
}

GifComposer::Area GifComposer::clip(const GifFrame &frame) const
{
    return {std::clamp(frame.left, 0, width_), std::clamp(frame.top, 0, height_),
            std::clamp(frame.left + frame.width, 0, width_),
            std::clamp(frame.top + frame.height, 0, height_)};
}

void GifComposer::draw(const GifFrame &frame, const std::uint8_t *pixels, const ColorTable &table)
{
    const Area area = clip(frame);
    if (area.empty())
        return;
    drawn_ = true;
    const auto areaWidth = static_cast<std::size_t>(area.x1 - area.x0);
    const auto canvasRow = [&](std::int32_t y) {
        return canvas_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)
                + static_cast<std::size_t>(area.x0);
    };

    if (frame.disposal == DisposeToPrevious) {
        saved_.resize(areaWidth * static_cast<std::size_t>(area.y1 - area.y0));
        std::uint32_t *save = saved_.data();
        for (std::int32_t y = area.y0; y < area.y1; ++y, save += areaWidth)
            std::copy_n(canvasRow(y), areaWidth, save);
    }

    std::array<std::uint32_t, 256> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = kOpaque | table.colors[i];
    const auto frameWidth = static_cast<std::size_t>(frame.width);
    const std::size_t firstColumn = static_cast<std::size_t>(area.x0 - frame.left);
    for (std::int32_t y = area.y0; y < area.y1; ++y) {
        const std::uint8_t *src
                = pixels + static_cast<std::size_t>(y - frame.top) * frameWidth + firstColumn;
        std::uint32_t *dst = canvasRow(y);
        if (!frame.transparent) {
            for (std::size_t x = 0; x < areaWidth; ++x)
                dst[x] = colors[src[x]];
        } else {
            const std::uint8_t clear = frame.TransparentIndex;
            for (std::size_t x = 0; x < areaWidth; ++x) {
                if (src[x] != clear)
                    dst[x] = colors[src[x]];
            }
        }
    }
}

void GifComposer::dispose(const GifFrame &frame)
{
    if (frame.disposal != DisposeToBackground && frame.disposal != DisposeToPrevious)
        return;
    const Area area = clip(frame);
    if (area.empty())
        return;
    const auto areaWidth = static_cast<std::size_t>(area.x1 - area.x0);
    if (frame.disposal == DisposeToPrevious
        && saved_.size() != areaWidth * static_cast<std::size_t>(area.y1 - area.y0))
        return; // nothing was saved for this frame
    const std::uint32_t *save = saved_.data();
    for (std::int32_t y = area.y0; y < area.y1; ++y) {
        std::uint32_t *dst = canvas_.data()
                + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)
                + static_cast<std::size_t>(area.x0);
        if (frame.disposal == DisposeToBackground) {
            std::fill_n(dst, areaWidth, 0u);
        } else {
            std::copy_n(save, areaWidth, dst);
            save += areaWidth;
        }
    }
}

} // namespace tessaroc::gif
