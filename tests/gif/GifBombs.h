#pragma once

#include "gif/GifEncoder.h"
#include "gif/GifTypes.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// GIF files that push the bounds of GifTypes.h as far as they allow: small
// files that make a player hold or do a great deal. Every one is a valid
// file a player must take, so they measure what a load and a pass cost.
namespace tessaroc::gif::testing {

struct GifBomb
{
    std::string name;
    GifFileData file;
};

inline GifImageData bombImage(std::int32_t left, std::int32_t top, std::int32_t width,
                              std::int32_t height, std::uint8_t disposal = DisposeNone,
                              std::uint8_t index = 1)
{
    GifImageData image;
    image.left = left;
    image.top = top;
    image.width = width;
    image.height = height;
    image.disposal = disposal;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), index);
    return image;
}

inline GifFileData bombFile(std::int32_t width, std::int32_t height)
{
    GifFileData file;
    file.screenWidth = width;
    file.screenHeight = height;
    file.globalPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    return file;
}

// The largest screen, crossed corner to corner by the most frames of one
// pixel each: about 100 KB that once made every frame step copy the whole
// screen.
inline GifFileData tinyFramesOnTheLargestScreen(std::int32_t side = 4096,
                                                int frames = kMaxGifFrames)
{
    GifFileData file = bombFile(side, side);
    for (int k = 0; k < frames; ++k) {
        const std::int32_t at = static_cast<std::int32_t>(static_cast<std::int64_t>(k) * (side - 1)
                                                          / std::max(frames - 1, 1));
        file.images.push_back(
                bombImage(at, at, 1, 1, DisposeNone, static_cast<std::uint8_t>(1 + k % 3)));
    }
    return file;
}

// The bombs a player must survive within the bounds; `side` scales the
// screens down for runs that must stay short (the fuzz corpus).
inline std::vector<GifBomb> gifBombs(std::int32_t side = 4096)
{
    std::vector<GifBomb> bombs;
    bombs.push_back({"tiny frames on the largest screen", tinyFramesOnTheLargestScreen(side)});

    // As many frames as allowed, together holding as many pixels as allowed.
    {
        const std::int32_t edge = side / 32; // 128 x 128 x 4096 frames = 64 Mpx at full size
        GifFileData file = bombFile(edge, edge);
        for (int k = 0; k < kMaxGifFrames; ++k)
            file.images.push_back(
                    bombImage(0, 0, edge, edge, DisposeNone, static_cast<std::uint8_t>(k % 4)));
        bombs.push_back({"the most frames with the most pixels", std::move(file)});
    }

    // One frame of one colour over the whole screen: the longest LZW strings,
    // thousands of pixels a code.
    {
        GifFileData file = bombFile(side, side);
        file.images.push_back(bombImage(0, 0, side, side));
        bombs.push_back({"one frame of the deepest LZW", std::move(file)});
    }

    // A one-pixel screen that a single far frame stretches to the largest,
    // with every other frame drawn in one corner.
    {
        GifFileData file = bombFile(1, 1);
        file.images.push_back(bombImage(side - 1, side - 1, 1, 1));
        for (int k = 1; k < kMaxGifFrames; ++k)
            file.images.push_back(bombImage(k % 16, (k / 16) % 16, 1, 1, DisposeToBackground,
                                            static_cast<std::uint8_t>(k % 4)));
        bombs.push_back({"a far frame stretching a one-pixel screen", std::move(file)});
    }

    // A full first frame, then tiny frames that each put back what lay under
    // them, and a last one that clears the screen.
    {
        GifFileData file = bombFile(side, side);
        file.images.push_back(bombImage(0, 0, side, side, DisposeNone, 2));
        for (int k = 1; k < kMaxGifFrames - 1; ++k)
            file.images.push_back(bombImage(k % side, (k * 7) % side, 1, 1, DisposeToPrevious, 3));
        file.images.push_back(bombImage(0, 0, side, side, DisposeToBackground, 1));
        bombs.push_back({"restoring frames over a full screen", std::move(file)});
    }
    return bombs;
}

} // namespace tessaroc::gif::testing
