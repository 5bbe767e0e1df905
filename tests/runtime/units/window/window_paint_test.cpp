// Pictures, sounds, the window's background and its shapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/units/picture.h"
#include "runtime/units/sound_player.h"
#include "runtime/units/window/window_shape.h"
#include "tests/runtime/units/window/window_test_program.h"
#include "tests/support/canvas.h"

namespace windowtest {
namespace {

using namespace quillet;

constexpr int32_t BackColorProperty = 10, BackPictureProperty = 11, PictureModeProperty = 12, ShapeProperty = 28;

using testunits::Canvas;

COLORREF Pattern(int32_t x, int32_t y) { return RGB(40 + x * 60, 30 + y * 70, 200 - x * 10); }
constexpr int PatternWidth = 4, PatternHeight = 3;

std::string PatternBitmap() { return BitmapFile(PatternWidth, PatternHeight, Pattern); }

std::unique_ptr<Picture> Decode(const std::string& bytes) {
    return DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

using PictureTest = WindowTest;

TEST_F(PictureTest, ABitmapFileDecodesToItsSizeAndDrawsItsPixels) {
    const auto picture = Decode(PatternBitmap());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size().cx, PatternWidth);
    EXPECT_EQ(picture->Size().cy, PatternHeight);
    EXPECT_FALSE(picture->IsIcon());

    Canvas natural(PatternWidth, PatternHeight);
    picture->Draw(natural.Dc(), 0, 0, PatternWidth, PatternHeight);
    for (int y = 0; y < PatternHeight; ++y)
        for (int x = 0; x < PatternWidth; ++x) EXPECT_EQ(natural.At(x, y), Pattern(x, y)) << x << "," << y;

    // Twice the size, placed at (3, 2): every pixel doubled, nothing flipped.
    Canvas doubled(20, 20);
    picture->Draw(doubled.Dc(), 3, 2, 2 * PatternWidth, 2 * PatternHeight);
    for (int y = 0; y < 2 * PatternHeight; ++y)
        for (int x = 0; x < 2 * PatternWidth; ++x)
            EXPECT_EQ(doubled.At(3 + x, 2 + y), Pattern(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(doubled.At(2, 2), RGB(255, 255, 255));
}

TEST_F(PictureTest, BitmapsAndIconsAreRenderedAtTheAskedSize) {
    const auto picture = Decode(PatternBitmap());
    ASSERT_NE(picture, nullptr);
    HBITMAP bitmap = picture->ToBitmap(RGB(1, 2, 3), 8, 6);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmHeight, 6);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 7, 5), Pattern(3, 2));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);

    HICON icon = picture->ToIcon(RGB(1, 2, 3), 16, 16);
    ASSERT_NE(icon, nullptr);
    ICONINFO iconInfo{};
    ASSERT_TRUE(GetIconInfo(icon, &iconInfo));
    GetObjectA(iconInfo.hbmColor, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 16);
    DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    DestroyIcon(icon);
}

TEST_F(PictureTest, BytesThatHoldNoPictureGiveNone) {
    EXPECT_EQ(DecodePicture(nullptr, 10), nullptr);
    EXPECT_EQ(Decode(""), nullptr);
    EXPECT_EQ(Decode("this is no picture at all, only text"), nullptr);
    const std::string bitmap = PatternBitmap();
    EXPECT_EQ(Decode(bitmap.substr(0, 20)), nullptr);  // the header cut short
}

TEST(SoundPlayerTest, KnowsWaveAndMidiByTheirHeadersAndPlaysNothingElse) {
    const std::string wave = "RIFF" + Words({36}) + "WAVEfmt ";
    const std::string midi = "MThd" + Words({0x06000000}) + std::string(6, '\0');
    EXPECT_EQ(SoundFormatOf(wave.data(), static_cast<uint32_t>(wave.size())), SoundFormat::Wave);
    EXPECT_EQ(SoundFormatOf(midi.data(), static_cast<uint32_t>(midi.size())), SoundFormat::Midi);
    EXPECT_EQ(SoundFormatOf(wave.data(), 11), SoundFormat::None);
    EXPECT_EQ(SoundFormatOf("RIFF0000AVI LIST", 16), SoundFormat::None);
    EXPECT_EQ(SoundFormatOf(nullptr, 100), SoundFormat::None);

    SoundPlayer player;
    EXPECT_FALSE(player.Play("not a sound", 11, true));
    EXPECT_FALSE(player.IsStarted());
    player.Stop();
    EXPECT_FALSE(player.IsStarted());
}

class WindowPaintTest : public WindowTest {
protected:

