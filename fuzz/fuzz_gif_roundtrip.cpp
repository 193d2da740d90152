// Encode, then decode: pictures made from the fuzzer's bytes are written with
// the GIF encoder and must read back with every pixel, colour, time, disposal
// and transparent index as written.
#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace tessaroc::gif;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

class Bytes
{
public:
    Bytes(const std::uint8_t *data, std::size_t size)
        : data_(data)
        , size_(size)
    { }
    std::uint8_t next() { return size_ == 0 ? 0 : data_[pos_++ % size_]; }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::vector<std::uint32_t> palette(Bytes &in, int colors)
{
    std::vector<std::uint32_t> p(static_cast<std::size_t>(colors));
    for (auto &c : p)
        c = static_cast<std::uint32_t>(in.next()) << 16 | static_cast<std::uint32_t>(in.next()) << 8
                | in.next();
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    Bytes in(data, size);
    GifFileData gif;
    const int globalColors = in.next() % 257;
    gif.globalPalette = palette(in, globalColors);
    const std::uint8_t flags = in.next();
    if (flags & 1)
        gif.loops = static_cast<std::uint16_t>(in.next() | in.next() << 8);
    const int frames = 1 + (flags >> 1) % 4;
    for (int f = 0; f < frames; ++f) {
        GifImageData image;
        image.left = in.next() % 16;
        image.top = in.next() % 16;
        image.width = 1 + in.next() % 80;
        image.height = 1 + in.next() % 80;
        const std::uint8_t options = in.next();
        if (globalColors == 0 || (options & 1))
            image.palette = palette(in, 1 + in.next());
        const auto colors = static_cast<unsigned>(image.palette.empty() ? globalColors
                                                                        : image.palette.size());
        // Runs as long as a byte says, so the code table both fills and
        // finds long strings.
        image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
        for (std::size_t i = 0; i < image.pixels.size();) {
            const auto value = static_cast<std::uint8_t>(in.next() % colors);
            const std::size_t run = (options & 2) ? 1 + in.next() % 32 : 1;
            for (std::size_t k = 0; k < run && i < image.pixels.size(); ++k)
                image.pixels[i++] = value;
        }
        image.delayMs = (options >> 2) % 8 * 10;
        image.disposal = static_cast<std::uint8_t>((options >> 5) & 3);
        if (options & 0x80)
            image.transparentIndex = static_cast<std::uint8_t>(in.next() % colors);
        gif.screenWidth = std::max(gif.screenWidth, image.left + image.width);
        gif.screenHeight = std::max(gif.screenHeight, image.top + image.height);
        gif.images.push_back(std::move(image));
    }

    GifAnimation anim;
    check(anim.LoadGifArray(EncodeGif(gif)) == frames);
    anim.BuildFrames();
    check(anim.Loops() == gif.loops.value_or(0));
    for (int n = 1; n <= frames; ++n) {
        const GifImageData &image = gif.images[static_cast<std::size_t>(n - 1)];
        const GifFrame &frame = anim.frame(n);
        check(frame.left == image.left && frame.top == image.top);
        check(frame.width == image.width && frame.height == image.height);
        check(frame.delay == image.delayMs);
        const std::uint8_t disposal
                = n == 1 && image.disposal == DisposeToPrevious ? DisposeNone : image.disposal;
        check(frame.disposal == disposal);
        check(frame.transparent == image.transparentIndex.has_value());
        const auto pixels = anim.framePixels(n);
        check(std::equal(pixels.begin(), pixels.end(), image.pixels.begin(), image.pixels.end()));
        const auto &colors = image.palette.empty() ? gif.globalPalette : image.palette;
        check(std::equal(colors.begin(), colors.end(), anim.colorTable(n).colors.begin()));
        check(anim.ComposeFrame(n).size()
              == static_cast<std::size_t>(gif.screenWidth)
                      * static_cast<std::size_t>(gif.screenHeight));
    }
    return 0;
}
