#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace tessaroc::gif {

// The picture a GIF file shows as a still: its first frame on the file's
// logical screen over the animation's backdrop, premultiplied ARGB (0 is
// transparent), exactly what a model composes for frame 1 laid over its
// backdrop. The picture store shows every GIF so.
struct FirstPicture
{
    struct Free
    {
        void operator()(std::uint32_t *pixels) const { std::free(pixels); }
    };

    std::int32_t width = 0;
    std::int32_t height = 0;
    // width * height pixels, row by row from the top, from std::malloc: a
    // picture that keeps them releases them with std::free.
    std::unique_ptr<std::uint32_t[], Free> pixels;
};

// Decodes the first picture of a GIF file straight into the memory it hands
// out, and into nothing else: no model, no canvas, no copy of the file; the
// frames after the first are not decoded. Gives an empty picture (no pixels)
// for every file that GifAnimation::LoadGifArray refuses, and when the memory
// cannot be had.
FirstPicture DecodeFirstPicture(std::span<const std::uint8_t> gifBytes);

} // namespace tessaroc::gif
