#include "table/WindowSizing.h"

#include <algorithm>
#include <cmath>

namespace tessaroc::table {

namespace {

// The screen's size in whole pixels, the remainder dropped.
double wholePixels(double twips)
{
    return std::floor(twips / forms::kTwipsPerPixel);
}

} // namespace

WindowSizing SizeWindowToScreen(double screenWidthTwips, double screenHeightTwips)
{
    const double w = std::max(0.0, screenWidthTwips);
    const double h = std::max(0.0, screenHeightTwips);
    WindowSizing s;
    s.window.Width = kDesignWindowWidth;
    s.window.Height = kDesignWindowHeight;

    if (wholePixels(h) > 768) {
        s.window.Height = kFramedWindowHeight;
        s.window.Top = 0;
        s.framedHeight = true;
        s.framePaints[static_cast<std::size_t>(s.framePaintCount++)] = s.window;
        s.Pic1.Height = s.window.Height - kCaptionBand - kFrameEdge;
        s.Pic1.Top = kCaptionBand;
    } else {
        s.window.Height = h;
        s.window.Top = 0;
        s.Pic1.Height = s.window.Height;
        s.Pic1.Top = 0;
    }

    if (wholePixels(w) > 1024) {
        s.window.Width = kFramedWindowWidth;
        s.window.Left = 0;
        s.framedWidth = true;
        s.framePaints[static_cast<std::size_t>(s.framePaintCount++)] = s.window;
        s.Pic1.Width = s.window.Width - 2 * kFrameEdge;
        s.Pic1.Left = kFrameEdge;
    } else {
        s.window.Width = w;
        s.window.Left = 0;
        s.Pic1.Width = s.window.Width;
        s.Pic1.Left = 0;
    }

    const bool full = h / forms::kTwipsPerPixel >= 768 && w / forms::kTwipsPerPixel >= 1024;
    s.scale = full ? forms::LayoutScale::full() : forms::LayoutScale::reduced();
    return s;
}

} // namespace tessaroc::table
