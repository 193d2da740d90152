#pragma once

#include <cstdint>

namespace tessaroc::gif {

// How the animated GIF control fits its picture into its area.
enum GifStretch : std::int32_t {
    StretchNone = 0, // scale 1; the control shrinks to the picture, never grows
    StretchFit = 1, // fit keeping the proportions
    StretchFill = 2, // fill the area
    StretchShrink = 3, // fit keeping the proportions, never enlarge
    StretchToGif = 4, // the control takes the picture's size
};

struct GifScale
{
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    // The size the control takes, in pixels.
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The scale factors and drawing size for a picture of screenWidth x
// screenHeight in an area of width x height pixels. Sizes that follow from a
// scale are rounded to the nearest pixel, a half to the even neighbour. A
// stretch mode outside 0 to 4, or an empty picture, gives scale 1 and the area
// unchanged.
GifScale ComputeScale(std::int32_t stretch, std::int32_t width, std::int32_t height,
                      std::int32_t screenWidth, std::int32_t screenHeight);

} // namespace tessaroc::gif