    static bool LoadPlain(const WindowOptions& options, RECT area = {100, 100, 400, 300}) {
        return LoadWindowOf({WindowRecordOf(options, area)});
    }
    static WindowOptions WithColor(uint32_t color) {
        WindowOptions options;
        options.windowState = 0;
        options.backColor = color;
        return options;
    }
    // The client area as the window paints it for a unit that asks (WM_PRINTCLIENT).
    static void PaintInto(const Canvas& canvas) {
        SendMessageA(WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }
    static SIZE ClientSize() {
        RECT client;
        GetClientRect(WindowHandle(), &client);
        return {client.right, client.bottom};
    }
};

TEST_F(WindowPaintTest, TheBackgroundIsBackColorOrTheButtonFace) {
    ASSERT_TRUE(LoadPlain(WithColor(RGB(200, 30, 40))));
    Canvas canvas(50, 50);
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(10, 10), RGB(200, 30, 40));

    Write(WindowRecord, BackColorProperty, DefaultColor);
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(10, 10), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Read(WindowRecord, BackColorProperty), DefaultColor);
}

TEST_F(WindowPaintTest, TheWindowOnTheScreenShowsItsBackground) {
    ASSERT_TRUE(LoadPlain(WithColor(RGB(10, 220, 30))));
    RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(WindowHandle());
    const COLORREF shown = GetPixel(dc, 20, 20);
    ReleaseDC(WindowHandle(), dc);
    EXPECT_EQ(shown, RGB(10, 220, 30));
}

TEST_F(WindowPaintTest, PictureModesPlaceThePicture) {
    const COLORREF back = RGB(9, 9, 9);
    WindowOptions options = WithColor(back);
    options.backPicture = PatternBitmap();
    options.pictureMode = 0;
    ASSERT_TRUE(LoadPlain(options));
    const SIZE client = ClientSize();
    Canvas canvas(client.cx, client.cy);

    // 0: natural size at the top left, BackColor beside it.
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(0, 0), Pattern(0, 0));
    EXPECT_EQ(canvas.At(3, 2), Pattern(3, 2));
    EXPECT_EQ(canvas.At(4, 0), back);
    EXPECT_EQ(canvas.At(0, 3), back);

    // 1: tiled from the top left.
    Write(WindowRecord, PictureModeProperty, 1);
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(4 + 1, 3 + 2), Pattern(1, 2));
    EXPECT_EQ(canvas.At(40 + 3, 30 + 0), Pattern(3, 0));

    // 2: a picture smaller than the client area keeps its size, centred.
    Write(WindowRecord, PictureModeProperty, 2);
    PaintInto(canvas);
    const int left = (client.cx - PatternWidth) / 2, top = (client.cy - PatternHeight) / 2;
    EXPECT_EQ(canvas.At(left, top), Pattern(0, 0));
    EXPECT_EQ(canvas.At(left + 3, top + 2), Pattern(3, 2));
    EXPECT_EQ(canvas.At(0, 0), back);

    // 3: stretched over the whole client area.
    Write(WindowRecord, PictureModeProperty, 3);
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(0, 0), Pattern(0, 0));
    EXPECT_EQ(canvas.At(client.cx - 1, client.cy - 1), Pattern(3, 2));

    // Bytes that are no picture leave the colour.
    Write(WindowRecord, BackPictureProperty, 0);
    PaintInto(canvas);
    EXPECT_EQ(canvas.At(0, 0), back);
}

TEST_F(WindowPaintTest, AFittedPictureLargerThanTheClientAreaIsScaledDownAndCentred) {
    WindowOptions options = WithColor(RGB(9, 9, 9));
    options.pictureMode = 2;
    // 1000 x 10: the width decides the scale.
    options.backPicture = BitmapFile(1000, 10, [](int32_t x, int32_t) { return x < 500 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    ASSERT_TRUE(LoadPlain(options));
    const SIZE client = ClientSize();
    Canvas canvas(client.cx, client.cy);
    PaintInto(canvas);
    const int height = MulDiv(10, client.cx, 1000);
    const int middle = client.cy / 2;
    EXPECT_EQ(canvas.At(0, middle), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(client.cx - 1, middle), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(0, middle - height / 2 - 2), RGB(9, 9, 9));
}

TEST_F(WindowPaintTest, UnitsAnswerTheirOwnColourMessages) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(WithColor(DefaultColor), {100, 100, 400, 300}),
                              UnitRecord(2, EditType, {10, 10, 110, 34}, ProbeData("own", ProbeOption::ColorsItself)),
                              UnitRecord(3, EditType, {10, 50, 110, 74}, ProbeData("plain"))}));
    HDC dc = GetDC(WindowHandle());
    const auto black = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(SendMessageA(WindowHandle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(Handle(UnitId(2)))),
              black);
    EXPECT_NE(SendMessageA(WindowHandle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(Handle(UnitId(3)))),
              black);
    ReleaseDC(WindowHandle(), dc);
}

