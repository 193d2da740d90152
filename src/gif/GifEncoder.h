#pragma once

#include "gif/GifTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessaroc::gif {

// The single-image GIF89a stream of one frame, as the control hands out its
// current frame: a 256-entry global table holding the frame's colours (the
// rest black), a graphic control extension only when the frame has a
// transparent colour, the image at (0, 0) with no local table, not
// interlaced, minimum code size 8, the trailer. The frame's delay, disposal
// and position are not carried. `pixels` are width * height colour indexes,
// row by row from the top.
std::vector<std::uint8_t> EncodeFrameGif(std::span<const std::uint8_t> pixels, std::int32_t width,
                                         std::int32_t height, const ColorTable &table,
                                         std::optional<std::uint8_t> transparentIndex);

// One image of a GIF to write.
struct GifImageData
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width * height colour indexes, row by row from the top.
    std::vector<std::uint8_t> pixels;
    // The image's own colour table (0xRRGGBB, 1 to 256 entries); empty to use
    // the global one.
    std::vector<std::uint32_t> palette;
    // Display time; the file keeps hundredths of a second, so it is rounded to
    // a multiple of 10.
    std::int32_t delayMs = 0;
    std::uint8_t disposal = DisposeNone;
    std::optional<std::uint8_t> transparentIndex;
};

// A whole GIF to write: an animation or a still picture.
struct GifFileData
{
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    // 1 to 256 entries, or empty when every image brings its own table.
    std::vector<std::uint32_t> globalPalette;
    // Written as the "NETSCAPE2.0" loop count when set. The animated GIF
    // control plays that many passes, 0 for ever; a file without it plays
    // for ever there too.
    std::optional<std::uint16_t> loops;
    std::vector<GifImageData> images;
};

// Writes `gif` as a GIF89a file, each image compressed by LzwEncoder with the
// smallest code size its table allows. Throws std::invalid_argument, naming
// the image, when the data cannot be written as given (no image, sizes past
// 65535, a pixel count that does not match the size, a pixel or transparent
// index outside the table, no table, a disposal past 3).
std::vector<std::uint8_t> EncodeGif(const GifFileData &gif);

} // namespace tessaroc::gif
