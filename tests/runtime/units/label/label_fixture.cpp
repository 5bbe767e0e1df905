#include "tests/runtime/units/label/label_fixture.h"

#include <cstring>

namespace labeltest {

using namespace unittest;

std::string LabelData(const LabelFields& f, uint32_t version) {
    std::string data =
        Words({version, f.effect, f.borderWidth, f.borderStyle, f.borderColors[0], f.borderColors[1],
               f.borderColors[2], f.textColor, f.backColor, f.pictureMode, f.gradientMode, f.gradientColors[0],
               f.gradientColors[1], f.gradientColors[2], f.hAlign, f.vAlign, f.wordWrap}) +
        Block(f.font) + Block(f.picture) + Block(f.caption);
    if (version >= 2) data += Block(f.dataSource) + Block(f.dataColumn);
    return data;
}

namespace {

// Copies a 32-bit top-down bitmap's pixels out as COLORREFs.
Pixels FromBits(const uint32_t* bits, int32_t width, int32_t height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.colors.reserve(static_cast<size_t>(width * height));
    for (int32_t i = 0; i < width * height; ++i) {
        const uint32_t pixel = bits[i];
        pixels.colors.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    }
    return pixels;
}

// A memory DC over a 32-bit DIB section of the size, with *bits at its pixels.
HBITMAP MakeCanvas(HDC dc, int32_t width, int32_t height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint32_t*>(pixels);
    return canvas;
}

}  // namespace

Pixels Render(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP canvas = MakeCanvas(dc, client.right, client.bottom, &bits);
    HGDIOBJ old = SelectObject(dc, canvas);
    // Magenta first: whatever the label leaves unpainted shows.
    const size_t count = static_cast<size_t>(client.right * client.bottom);
    for (size_t i = 0; i < count; ++i) bits[i] = 0xFF00FF;
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    Pixels pixels = FromBits(bits, client.right, client.bottom);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    return pixels;
}

Pixels ReadWindow(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    HDC windowDc = GetDC(label);
    HDC dc = CreateCompatibleDC(windowDc);
    uint32_t* bits = nullptr;
    HBITMAP canvas = MakeCanvas(dc, client.right, client.bottom, &bits);
    HGDIOBJ old = SelectObject(dc, canvas);
    BitBlt(dc, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    Pixels pixels = FromBits(bits, client.right, client.bottom);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(label, windowDc);
    return pixels;
}

HWND LabelTest::LoadLabel(const LabelFields& fields, int32_t width, int32_t height,
                          std::vector<quillet::EventBinding> bindings) {
    const bool loaded = LoadWindowOf(
        WindowWith({ShownRecord(LabelId, LabelType, {10, 10, 10 + width, 10 + height}, LabelData(fields), bindings)}));
    EXPECT_TRUE(loaded);
    return loaded ? Handle(LabelId) : nullptr;
}

}  // namespace labeltest
