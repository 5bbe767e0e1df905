#pragma once
// A 32-bit top-down DIB section selected into a memory device context, for
// tests that paint or copy into memory and read the pixels back.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace testunits {

// Pixels read from a canvas, one COLORREF each, row by row from the top.
struct Pixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<COLORREF> colors;
    COLORREF At(int32_t x, int32_t y) const { return colors[static_cast<size_t>(y * width + x)]; }
    // Whether some pixel of the rectangle satisfies the test.
    template <typename Test>
    bool Any(RECT area, Test test) const {
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x)
                if (test(At(x, y))) return true;
        return false;
    }
};

// A point's expected colour, and why where that is worth saying.
struct Spot {
    int32_t x, y;
    COLORREF color;
    const char* why = "";
};
// Each spot has its colour.
inline void ExpectColors(const Pixels& pixels, std::initializer_list<Spot> spots) {
    for (const Spot& spot : spots)
        EXPECT_EQ(pixels.At(spot.x, spot.y), spot.color) << spot.x << "," << spot.y << " " << spot.why;
}

class Canvas {
public:
    // Every pixel starts as fill, so that whatever a painter leaves shows.
    Canvas(int32_t width, int32_t height, COLORREF fill = RGB(255, 255, 255)) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        // Without its bits every pixel read afterwards would be garbage.
        EXPECT_NE(bits_, nullptr) << "no " << width << " x " << height << " canvas";
        if (bits_ == nullptr) return;
        old_ = SelectObject(dc_, bitmap_);
        const uint32_t pixel = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
        for (int32_t i = 0; i < width * height; ++i) bits_[i] = pixel;
    }
    ~Canvas() {
        if (old_ != nullptr) SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    COLORREF At(int32_t x, int32_t y) const {
        if (bits_ == nullptr) return CLR_INVALID;
        GdiFlush();
        const uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    Pixels Read() const {
        Pixels pixels{width_, height_, {}};
        pixels.colors.reserve(static_cast<size_t>(width_ * height_));
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x) pixels.colors.push_back(At(x, y));
        return pixels;
    }

private:
    int32_t width_;
    int32_t height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

}  // namespace testunits
