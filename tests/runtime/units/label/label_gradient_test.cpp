// The gradient arithmetic on its own: positions and ranges of the eight
// directions, segments, the last colour past the end, truncation of exact
// values, and colour slots left out.
#include <gtest/gtest.h>

#include "runtime/units/label/label_gradient.h"
#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

GradientColors Two(COLORREF first, COLORREF second) { return {{first, second, 0}, 2}; }
GradientColors Three(COLORREF first, COLORREF second, COLORREF third) { return {{first, second, third}, 3}; }

TEST(LabelGradientTest, DefaultColorSlotsAreLeftOut) {
    const uint32_t slots[3] = {DefaultColor, 0x123456, DefaultColor};
    const GradientColors one = CollectGradientColors(slots);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.colors[0], 0x123456u);
    const uint32_t kept[3] = {0x000001, DefaultColor, 0x000003};
    const GradientColors two = CollectGradientColors(kept);
    ASSERT_EQ(two.count, 2);
    EXPECT_EQ(two.colors[1], 0x000003u) << "in slot order";
}

TEST(LabelGradientTest, ExactValuesAreNotLostToRounding) {
    // Whole values that arithmetic with fractions in floating point misses by
    // one: 13 to 200 over 11 rows, row 3 is exactly 13 + 3 x 187 / 11 = 64 (double
    // precision gives 63); 200 to 13 over 17 rows, row 9 is exactly 101 (extended
    // precision gives 100).
    const GradientColors rising = Two(RGB(13, 13, 13), RGB(200, 200, 200));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 3, 1, 11, rising), RGB(64, 64, 64));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 6, 1, 11, rising), RGB(115, 115, 115));
    const GradientColors falling = Two(RGB(200, 200, 200), RGB(13, 13, 13));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 9, 1, 17, falling), RGB(101, 101, 101));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 10, 1, 17, falling), RGB(90, 90, 90));
    // Falling: the true value truncated, not the step rounded away from it.
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 1, 1, 5, Two(White, Black)), RGB(204, 204, 204));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 1, 1, 3, Two(White, Black)), RGB(170, 170, 170));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 1, 1, 50, Two(White, Black)), RGB(249, 249, 249));
}

TEST(LabelGradientTest, EachChannelRunsOnItsOwn) {
    const COLORREF pixel = GradientPixel(GradientMode::LeftToRight, 1, 0, 4, 1, Two(RGB(0, 100, 200), RGB(200, 100, 0)));
    EXPECT_EQ(pixel, RGB(50, 100, 150));
}

TEST(LabelGradientTest, StraightDirectionsStartAtTheirSide) {
    const GradientColors colors = Two(Black, White);
    // 10 wide, 4 high.
    EXPECT_EQ(GradientPixel(GradientMode::LeftToRight, 0, 3, 10, 4, colors), Black);
    EXPECT_EQ(GradientPixel(GradientMode::LeftToRight, 9, 0, 10, 4, colors), RGB(229, 229, 229));
    EXPECT_EQ(GradientPixel(GradientMode::RightToLeft, 9, 0, 10, 4, colors), Black);
    EXPECT_EQ(GradientPixel(GradientMode::RightToLeft, 0, 0, 10, 4, colors), RGB(229, 229, 229));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 5, 0, 10, 4, colors), Black);
    EXPECT_EQ(GradientPixel(GradientMode::BottomToTop, 5, 3, 10, 4, colors), Black);
    EXPECT_EQ(GradientPixel(GradientMode::BottomToTop, 5, 0, 10, 4, colors), RGB(191, 191, 191));
}

TEST(LabelGradientTest, DiagonalsSpreadOverTwiceTheShorterSideFromTheirCorner) {
    const GradientColors colors = Two(Black, White);
    // 10 x 4: the range is 8; the far parts of the long side get the last colour.
    struct Case {
        int32_t mode, x, y;
        COLORREF expected;
    };
    const Case cases[] = {
        {GradientMode::FromTopLeft, 0, 0, Black},
        {GradientMode::FromTopLeft, 2, 2, RGB(127, 127, 127)},
        {GradientMode::FromTopLeft, 9, 3, White},
        {GradientMode::FromTopRight, 9, 0, Black},
        {GradientMode::FromTopRight, 8, 1, RGB(63, 63, 63)},
        {GradientMode::FromTopRight, 0, 0, White},
        {GradientMode::FromBottomRight, 9, 3, Black},
        {GradientMode::FromBottomRight, 8, 3, RGB(31, 31, 31)},
        {GradientMode::FromBottomRight, 0, 0, White},
        {GradientMode::FromBottomLeft, 0, 3, Black},
        {GradientMode::FromBottomLeft, 0, 0, RGB(95, 95, 95)},
        {GradientMode::FromBottomLeft, 7, 3, RGB(223, 223, 223)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GradientPixel(c.mode, c.x, c.y, 10, 4, colors), c.expected)
            << "mode " << c.mode << " at " << c.x << "," << c.y;
}

TEST(LabelGradientTest, ThreeColoursMeetInTheMiddle) {
    const GradientColors colors = Three(RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255));
    // 9 rows: segments of 4; row 8 lies past the second segment.
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 4, 1, 9, colors), RGB(0, 255, 0));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 6, 1, 9, colors), RGB(0, 127, 127));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 8, 1, 9, colors), RGB(0, 0, 255));
}

TEST(LabelGradientTest, RangesTooShortForTheirColoursGiveTheFirstColour) {
    // One row with three colours: the segment length is 0.
    const GradientColors colors = Three(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 0, 5, 1, colors), RGB(1, 2, 3));
    EXPECT_EQ(GradientPixel(GradientMode::FromTopLeft, 0, 0, 1, 1, colors), RGB(1, 2, 3));
    // Fewer than two colours: no gradient to compute.
    EXPECT_EQ(GradientPixel(GradientMode::TopToBottom, 0, 3, 5, 5, GradientColors{{RGB(9, 9, 9), 0, 0}, 1}),
              RGB(9, 9, 9));
}

TEST(LabelGradientTest, DrawingKeepsToTheClippingAndBlocksJoinSeamlessly) {
    // 120 x 60 into a memory bitmap, clipped to a strip across the first two columns of blocks.
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 120, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, canvas);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 120 * 60; ++i) pixels[i] = 0xFF00FF;
    IntersectClipRect(dc, 40, 0, 90, 60);
    PaintGradient(dc, {0, 0, 120, 60}, GradientMode::LeftToRight, Two(Black, White));
    GdiFlush();
    auto at = [pixels](int x, int y) { return pixels[y * 120 + x]; };
    EXPECT_EQ(at(30, 10), 0xFF00FFu) << "clipped away";
    EXPECT_EQ(at(95, 10), 0xFF00FFu);
    // 255 x 49 / 120 = 104.1, 255 x 50 / 120 = 106.25, 255 x 75 / 120 = 159.4: one
    // gradient over the whole width, whichever block a pixel is computed in.
    EXPECT_EQ(at(49, 55), 0x686868u);
    EXPECT_EQ(at(50, 5), 0x6A6A6Au);
    EXPECT_EQ(at(75, 55), 0x9F9F9Fu);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

}  // namespace
}  // namespace quillet
