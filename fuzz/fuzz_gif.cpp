// The animated GIF control's model on arbitrary bytes: parse, build, compose
// every frame in order, jump around, mirror, and hand a frame out and read it
// back. Any crash, sanitizer report or broken invariant is a finding.
#include "gif/GifAnimation.h"
#include "gif/GifParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using tessaroc::gif::GifAnimation;
using tessaroc::gif::ParsedGif;
using tessaroc::gif::ParseGif;

namespace {

constexpr std::int64_t kFuzzPixels = std::int64_t{4} << 20;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Huge pictures take the same paths as small ones, only slower; the
    // parser sees every input, the rest only those of a few megapixels.
    ParsedGif parsed;
    if (ParseGif({data, size}, parsed) == 0)
        return 0;
    std::int64_t pixels = std::int64_t{parsed.ScreenWidth} * parsed.ScreenHeight;
    for (const auto &frame : parsed.Frames)
        pixels += std::int64_t{frame.width} * frame.height;
    if (pixels > kFuzzPixels)
        return 0;

    GifAnimation anim;
    const int frames = anim.LoadGifArray({data, size});
    if (frames == 0)
        return 0;
    const auto screen = static_cast<std::size_t>(anim.ScreenWidth())
            * static_cast<std::size_t>(anim.ScreenHeight());
    check(anim.BuiltFrameCount() == 1);
    check(anim.ComposeFrame(1).size() == screen);

    anim.BuildFrames();
    check(anim.BuiltFrameCount() == frames);
    for (int n = 1; n <= frames; ++n)
        check(anim.ComposeFrame(n).size() == screen);

    // A jump back recomposes from the first frame and must match the pass.
    const auto last = anim.ComposeFrame(frames);
    const std::vector<std::uint32_t> inOrder(last.begin(), last.end());
    anim.ComposeFrame(1);
    const auto again = anim.ComposeFrame(frames);
    check(std::equal(again.begin(), again.end(), inOrder.begin(), inOrder.end()));

    anim.setMirrored(3);
    check(anim.ComposeFrame(frames).size() == screen);
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
