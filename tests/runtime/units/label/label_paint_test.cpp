// The label's pixels: the gradient frame, background pictures in their three
// modes, gradients, the caption's placement and effects, and painting limited
// to the update area.
#include "runtime/events/property_access.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/runtime/units/label/label_fixture.h"

namespace labeltest {
namespace {

using namespace quillet;
using namespace unittest;

// Text drawn in a dark colour over a light background.
bool Dark(COLORREF color) { return GetRValue(color) < 96 && GetGValue(color) < 96 && GetBValue(color) < 96; }
COLORREF RedPicture(int32_t, int32_t) { return Red; }
COLORREF RedThenGreen(int32_t x, int32_t) { return x < 5 ? Red : Green; }

using LabelPaintTest = LabelTest;

TEST_F(LabelPaintTest, AFrameWithOneColourIsNotPaintedAndTheCaptionUsesTheWholeArea) {
    LabelFields fields;
    fields.borderStyle = 6;
    fields.borderColors[0] = Red;
    fields.borderColors[1] = DefaultColor;
    fields.borderColors[2] = DefaultColor;
    fields.backColor = White;
    fields.vAlign = 0;
    fields.caption = "WWWW";
    HWND label = LoadLabel(fields, 100, 40);
    Pixels pixels = Render(label);
    EXPECT_EQ(pixels.At(0, 39), White);
    EXPECT_EQ(pixels.At(99, 0), White);
    EXPECT_FALSE(pixels.Any({0, 0, 100, 40}, [](COLORREF c) { return c == Red; }));
    EXPECT_TRUE(pixels.Any({0, 0, 8, 8}, Dark)) << "the caption starts in the corner";

    // A second colour makes the frame, and the caption moves inside it.
    Write(LabelId, Index::BorderColor3, Blue);
    pixels = Render(label);
    EXPECT_EQ(pixels.At(0, 0), Red);
    EXPECT_FALSE(pixels.Any({0, 0, 100, 8}, Dark));
    EXPECT_FALSE(pixels.Any({0, 0, 8, 40}, Dark));
    EXPECT_TRUE(pixels.Any({8, 8, 92, 32}, Dark));
}

TEST_F(LabelPaintTest, TheGradientFrameRunsItsColoursFromTheOuterEdgeOfTopAndLeft) {
    LabelFields fields;
    fields.borderStyle = 6;
    fields.borderWidth = 8;
    fields.borderColors[0] = Red;
    fields.borderColors[1] = Green;
    fields.borderColors[2] = Blue;
    fields.backColor = White;
    Pixels pixels = Render(LoadLabel(fields, 100, 60));
    // Over 8 pixels with 3 colours: segments of 4; row 7 is 3/4 from green to blue.
    const COLORREF outerEnd = RGB(0, 63, 191);
    ExpectColors(pixels, {{50, 0, Red, "top band, outer edge"}, {50, 4, Green}, {50, 7, outerEnd},
                          {50, 52, Red, "bottom band, inner edge"}, {50, 59, outerEnd},
                          {0, 30, Red, "left band, outer edge"}, {7, 30, outerEnd},
                          {92, 30, Red, "right band, inner edge"}, {99, 30, outerEnd},
                          // The bottom-left corner is split along its diagonal.
                          {2, 55, RGB(127, 127, 0), "above the diagonal: the left band"},
                          {5, 58, RGB(0, 127, 127), "below it: the bottom band"},
                          // Inside the frame the background starts at the frame width.
                          {8, 8, White}, {91, 51, White}});
    EXPECT_FALSE(pixels.Any({0, 0, 100, 60}, [](COLORREF c) { return c == RGB(255, 0, 255); }))
        << "every pixel painted";
}

TEST_F(LabelPaintTest, AFrameOfWidthZeroIsNotPainted) {
    LabelFields fields;
    fields.borderStyle = 6;
    fields.borderWidth = 0;  // as stored: only writes raise it to 5
    fields.borderColors[0] = Red;
    fields.borderColors[1] = Green;
    fields.backColor = White;
    Pixels pixels = Render(LoadLabel(fields, 40, 40));
    EXPECT_EQ(pixels.At(0, 0), White);
}

TEST_F(LabelPaintTest, GradientBlackWhiteBlackRunsUpAndDownOver100Rows) {
    LabelFields fields;
    fields.gradientMode = 1;
    fields.gradientColors[0] = Black;
    fields.gradientColors[1] = White;
    fields.gradientColors[2] = Black;
    fields.backColor = Red;
    Pixels pixels = Render(LoadLabel(fields, 60, 100));
    ExpectColors(pixels, {{30, 0, Black}, {30, 49, RGB(249, 249, 249)}, {30, 50, White}, {30, 99, RGB(5, 5, 5)}});
    for (int32_t y = 0; y < 100; ++y) {
        // 255 x (y mod 50) / 50 up the first half, down the second, truncated.
        const int32_t m = y % 50;
        const int32_t level = y < 50 ? 255 * m / 50 : (255 * 50 - 255 * m) / 50;
        for (int32_t x : {0, 29, 59}) ASSERT_EQ(pixels.At(x, y), RGB(level, level, level)) << x << "," << y;
    }
}

TEST_F(LabelPaintTest, AGradientNeedsTwoColoursOrTheBackColorShows) {
    LabelFields fields;
    fields.gradientMode = 2;
    fields.gradientColors[0] = DefaultColor;
    fields.gradientColors[1] = Green;
    fields.gradientColors[2] = DefaultColor;
    fields.backColor = Blue;
    HWND label = LoadLabel(fields, 60, 30);
    EXPECT_EQ(Render(label).At(59, 29), Blue);
    Write(LabelId, Index::GradientColor1, Red);
    Pixels pixels = Render(label);
    EXPECT_EQ(pixels.At(0, 0), Red) << "left to right";
    EXPECT_EQ(pixels.At(59, 29), RGB(4, 250, 0));
}

TEST_F(LabelPaintTest, APictureTooWideIsFittedAndCentredWithTheBackColorAboveAndBelow) {
    LabelFields fields;
    fields.pictureMode = 2;
    fields.picture = BitmapFile(200, 100, &RedPicture);
    fields.backColor = Blue;
    fields.gradientMode = 1;  // a picture comes before a gradient
    fields.gradientColors[0] = Black;
    fields.gradientColors[1] = White;
    Pixels pixels = Render(LoadLabel(fields, 100, 100));
    ExpectColors(pixels, {{50, 0, Blue}, {50, 24, Blue}, {0, 25, Red, "100 x 50 from row 25"}, {99, 74, Red},
                          {50, 75, Blue}, {50, 99, Blue}});
}

TEST_F(LabelPaintTest, APictureAtNaturalSizeSitsInTheCornerAndTilesRepeatIt) {
    LabelFields fields;
    fields.pictureMode = 0;
    fields.picture = BitmapFile(30, 20, &RedPicture);
    fields.backColor = Blue;
    HWND label = LoadLabel(fields, 100, 60);
    Pixels pixels = Render(label);
    ExpectColors(pixels, {{0, 0, Red}, {29, 19, Red}, {30, 19, Blue}, {29, 20, Blue}});

    const std::string tile = BitmapFile(10, 10, &RedThenGreen);
    void* byteSet = NewByteSet(tile.data(), static_cast<int32_t>(tile.size()));
    Write(LabelId, Index::BackPicture, Word(byteSet));
    FreeBlock(byteSet);
    Write(LabelId, Index::PictureMode, 1);
    pixels = Render(label);
    ExpectColors(pixels, {{12, 3, Red, "the second tile"}, {17, 3, Green}, {92, 55, Red}, {99, 59, Green}});
}

TEST_F(LabelPaintTest, AnUndecodablePictureIsDroppedAndTheGradientShows) {
    LabelFields fields;
    fields.picture = "BM but nothing more";
    fields.gradientMode = 2;
    fields.gradientColors[0] = Red;
    fields.gradientColors[1] = Red;
    fields.backColor = Blue;
    HWND label = LoadLabel(fields, 40, 20);
    Pixels pixels = Render(label);
    EXPECT_EQ(pixels.At(20, 10), Red);
    EXPECT_EQ(Read(LabelId, Index::BackPicture), 0u) << "its bytes are cleared";
}

TEST_F(LabelPaintTest, WrappedCaptionsStartAtTheTopWhateverTheVerticalAlignment) {
    LabelFields fields;
    fields.backColor = White;
    fields.caption = "WW";
    fields.vAlign = 2;
    HWND label = LoadLabel(fields, 100, 80);
    Pixels pixels = Render(label);
    EXPECT_TRUE(pixels.Any({0, 40, 100, 80}, Dark));
    EXPECT_FALSE(pixels.Any({0, 0, 100, 40}, Dark)) << "single line at the bottom";

    Write(LabelId, Index::WordWrap, 1);
    pixels = Render(label);
    EXPECT_TRUE(pixels.Any({0, 0, 100, 40}, Dark));
    EXPECT_FALSE(pixels.Any({0, 40, 100, 80}, Dark)) << "wrapped: from the top";

    Write(LabelId, Index::HAlign, 2);
    pixels = Render(label);
    EXPECT_TRUE(pixels.Any({50, 0, 100, 40}, Dark));
    EXPECT_FALSE(pixels.Any({0, 0, 50, 80}, Dark)) << "right aligned";
}

TEST_F(LabelPaintTest, EffectsDrawTheirCopyFirst) {
    LabelFields fields;
    fields.backColor = RGB(128, 128, 128);
    fields.textColor = Blue;
    fields.caption = "HHHH";
    HWND label = LoadLabel(fields, 100, 30);
    // Captions are smoothed: a white or black copy shows as nearly white or
    // black pixels, which blue over grey never makes.
    auto nearlyWhite = [](COLORREF c) { return GetRValue(c) >= 0xE0 && GetGValue(c) >= 0xE0 && GetBValue(c) >= 0xE0; };
    auto nearlyBlack = [](COLORREF c) { return GetRValue(c) <= 0x20 && GetGValue(c) <= 0x20 && GetBValue(c) <= 0x20; };
    Pixels pixels = Render(label);
    EXPECT_FALSE(pixels.Any({0, 0, 100, 30}, nearlyWhite));
    EXPECT_FALSE(pixels.Any({0, 0, 100, 30}, nearlyBlack));
    Write(LabelId, Index::Effect, 1);
    EXPECT_TRUE(Render(label).Any({0, 0, 100, 30}, nearlyWhite)) << "engraved";
    Write(LabelId, Index::Effect, 2);
    EXPECT_TRUE(Render(label).Any({0, 0, 100, 30}, nearlyWhite)) << "embossed";
    Write(LabelId, Index::Effect, 3);
    pixels = Render(label);
    EXPECT_TRUE(pixels.Any({0, 0, 100, 30}, nearlyBlack)) << "shadow";
    EXPECT_FALSE(pixels.Any({0, 0, 100, 30}, nearlyWhite));
}

TEST_F(LabelPaintTest, OnlyTheUpdateAreaIsPainted) {
    LabelFields fields;
    fields.backColor = Blue;
    HWND label = LoadLabel(fields, 100, 60);
    UpdateWindow(label);
    ASSERT_EQ(ReadWindow(label).At(50, 30), Blue) << "painted on the screen";

    // Cover the label, then let it paint a corner of itself.
    HDC dc = GetDC(label);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT whole = {0, 0, 100, 60};
    FillRect(dc, &whole, magenta);
    ReleaseDC(label, dc);
    SendMessageA(label, WM_PAINT, 0, 0);
    EXPECT_EQ(ReadWindow(label).At(5, 5), RGB(255, 0, 255)) << "no update area: nothing drawn";

    const RECT corner = {0, 0, 10, 10};
    InvalidateRect(label, &corner, FALSE);
    UpdateWindow(label);
    Pixels pixels = ReadWindow(label);
    EXPECT_EQ(pixels.At(5, 5), Blue);
    EXPECT_EQ(pixels.At(50, 30), RGB(255, 0, 255));
    DeleteObject(magenta);
}

}  // namespace
}  // namespace labeltest
