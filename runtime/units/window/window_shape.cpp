#include "runtime/units/window/window_shape.h"

namespace quillet {
namespace {

constexpr uint16_t End = 0xFFFF;

// The outlines of shapes 4 to 29, one after another: x, y pairs in outline
// coordinates, each list ended by End.
constexpr uint16_t Outlines[] = {
    // 4 triangle, point up (4)
    16383, 0, 32767, 32767, 0, 32767, 16383, 0, End,
    // 5 triangle, point down (3)
    0, 0, 32767, 0, 16383, 32767, End,
    // 6 triangle, point left (3)
    32767, 0, 32767, 32767, 0, 16383, End,
    // 7 triangle, point right (3)
    0, 0, 32767, 16383, 0, 32767, End,
    // 8 diamond (4)
    16383, 0, 32767, 16383, 16383, 32767, 0, 16383, End,
    // 9 pentagon (5)
    16384, 0, 32767, 12516, 26509, 32767, 6258, 32767, 0, 12516, End,
    // 10 hexagon (6)
    8191, 0, 24575, 0, 32767, 16383, 24575, 32767, 8191, 32767, 0, 16383, End,
    // 11 parallelogram (4)
    8191, 0, 32767, 0, 24575, 32767, 0, 32767, End,
    // 12 trapezoid (4)
    8191, 0, 24575, 0, 32767, 32767, 0, 32767, End,
    // 13 five-pointed star (10)
    16384, 0, 20251, 12515, 32767, 12516, 22642, 20251, 26509, 32767, 16384, 25032, 6258, 32767, 10125, 20251,
    0, 12516, 12516, 12515, End,
    // 14 octagon (8)
    9597, 0, 23170, 0, 32767, 9597, 32767, 23170, 23170, 32767, 9597, 32767, 0, 23170, 0, 9597, End,
    // 15 speech balloon (11)
    4095, 0, 28671, 0, 32767, 4095, 32767, 20479, 28671, 24575, 14335, 24575, 6143, 32767, 8191, 24575, 4095,
    24575, 0, 20479, 0, 4095, End,
    // 16 twelve-pointed burst (24)
    16384, 0, 19564, 4515, 24575, 2195, 25072, 7695, 30572, 8192, 28252, 13203, 32767, 16384, 28252, 19564,
    30572, 24575, 25072, 25072, 24575, 30572, 19564, 28252, 16384, 32767, 13203, 28252, 8192, 30572, 7695,
    25072, 2195, 24575, 4515, 19564, 0, 16384, 4515, 13203, 2195, 8192, 7695, 7695, 8192, 2195, 13203, 4515, End,
    // 17 fourteen-pointed seal (28)
    16384, 0, 19562, 2807, 23675, 1622, 25289, 5496, 29522, 6169, 29253, 10341, 32767, 12738, 30668, 16384,
    32767, 20029, 29253, 22426, 29522, 26598, 25289, 27271, 23675, 31145, 19562, 29960, 16384, 32767, 13205,
    29960, 9092, 31145, 7478, 27271, 3245, 26598, 3514, 22426, 0, 20029, 2099, 16384, 0, 12738, 3514, 10341,
    3245, 6169, 7478, 5496, 9092, 1622, 13205, 2807, End,
    // 18 chevron (6)
    0, 0, 24575, 0, 32767, 16383, 24575, 32767, 0, 32767, 8191, 16383, End,
    // 19 house (5)
    16383, 0, 32767, 12287, 32767, 32767, 0, 32767, 0, 12287, End,
    // 20 arrow right (7)
    0, 8191, 19660, 8191, 19660, 0, 32767, 16383, 19660, 32767, 19660, 24575, 0, 24575, End,
    // 21 arrow left (7)
    32767, 8191, 13107, 8191, 13107, 0, 0, 16383, 13107, 32767, 13107, 24575, 32767, 24575, End,
    // 22 arrow up (7)
    8191, 32767, 8191, 13107, 0, 13107, 16383, 0, 32767, 13107, 24575, 13107, 24575, 32767, End,
    // 23 arrow down (7)
    8191, 0, 8191, 19660, 0, 19660, 16383, 32767, 32767, 19660, 24575, 19660, 24575, 0, End,
    // 24 double arrow, left and right (10)
    0, 16383, 9830, 0, 9830, 8191, 22937, 8191, 22937, 0, 32767, 16383, 22937, 32767, 22937, 24575, 9830,
    24575, 9830, 32767, End,
    // 25 double arrow, up and down (10)
    16383, 0, 0, 9830, 8191, 9830, 8191, 22937, 0, 22937, 16383, 32767, 32767, 22937, 24575, 22937, 24575,
    9830, 32767, 9830, End,
    // 26 four-way arrow (24)
    19660, 13107, 19660, 9830, 24575, 9830, 16384, 0, 8192, 9830, 13107, 9830, 13107, 13107, 9830, 13107, 9830,
    8192, 0, 16384, 9830, 24575, 9830, 19660, 13107, 19660, 13107, 22937, 8192, 22937, 16384, 32767, 24575,
    22937, 19660, 22937, 19660, 19660, 22937, 19660, 22937, 24575, 32767, 16384, 22937, 8192, 22937, 13107, End,
    // 27 eight-pointed star (17)
    16384, 0, 19518, 8815, 27968, 4799, 23952, 13249, 32767, 16384, 23952, 19518, 27968, 27968, 19518, 23952,
    16384, 32767, 13249, 23952, 4799, 27968, 8815, 19518, 0, 16384, 8815, 13249, 4799, 4799, 13249, 8815,
    16384, 0, End,
    // 28 folder tab (8)
    0, 8191, 8191, 8191, 12287, 0, 20479, 0, 24575, 8191, 32767, 8191, 32767, 32767, 0, 32767, End,
    // 29 tag (5)
    0, 0, 24575, 0, 32767, 16383, 24575, 32767, 0, 32767, End,
};

// The first word of an outline's list, or null.
const uint16_t* OutlineStart(int32_t shape) {
    if (shape < WindowShape::FirstOutline || shape > WindowShape::LastOutline) return nullptr;
    const uint16_t* word = Outlines;
    for (int32_t skip = shape - WindowShape::FirstOutline; skip > 0; --skip) {
        while (*word != End) ++word;
        ++word;
    }
    return word;
}

HRGN OutlineRegion(int32_t shape, int32_t width, int32_t height) {
    std::vector<POINT> points = ShapeOutline(shape);
    for (POINT& point : points)
        point = {MulDiv(point.x, width, OutlineScale), MulDiv(point.y, height, OutlineScale)};
    if (points.size() < 3) return nullptr;
    return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
}

HRGN RingRegion(int32_t width, int32_t height) {
    HRGN ring = CreateEllipticRgn(0, 0, width, height);
    HRGN hole = CreateEllipticRgn(width / 4, height / 4, width - width / 4, height - height / 4);
    if (ring != nullptr && hole != nullptr) CombineRgn(ring, ring, hole, RGN_DIFF);
    if (hole != nullptr) DeleteObject(hole);
    return ring;
}

}  // namespace

int32_t RoundedCornerSize(int32_t width, int32_t height) {
    const int32_t byWidth = width / 5, byHeight = height / 5;
    return byWidth < byHeight ? byWidth : byHeight;
}

std::vector<POINT> ShapeOutline(int32_t shape) {
    std::vector<POINT> points;
    const uint16_t* word = OutlineStart(shape);
    if (word == nullptr) return points;
    for (; word[0] != End && word[1] != End; word += 2) points.push_back({word[0], word[1]});
    return points;
}

HRGN MakeShapeRegion(int32_t shape, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    switch (shape) {
    case WindowShape::Ellipse: return CreateEllipticRgn(0, 0, width, height);
    case WindowShape::RoundedRectangle: {
        const int32_t corner = RoundedCornerSize(width, height);
        return CreateRoundRectRgn(0, 0, width, height, corner, corner);
    }
    case WindowShape::Ring: return RingRegion(width, height);
    default: return OutlineRegion(shape, width, height);
    }
}

void ApplyWindowShape(HWND window, int32_t shape) {
    RECT area;
    if (!GetWindowRect(window, &area)) return;
    HRGN region = MakeShapeRegion(shape, area.right - area.left, area.bottom - area.top);
    if (region == nullptr) {
        // Only a window that has a region loses it: no needless repaint.
        HRGN current = CreateRectRgn(0, 0, 0, 0);
        if (current != nullptr && GetWindowRgn(window, current) != ERROR) SetWindowRgn(window, nullptr, TRUE);
        if (current != nullptr) DeleteObject(current);
        return;
    }
    // The system owns the region from here on.
    if (!SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

}  // namespace quillet
