#pragma once
// Positions and sizes in design pixels. A template places its units in pixels
// of a 96-DPI display; the program reads and writes Left, Top, Width and
// Height in the same units whatever the display's scale. The window's units
// stand on the display at design × DPI / 96, so a window looks the same,
// sharp, at 100 %, 150 % or 200 %; these two carry a value across, rounding to
// the nearest pixel, so that a design value taken to pixels and back is the
// same value at any scale of 100 % or more.
#include <cstdint>

namespace quillet {

constexpr int32_t DesignDpi = 96;

inline int32_t ScaledRounded(int32_t value, int32_t numerator, int32_t denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t half = denominator / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

inline int32_t DesignToPixels(int32_t design, int32_t dpi) { return ScaledRounded(design, dpi, DesignDpi); }
inline int32_t PixelsToDesign(int32_t pixels, int32_t dpi) { return ScaledRounded(pixels, DesignDpi, dpi); }

}  // namespace quillet
