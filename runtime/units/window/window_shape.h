#pragma once
// The window's shape: 0 rectangular, 1 the ellipse filling the window, 2 a
// rounded rectangle, 3 a ring, 4 to 29 polygon outlines scaled to the window.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace quillet {

namespace WindowShape {
enum : int32_t { Rectangle, Ellipse, RoundedRectangle, Ring, FirstOutline, LastOutline = 29 };
}  // namespace WindowShape

// Outline coordinates run from 0 to this, scaled to the window's size.
constexpr int32_t OutlineScale = 32767;

// The corner size of the rounded rectangle: min(width / 5, height / 5).
int32_t RoundedCornerSize(int32_t width, int32_t height);

// The points of an outline shape in outline coordinates; empty for any other shape.
std::vector<POINT> ShapeOutline(int32_t shape);

// The region of a shape for a window of the size (window coordinates); null for
// the rectangular shape and for numbers that name no shape.
HRGN MakeShapeRegion(int32_t shape, int32_t width, int32_t height);

// Gives the window the region of its shape at its current size, or takes the
// region away for the rectangular shape.
void ApplyWindowShape(HWND window, int32_t shape);

}  // namespace quillet
