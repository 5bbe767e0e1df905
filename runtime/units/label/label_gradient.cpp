#include "runtime/units/label/label_gradient.h"

#include <algorithm>

#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

// Where a pixel lies along the gradient, and the length the colours spread over.
struct Position {
    int32_t p;  // distance from the start side or corner
    int32_t L;  // range
};

Position PositionOf(int32_t mode, int32_t x, int32_t y, int32_t w, int32_t h) {
    const int32_t diagonal = 2 * std::min(w, h);
    const int32_t fromRight = w - 1 - x;
    const int32_t fromBottom = h - 1 - y;
    switch (mode) {
    case GradientMode::TopToBottom: return {y, h};
    case GradientMode::LeftToRight: return {x, w};
    case GradientMode::FromTopLeft: return {x + y, diagonal};
    case GradientMode::FromTopRight: return {fromRight + y, diagonal};
    case GradientMode::BottomToTop: return {fromBottom, h};
    case GradientMode::RightToLeft: return {fromRight, w};
    case GradientMode::FromBottomRight: return {fromRight + fromBottom, diagonal};
    case GradientMode::FromBottomLeft: return {x + fromBottom, diagonal};
    default: return {0, 0};
    }
}

// from + (offset / segment) x (to - from), truncated: the numerator lies
// between from x segment and to x segment, never below 0, so integer division
// truncates exactly as the real value would be.
int32_t Blend(int32_t from, int32_t to, int32_t offset, int32_t segment) {
    return (from * segment + offset * (to - from)) / segment;
}

}  // namespace

GradientColors CollectGradientColors(const uint32_t (&slots)[3]) {
    GradientColors collected{{0, 0, 0}, 0};
    for (uint32_t slot : slots)
        if (slot != DefaultColor) collected.colors[collected.count++] = slot & 0xFFFFFF;
    return collected;
}

COLORREF GradientPixel(int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height,
                       const GradientColors& colors) {
    const int32_t n = colors.count;
    if (n < 2) return n == 1 ? colors.colors[0] : 0;
    const Position at = PositionOf(mode, x, y, width, height);
    const int32_t segment = at.L / (n - 1);
    const int32_t k = segment == 0 ? 0 : at.p / segment;
    if (k > n - 2) return colors.colors[n - 1];
    if (segment == 0) return colors.colors[k];
    const int32_t offset = at.p % segment;
    const COLORREF from = colors.colors[k];
    const COLORREF to = colors.colors[k + 1];
    return RGB(Blend(GetRValue(from), GetRValue(to), offset, segment),
               Blend(GetGValue(from), GetGValue(to), offset, segment),
               Blend(GetBValue(from), GetBValue(to), offset, segment));
}

void PaintGradient(HDC dc, const RECT& area, int32_t mode, const GradientColors& colors) {
    const int32_t width = area.right - area.left;
    const int32_t height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    // One block of 32-bit pixels, top row first.
    uint32_t pixels[GradientBlockSide * GradientBlockSide];
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int32_t top = 0; top < height; top += GradientBlockSide) {
        const int32_t rows = std::min(GradientBlockSide, height - top);
        for (int32_t left = 0; left < width; left += GradientBlockSide) {
            const int32_t columns = std::min(GradientBlockSide, width - left);
            const RECT block = {area.left + left, area.top + top, area.left + left + columns,
                                area.top + top + rows};
            if (!RectVisible(dc, &block)) continue;
            for (int32_t row = 0; row < rows; ++row)
                for (int32_t column = 0; column < columns; ++column) {
                    const COLORREF color = GradientPixel(mode, left + column, top + row, width, height, colors);
                    // A DIB pixel is blue, green, red from the low byte up.
                    pixels[row * columns + column] =
                        (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
                }
            info.bmiHeader.biWidth = columns;
            info.bmiHeader.biHeight = -rows;
            SetDIBitsToDevice(dc, block.left, block.top, static_cast<DWORD>(columns), static_cast<DWORD>(rows), 0, 0,
                              0, static_cast<UINT>(rows), pixels, &info, DIB_RGB_COLORS);
        }
    }
}

}  // namespace quillet