TEST_F(WindowPaintTest, RoundedShapeOf300By100HasCornerSize20AndFollowsResizes) {
    EXPECT_EQ(RoundedCornerSize(300, 100), 20);
    EXPECT_EQ(RoundedCornerSize(100, 300), 20);
    WindowOptions options = WithColor(DefaultColor);
    options.shape = 2;
    ASSERT_TRUE(LoadPlain(options, {100, 100, 400, 200}));
    auto regionMatches = [](int width, int height, int corner) {
        HRGN shown = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(WindowHandle(), shown);
        HRGN expected = CreateRoundRectRgn(0, 0, width, height, corner, corner);
        // The same area, however the window system splits it into rectangles.
        const bool equal = CombineRgn(shown, shown, expected, RGN_XOR) == NULLREGION;
        DeleteObject(shown);
        DeleteObject(expected);
        return equal;
    };
    EXPECT_TRUE(regionMatches(300, 100, 20));
    EXPECT_FALSE(regionMatches(300, 100, 60));

    SetWindowPos(WindowHandle(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(regionMatches(500, 400, 80));

    Write(WindowRecord, ShapeProperty, 0);
    HRGN none = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(WindowHandle(), none), ERROR);
    DeleteObject(none);
}

TEST(WindowShapeTest, OutlinesHaveTheirPointCountsWithinTheirScale) {
    const int expected[] = {4, 3, 3, 3, 4, 5, 6, 4, 4, 10, 8, 11, 24, 28, 6, 5, 7, 7, 7, 7, 10, 10, 24, 17, 8, 5};
    for (int32_t shape = WindowShape::FirstOutline; shape <= WindowShape::LastOutline; ++shape) {
        const std::vector<POINT> points = ShapeOutline(shape);
        EXPECT_EQ(static_cast<int>(points.size()), expected[shape - WindowShape::FirstOutline]) << shape;
        for (const POINT& point : points) {
            EXPECT_TRUE(point.x >= 0 && point.x <= OutlineScale && point.y >= 0 && point.y <= OutlineScale) << shape;
        }
        HRGN region = MakeShapeRegion(shape, 320, 240);
        ASSERT_NE(region, nullptr) << shape;
        RECT box;
        EXPECT_EQ(GetRgnBox(region, &box) != NULLREGION, true) << shape;
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 320 && box.bottom <= 240) << shape;
        DeleteObject(region);
    }
    EXPECT_TRUE(ShapeOutline(3).empty());
    EXPECT_TRUE(ShapeOutline(30).empty());
    const std::vector<POINT> up = ShapeOutline(4);
    EXPECT_EQ(up.front().x, 16383);
    EXPECT_EQ(up.back().x, 16383);
    EXPECT_EQ(up[1].x, 32767);
    const std::vector<POINT> down = ShapeOutline(5);
    EXPECT_EQ(down[2].x, 16383);
    EXPECT_EQ(down[2].y, 32767);
}

TEST(WindowShapeTest, EllipseRingAndTriangleCoverWhatTheyShould) {
    HRGN ellipse = MakeShapeRegion(WindowShape::Ellipse, 200, 100);
    EXPECT_TRUE(PtInRegion(ellipse, 100, 50));
    EXPECT_FALSE(PtInRegion(ellipse, 2, 2));
    DeleteObject(ellipse);

    HRGN ring = MakeShapeRegion(WindowShape::Ring, 200, 100);
    EXPECT_FALSE(PtInRegion(ring, 100, 50));  // the hole
    EXPECT_TRUE(PtInRegion(ring, 25, 50));
    EXPECT_FALSE(PtInRegion(ring, 2, 2));
    DeleteObject(ring);

    HRGN triangle = MakeShapeRegion(4, 200, 100);
    EXPECT_TRUE(PtInRegion(triangle, 100, 90));
    EXPECT_FALSE(PtInRegion(triangle, 10, 10));
    EXPECT_FALSE(PtInRegion(triangle, 190, 10));
    DeleteObject(triangle);

    EXPECT_EQ(MakeShapeRegion(WindowShape::Rectangle, 200, 100), nullptr);
}

}  // namespace
}  // namespace windowtest
