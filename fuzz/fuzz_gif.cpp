// The animated GIF control's model on arbitrary bytes: parse, build, compose
// every frame in order, jump around, mirror, and hand a frame out and read it
// back; and the picture store's still of the same bytes, which must be the
// model's first frame. Any crash, sanitizer report or broken invariant is a
// finding.
#include "gif/GifAnimation.h"
#include "gif/GifFirstPicture.h"
#include "gif/GifParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using tessaroc::gif::DecodeFirstPicture;
using tessaroc::gif::FirstPicture;
using tessaroc::gif::GifAnimation;
using tessaroc::gif::GifComposer;
using tessaroc::gif::ParsedGif;
using tessaroc::gif::ParseGif;

namespace {

// Decoding and composing cost what the frames hold, not what the screen
// measures: the screen may be as large as the model allows, the frames
// together a few megapixels. Pictures are compared pixel by pixel only
// where the frames' rectangle is small, to keep every input quick.
constexpr std::int64_t kFuzzPixels = std::int64_t{4} << 20;
constexpr std::int64_t kComparePixels = std::int64_t{1} << 18;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Box
{
    std::int64_t x0, y0, x1, y1;
    std::int64_t area() const { return x1 > x0 && y1 > y0 ? (x1 - x0) * (y1 - y0) : 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ParsedGif parsed;
    if (ParseGif({data, size}, parsed) == 0)
        return 0;
    std::int64_t pixels = 0;
    for (const auto &frame : parsed.Frames)
        pixels += std::int64_t{frame.width} * frame.height;
    if (pixels > kFuzzPixels)
        return 0;

    GifAnimation anim;
    const int frames = anim.LoadGifArray({data, size});
    if (frames == 0)
        return 0;
    const std::int64_t width = anim.ScreenWidth();
    const std::int64_t height = anim.ScreenHeight();
    const auto screen = static_cast<std::size_t>(width * height);
    check(anim.BuiltFrameCount() == 1);
    check(anim.ComposeFrame(1).size() == screen);

    anim.BuildFrames();
    check(anim.BuiltFrameCount() == frames);
    Box box{width, height, 0, 0};
    for (int n = 1; n <= frames; ++n) {
        check(anim.ComposeFrame(n).size() == screen);
        const auto &f = anim.frame(n);
        box = {std::min<std::int64_t>(box.x0, f.left), std::min<std::int64_t>(box.y0, f.top),
               std::max<std::int64_t>(box.x1, std::int64_t{f.left} + f.width),
               std::max<std::int64_t>(box.y1, std::int64_t{f.top} + f.height)};
    }
    const bool compare = box.area() <= kComparePixels;
    // The pixels of the frames' rectangle, flipped as a mirror style says.
    const auto boxPixels = [&](std::span<const std::uint32_t> canvas, int style) {
        std::vector<std::uint32_t> out;
        out.reserve(static_cast<std::size_t>(box.area()));
        for (std::int64_t y = box.y0; y < box.y1; ++y)
            for (std::int64_t x = box.x0; x < box.x1; ++x) {
                const std::int64_t cx = (style & 1) ? width - 1 - x : x;
                const std::int64_t cy = (style & 2) ? height - 1 - y : y;
                out.push_back(canvas[static_cast<std::size_t>(cy * width + cx)]);
            }
        return out;
    };

    // The still is the first frame over its backdrop. It is written over the
    // whole screen, so it is made only for screens small enough to compare
    // whole.
    if (width * height <= kComparePixels) {
        const FirstPicture still = DecodeFirstPicture({data, size});
        check(still.pixels && still.width == width && still.height == height);
        const auto canvas = anim.ComposeFrame(1);
        const std::uint32_t backdrop
                = anim.backdrop() == GifComposer::Backdrop::Black ? 0xFF000000u : 0u;
        for (std::size_t i = 0; i < screen; ++i)
            check(still.pixels[i] == (canvas[i] != 0 ? canvas[i] : backdrop));
    }

    // A jump back recomposes from the first frame and must match the pass.
    const std::vector<std::uint32_t> inOrder
            = compare ? boxPixels(anim.ComposeFrame(frames), 0) : std::vector<std::uint32_t>{};
    anim.ComposeFrame(1);
    const auto again = anim.ComposeFrame(frames);
    if (compare)
        check(boxPixels(again, 0) == inOrder);

    // Composed mirrored, the picture is the flipped one.
    anim.setMirrored(3);
    const auto mirrored = anim.ComposeFrame(frames);
    check(mirrored.size() == screen);
    if (compare)
        check(boxPixels(mirrored, 3) == inOrder);
    anim.setMirrored(0);

    // The frame handed out reads back to the same colour indexes.
    for (int n : {1, frames}) {
        const auto pixels = anim.framePixels(n);
        if (pixels.empty())
            continue;
        GifAnimation back;
        check(back.LoadGifArray(anim.FrameToPicture(n)) == 1);
        const auto read = back.framePixels(1);
        check(std::equal(read.begin(), read.end(), pixels.begin(), pixels.end()));
    }
    return 0;
}
