#pragma once

#include "forms/Units.h"

#include <array>

namespace tessaroc::table {

// A rectangle of the window system in twips (15 to the pixel).
struct TwipsRect
{
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;

    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// The table window's size as designed: the 1024 x 768 table and nothing else.
inline constexpr double kDesignWindowWidth = 15360;
inline constexpr double kDesignWindowHeight = 11520;
// On a screen larger than the table, a dimension gets the skin frame: a
// caption band of 300 twips on top and edges of 120 on the other sides.
inline constexpr double kFramedWindowWidth = 15600;
inline constexpr double kFramedWindowHeight = 11940;
inline constexpr double kCaptionBand = 300;
inline constexpr double kFrameEdge = 120;

// How the start-up fits the table window to the screen. Each dimension is
// decided by itself: on a screen larger than the table in that dimension
// the window takes the table's size plus the frame, otherwise the screen's
// size, and the table area Pic1 reaches the window's edges. The layout scale
// is reduced when the screen is smaller than 1024 x 768 in either dimension.
struct WindowSizing
{
    TwipsRect window;
    TwipsRect Pic1;
    forms::LayoutScale scale;
    // The frame is painted after the height is set when the screen is taller
    // than 768 pixels, and after the width when it is wider than 1024.
    bool framedHeight = false;
    bool framedWidth = false;
    // The window's size at each painting of the skin frame, in the order the
    // start-up paints it: once for a screen taller than 768 pixels (at the
    // design width), once for a screen wider than 1024.
    std::array<TwipsRect, 2> framePaints{};
    int framePaintCount = 0;
};

// The sizing for a screen of the given size in twips, as the platform reports
// it. Sizes below zero count as zero.
WindowSizing SizeWindowToScreen(double screenWidthTwips, double screenHeightTwips);

} // namespace tessaroc::table
