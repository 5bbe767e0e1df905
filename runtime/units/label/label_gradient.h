#pragma once
// The label's colour gradients (background modes 1 to 8, and the bands of its
// gradient frame): integer arithmetic over positions and ranges, drawn in
// blocks of at most 50 x 50 pixels.
#include <windows.h>

#include <cstdint>

namespace quillet {

namespace GradientMode {
enum : int32_t {
    None, TopToBottom, LeftToRight, FromTopLeft, FromTopRight, BottomToTop, RightToLeft, FromBottomRight,
    FromBottomLeft,
};
}  // namespace GradientMode

// The side of a drawing block.
constexpr int32_t GradientBlockSide = 50;

// The colours a gradient runs through, in slot order, DefaultColor slots left out.
struct GradientColors {
    COLORREF colors[3];  // the first `count` are used
    int32_t count;       // 0 to 3; a gradient needs at least 2
};
GradientColors CollectGradientColors(const uint32_t (&slots)[3]);

// The colour of pixel (x, y) of a width x height gradient in mode 1 to 8 with
// 2 or 3 colours.
COLORREF GradientPixel(int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height,
                       const GradientColors& colors);

// Fills the area, block by block from its top-left corner; blocks that the
// device context's clipping hides entirely are neither computed nor drawn.
void PaintGradient(HDC dc, const RECT& area, int32_t mode, const GradientColors& colors);

}  // namespace quillet
