#pragma once

#include "support/LayoutScale.h"

namespace tessaroc::forms {

// Whole windows, and the few elements that lie on the table window outside
// its table area, are placed in twips: 1/1440 inch, 15 to a pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr double twipsToPixels(double twips)
{
    return twips / kTwipsPerPixel;
}

constexpr double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}

// The table's layout scale is a plain value the client core keeps too.
using LayoutScale = support::LayoutScale;

} // namespace tessaroc::forms
