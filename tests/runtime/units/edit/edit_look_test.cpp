// How edit boxes look: the automatic height and the centred line of a
// single-line box, its border band, the colours, and a screenshot of a window
// of edit boxes for people to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/events/property_access.h"
#include "runtime/units/font_data.h"
#include "runtime/units/unit_type.h"
#include "runtime/values/command_arg.h"
#include "tests/runtime/units/edit/edit_test_program.h"
#include "tests/support/child_process.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;
constexpr uint32_t B = 0x16010002;
constexpr uint32_t C = 0x16010003;

SIZE TextSizeIn(HFONT font, const char* text) {
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The client area in the window's own coordinates (0, 0 = the window's corner).
RECT ClientInWindow(HWND window) {
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -outer.left, -outer.top);
    return client;
}

int32_t HeightOf(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return area.bottom - area.top;
}

// What the screen shows at a point of the window (its corner at 0, 0).
COLORREF PixelOf(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    HDC dc = GetWindowDC(window);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

using EditLookTest = EditTest;

TEST_F(EditLookTest, ASingleLineBoxTooLowForItsFontGrowsAndAMultiLineBoxDoesNot) {
    EditBoxData multi;
    multi.fields.multiLine = 1;
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 200, 30}, {}), EditAt(B, {20, 60, 200, 70}, multi),
                                         EditAt(C, {20, 100, 200, 160}, {})})));
    const int32_t least = TextSizeIn(GuiFont(), "吴").cy + 2 * GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(HeightOf(Handle(A)), least);
    EXPECT_EQ(ReadInt(A, Prop::Height), least);
    EXPECT_EQ(HeightOf(Handle(B)), 10);
    EXPECT_EQ(HeightOf(Handle(C)), 60) << "a box high enough keeps its height";

    // A bigger font grows the box again.
    FontValue big{0, 0, 0, 0, 0, 28, "宋体"};
    WriteUnitProperty(WindowId, A, Prop::Font, -1, Word(&big), 0);
    EXPECT_EQ(static_cast<int32_t>(ReadUnitProperty(WindowId, A, Prop::Font, 5).low), 28);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Handle(A), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font, GuiFont());
    EXPECT_EQ(HeightOf(Handle(A)), TextSizeIn(font, "吴").cy + 2 * GetSystemMetrics(SM_CYEDGE));
}

TEST_F(EditLookTest, ASingleLineBoxCentresOneLineAndCountsTheBandAsBorder) {
    EditBoxData multi;
    multi.fields.multiLine = 1;
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 80}, {}), EditAt(B, {20, 100, 220, 160}, multi)})));
    HWND box = Handle(A);
    const int32_t letter = TextSizeIn(GuiFont(), "W").cy;
    const RECT client = ClientInWindow(box);
    EXPECT_EQ(client.bottom - client.top, letter);
    const int32_t above = client.top, below = HeightOf(box) - client.bottom;
    EXPECT_LE(std::abs(above - below), 1) << above << " above, " << below << " below";

    RECT outer;
    GetWindowRect(box, &outer);
    const auto hit = [&](int x, int y) {
        return SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(outer.left + x, outer.top + y));
    };
    EXPECT_EQ(hit(50, (above + 2) / 2 + 1), HTBORDER);
    EXPECT_EQ(hit(50, (client.top + client.bottom) / 2), HTCLIENT);

    const RECT multiClient = ClientInWindow(Handle(B));
    EXPECT_GT(multiClient.bottom - multiClient.top, 2 * letter) << "a multi-line box keeps its whole client area";
}

TEST_F(EditLookTest, TheBackgroundColourFillsTheLineAndTheBandAround) {
    EditBoxData red;
    red.fields.backColor = RGB(255, 0, 0);
    red.fields.borderStyle = 5;
    EditBoxData grey;
    grey.fields.backColor = DefaultColor;
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 80}, red), EditAt(B, {20, 100, 220, 160}, grey)})));
    HWND box = Handle(A);
    const RECT client = ClientInWindow(box);
    EXPECT_EQ(PixelOf(box, 100, client.top + 1), RGB(255, 0, 0)) << "inside the line";
    EXPECT_EQ(PixelOf(box, 100, client.top / 2 + 1), RGB(255, 0, 0)) << "in the band above it";
    EXPECT_EQ(PixelOf(Handle(B), 100, 6), GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);

    Write(A, Prop::BackColor, RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(box, 100, client.top / 2 + 1), RGB(0, 0, 255)) << "the band takes the new colour at once";
}

// ---- the screenshot ----

bool SaveWindowBitmap(HWND window, const std::string& path, std::vector<COLORREF>* pixels, int* width, int* height) {
    RECT area;
    GetWindowRect(window, &area);
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, *width, *height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const size_t count = static_cast<size_t>(*width) * static_cast<size_t>(*height);
    pixels->assign(count, 0);
    for (size_t k = 0; k < count; ++k) {
        uint32_t& bgra = static_cast<uint32_t*>(bits)[k];
        bgra |= 0xFF000000;  // opaque, for viewers that honour the fourth byte
        (*pixels)[k] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(count * 4);
    FILE* out = std::fopen(path.c_str(), "wb");
    bool written = out != nullptr;
    if (written) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, 4, count, out) == count;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

TEST_F(EditLookTest, AWindowOfEditBoxesIsSavedAsAScreenshot) {
    EditBoxData spin;
    spin.fields.spinMode = 1;
    spin.content = "42";
    EditBoxData text;
    text.fields.multiLine = 1;
    text.fields.scrollBars = 2;
    text.content = "编辑框：多行文本，自动换行。\r\n第二行 second line\r\n第三行１２３";
    EditBoxData coloured;
    coloured.fields.backColor = RGB(255, 0, 0);
    coloured.fields.textColor = RGB(255, 255, 255);
    coloured.fields.borderStyle = 5;
    coloured.content = "红底白字";
    EditBoxData password;
    password.fields.inputMode = 2;
    password.content = "secret";
    EditBoxData right;
    right.fields.alignment = 2;
    right.fields.borderStyle = 3;
    right.content = "右对齐";
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(0x16010001, {20, 20, 120, 30}, spin),
                                         EditAt(0x16010002, {20, 60, 480, 200}, text),
                                         EditAt(0x16010003, {20, 220, 220, 260}, coloured),
                                         EditAt(0x16010004, {240, 220, 480, 244}, password),
                                         EditAt(0x16010005, {240, 260, 480, 284}, right)})));
    HWND window = Handle(0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testprogram::Pump();

    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
    const std::string path = BesideTests("edit_boxes.bmp");
    ASSERT_TRUE(SaveWindowBitmap(window, path, &pixels, &width, &height)) << path;
    // The red box shows at its place in the picture.
    EXPECT_EQ(pixels[static_cast<size_t>(240 * width + 120)], RGB(255, 0, 0));
    std::printf("screenshot: %s\n", path.c_str());
}

}  // namespace
}  // namespace quillet
