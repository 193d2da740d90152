#pragma once

#include "gif/GifLzwEncoder.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace tessaroc::gif::testing {

// `count` pixels of `colors` colours, the same for the same seed.
inline std::vector<std::uint8_t> randomPixels(std::size_t count, int colors, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, colors - 1);
    std::vector<std::uint8_t> pixels(count);
    for (auto &p : pixels)
        p = static_cast<std::uint8_t>(pick(random));
    return pixels;
}

// Writes GIF files block by block, so a test can make exactly the file it
// needs, broken ones included. Image data is compressed with LzwEncoder unless
// the test gives its own sub-blocks.
class GifBuilder
{
public:
    // Signature and logical screen descriptor; a global table of
    // `globalColors` entries (a power of 2, or 0 for none) with entry i =
    // colour(i).
    GifBuilder &header(std::string_view signature = "GIF89a", int width = 0, int height = 0,
                       int globalColors = 0, std::uint8_t background = 0)
    {
        for (char c : signature)
            bytes.push_back(static_cast<std::uint8_t>(c));
        word(width);
        word(height);
        std::uint8_t packed = 0;
        if (globalColors > 0)
            packed = static_cast<std::uint8_t>(0x80 | sizeCode(globalColors));
        bytes.insert(bytes.end(), {packed, background, 0});
        table(globalColors);
        return *this;
    }

    GifBuilder &graphicControl(int disposal, int delayCs,
                               std::optional<std::uint8_t> transparent = std::nullopt,
                               std::uint8_t blockSize = 4)
    {
        const auto flags = static_cast<std::uint8_t>((disposal << 2) | (transparent ? 1 : 0));
        bytes.insert(bytes.end(), {0x21, 0xF9, blockSize, flags});
        word(delayCs);
        bytes.push_back(transparent.value_or(0));
        bytes.push_back(0);
        return *this;
    }

    GifBuilder &loops(int count, std::string_view identifier = "NETSCAPE2.0")
    {
        bytes.insert(bytes.end(), {0x21, 0xFF, static_cast<std::uint8_t>(identifier.size())});
        for (char c : identifier)
            bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.insert(bytes.end(), {3, 1});
        word(count);
        bytes.push_back(0);
        return *this;
    }

    GifBuilder &comment(std::string_view text)
    {
        bytes.insert(bytes.end(), {0x21, 0xFE, static_cast<std::uint8_t>(text.size())});
        for (char c : text)
            bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
        return *this;
    }

    // Image descriptor, optional local table of `localColors` entries, then
    // the pixels compressed at `minCodeSize` (pixels are given in the order
    // they are stored: interlaced images take their rows in pass order).
    GifBuilder &image(int left, int top, int width, int height,
                      const std::vector<std::uint8_t> &pixels, int localColors = 0,
                      bool interlaced = false, int minCodeSize = 8)
    {
        descriptor(left, top, width, height, localColors, interlaced);
        bytes.push_back(static_cast<std::uint8_t>(minCodeSize));
        LzwEncoder().compress(pixels, minCodeSize, bytes);
        bytes.push_back(0);
        return *this;
    }

    GifBuilder &descriptor(int left, int top, int width, int height, int localColors = 0,
                           bool interlaced = false)
    {
        bytes.push_back(0x2C);
        word(left);
        word(top);
        word(width);
        word(height);
        std::uint8_t packed = interlaced ? 0x40 : 0;
        if (localColors > 0)
            packed = static_cast<std::uint8_t>(packed | 0x80 | sizeCode(localColors));
        bytes.push_back(packed);
        table(localColors);
        return *this;
    }

    GifBuilder &raw(std::initializer_list<std::uint8_t> data)
    {
        bytes.insert(bytes.end(), data);
        return *this;
    }

    GifBuilder &trailer()
    {
        bytes.push_back(0x3B);
        return *this;
    }

    // The colour the builder gives to entry i of every table it writes.
    static std::uint32_t colour(int i)
    {
        return static_cast<std::uint32_t>(((i * 37 + 11) & 0xFF) << 16 | ((i * 91 + 7) & 0xFF) << 8
                                          | ((i * 53 + 29) & 0xFF));
    }

    std::vector<std::uint8_t> bytes;

private:
    void word(int value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }

    static std::uint8_t sizeCode(int colors)
    {
        std::uint8_t code = 0;
        while ((2 << code) < colors)
            ++code;
        return code;
    }

    void table(int colors)
    {
        for (int i = 0; i < colors; ++i) {
            const std::uint32_t c = colour(i);
            bytes.insert(bytes.end(),
                         {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                          static_cast<std::uint8_t>(c)});
        }
    }
};

// Colour indexes 0, 1, 2, ... modulo `colors`, for width * height pixels.
inline std::vector<std::uint8_t> rampPixels(int width, int height, int colors, int start = 0)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width)
                                     * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>((static_cast<int>(i) + start) % colors);
    return pixels;
}

} // namespace tessaroc::gif::testing
