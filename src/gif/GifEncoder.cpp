#include "gif/GifEncoder.h"

#include "gif/GifLzwEncoder.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace tessaroc::gif {

namespace {

constexpr std::uint8_t kFrameMinCodeSize = 8;

void putByte(std::vector<std::uint8_t> &out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
}

void putBytes(std::vector<std::uint8_t> &out, std::initializer_list<std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes)
        out.push_back(b);
}

void putWord(std::vector<std::uint8_t> &out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putColors(std::vector<std::uint8_t> &out, std::span<const std::uint32_t> colors,
               std::size_t entries)
{
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t rgb = i < colors.size() ? colors[i] : 0;
        putByte(out, (rgb >> 16) & 0xFF);
        putByte(out, (rgb >> 8) & 0xFF);
        putByte(out, rgb & 0xFF);
    }
}

void putGraphicControl(std::vector<std::uint8_t> &out, unsigned disposal, unsigned delayCs,
                       std::optional<std::uint8_t> transparentIndex)
{
    const unsigned flags = (disposal << 2) | (transparentIndex ? 1u : 0u);
    putBytes(out, {kExtensionIntroducer, kGraphicControlLabel, kGraphicControlSize});
    putByte(out, flags);
    putWord(out, delayCs);
    putByte(out, transparentIndex.value_or(0));
    putByte(out, 0);
}

// The size code of a colour table: 2 to the power (code) entries hold `count`.
int tableSizeCode(std::size_t count)
{
    int code = 1;
    while ((std::size_t{1} << code) < count)
        ++code;
    return code;
}

[[noreturn]] void refuse(std::size_t image, const std::string &why)
{
    throw std::invalid_argument("GIF image " + std::to_string(image) + ": " + why);
}

void checkImage(const GifFileData &gif, std::size_t index)
{
    const GifImageData &image = gif.images[index];
    const auto in16Bits = [](std::int32_t v) {
        return v >= 0 && v <= 0xFFFF;
    };
    if (!in16Bits(image.left) || !in16Bits(image.top) || !in16Bits(image.width)
        || !in16Bits(image.height))
        refuse(index, "position or size outside 0..65535");
    if (image.pixels.size()
        != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        refuse(index, "pixel count does not match width x height");
    const auto &palette = image.palette.empty() ? gif.globalPalette : image.palette;
    if (palette.empty() || palette.size() > 256)
        refuse(index, "needs a colour table of 1 to 256 entries");
    if (std::any_of(image.pixels.begin(), image.pixels.end(),
                    [&](std::uint8_t p) { return p >= palette.size(); }))
        refuse(index, "colour index outside its table");
    if (image.transparentIndex && *image.transparentIndex >= palette.size())
        refuse(index, "transparent index outside its table");
    if (image.disposal > DisposeToPrevious)
        refuse(index, "disposal past 3");
    if (image.delayMs < 0 || image.delayMs > 655350)
        refuse(index, "delay outside 0..655350 ms");
}

} // namespace

std::vector<std::uint8_t> EncodeFrameGif(std::span<const std::uint8_t> pixels, std::int32_t width,
                                         std::int32_t height, const ColorTable &table,
                                         std::optional<std::uint8_t> transparentIndex)
{
    std::vector<std::uint8_t> out;
    out.reserve(pixels.size() + 801);
    putBytes(out, {'G', 'I', 'F', '8', '9', 'a'});
    putWord(out, static_cast<unsigned>(width));
    putWord(out, static_cast<unsigned>(height));
    putBytes(out, {0x87, 0x00, 0x00});
    putColors(out, std::span(table.colors).first(table.count), 256);
    if (transparentIndex)
        putGraphicControl(out, DisposeNone, 0, transparentIndex);
    out.push_back(kImageSeparator);
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, static_cast<unsigned>(width));
    putWord(out, static_cast<unsigned>(height));
    out.push_back(0x00);
    out.push_back(kFrameMinCodeSize);
    LzwEncoder().compress(pixels, kFrameMinCodeSize, out);
    out.push_back(0x00);
    out.push_back(kTrailer);
    return out;
}

std::vector<std::uint8_t> EncodeGif(const GifFileData &gif)
{
    if (gif.images.empty())
        throw std::invalid_argument("a GIF needs at least one image");
    if (gif.screenWidth < 0 || gif.screenWidth > 0xFFFF || gif.screenHeight < 0
        || gif.screenHeight > 0xFFFF)
        throw std::invalid_argument("GIF screen size outside 0..65535");
    if (gif.globalPalette.size() > 256)
        throw std::invalid_argument("GIF global colour table past 256 entries");
    for (std::size_t i = 0; i < gif.images.size(); ++i)
        checkImage(gif, i);

    std::vector<std::uint8_t> out;
    putBytes(out, {'G', 'I', 'F', '8', '9', 'a'});
    putWord(out, static_cast<unsigned>(gif.screenWidth));
    putWord(out, static_cast<unsigned>(gif.screenHeight));
    if (gif.globalPalette.empty()) {
        putBytes(out, {0x00, 0x00, 0x00});
    } else {
        const auto code = static_cast<unsigned>(tableSizeCode(gif.globalPalette.size()));
        putByte(out, 0x80 | ((code - 1) << 4) | (code - 1));
        putBytes(out, {0x00, 0x00});
        putColors(out, gif.globalPalette, std::size_t{1} << code);
    }
    if (gif.loops) {
        out.insert(out.end(),
                   {kExtensionIntroducer, kApplicationLabel, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A',
                    'P', 'E', '2', '.', '0', 0x03, 0x01});
        putWord(out, *gif.loops);
        putByte(out, 0);
    }

    LzwEncoder lzw;
    for (const GifImageData &image : gif.images) {
        const auto delayCs = static_cast<unsigned>((image.delayMs + 5) / 10);
        if (delayCs != 0 || image.disposal != DisposeNone || image.transparentIndex)
            putGraphicControl(out, image.disposal, delayCs, image.transparentIndex);
        out.push_back(kImageSeparator);
        putWord(out, static_cast<unsigned>(image.left));
        putWord(out, static_cast<unsigned>(image.top));
        putWord(out, static_cast<unsigned>(image.width));
        putWord(out, static_cast<unsigned>(image.height));
        const bool local = !image.palette.empty();
        const auto &palette = local ? image.palette : gif.globalPalette;
        const int sizeCode = tableSizeCode(palette.size());
        if (local) {
            putByte(out, 0x80 | static_cast<unsigned>(sizeCode - 1));
            putColors(out, image.palette, std::size_t{1} << sizeCode);
        } else {
            putByte(out, 0x00);
        }
        const int minCodeSize = std::max(2, sizeCode);
        putByte(out, static_cast<unsigned>(minCodeSize));
        lzw.compress(image.pixels, minCodeSize, out);
        out.push_back(0x00);
    }
    out.push_back(kTrailer);
    return out;
}

} // namespace tessaroc::gif
