#include "gif/GifScale.h"

#include <algorithm>
#include <cmath>

namespace tessaroc::gif {

namespace {

// Rounds to the nearest integer, an exact half to the even neighbour.
std::int32_t roundHalfEven(double value)
{
    const double rounded = std::nearbyint(value);
    return static_cast<std::int32_t>(std::clamp(rounded, 0.0, 2147483647.0));
}

} // namespace

GifScale ComputeScale(std::int32_t stretch, std::int32_t width, std::int32_t height,
                      std::int32_t screenWidth, std::int32_t screenHeight)
{
    if (screenWidth <= 0 || screenHeight <= 0)
        return {1.0f, 1.0f, width, height};
    const auto sx = static_cast<float>(static_cast<double>(width) / screenWidth);
    const auto sy = static_cast<float>(static_cast<double>(height) / screenHeight);
    const auto scaled = [&](float scaleX, float scaleY) {
        return GifScale{scaleX, scaleY, roundHalfEven(double{scaleX} * screenWidth),
                        roundHalfEven(double{scaleY} * screenHeight)};
    };
    switch (stretch) {
    case StretchNone:
        return {1.0f, 1.0f, std::min(width, screenWidth), std::min(height, screenHeight)};
    case StretchFit: {
        const float scale = std::min(sx, sy);
        return scaled(scale, scale);
    }
    case StretchFill:
        return {sx, sy, width, height};
    case StretchShrink: {
        const float scale = sx > 1.0f && sy > 1.0f ? 1.0f : std::min(sx, sy);
        return scaled(scale, scale);
    }
    case StretchToGif:
        return {1.0f, 1.0f, screenWidth, screenHeight};
    default:
        return {1.0f, 1.0f, width, height};
    }
}

} // namespace tessaroc::gif
