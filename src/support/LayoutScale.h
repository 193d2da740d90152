#pragma once

namespace tessaroc::support {

// The layout scale of the table: every position and size of the table area is
// a value for a 1024 x 768 window, times ScaleX for a Left or Width and times
// ScaleY for a Top or Height. The product is formed at extended precision and
// handed over as a 32-bit float; it is never rounded here, only when painted.
struct LayoutScale
{
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;

    static LayoutScale full() { return {1.0f, 1.0f}; }
    // Screens below 1024 x 768 shrink the table by 800 / 1024 = 600 / 768.
    static LayoutScale reduced() { return {800.0f / 1024.0f, 600.0f / 768.0f}; }

    // Every difference of the reduced layout is decided on ScaleX alone.
    bool isReduced() const { return ScaleX < 1.0f; }

    double x(double design) const { return scaled(design, ScaleX); }
    double y(double design) const { return scaled(design, ScaleY); }

private:
    static double scaled(double design, float scale)
    {
        return static_cast<double>(static_cast<float>(static_cast<long double>(design)
                                                      * static_cast<long double>(scale)));
    }
};

} // namespace tessaroc::support
