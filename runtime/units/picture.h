#pragma once
// Pictures held by units (window and label backgrounds, button and check box
// images): image file bytes (BMP, JPEG, GIF, icons) decoded once by the
// platform's own picture loading, then drawn or rendered as often as needed.
// Bytes that cannot be decoded give no picture, and the unit goes without.
#include <windows.h>

#include <cstdint>
#include <memory>

namespace quillet {

class Picture {
public:
    virtual ~Picture() = default;

    virtual SIZE Size() const = 0;           // pixels
    virtual bool IsIcon() const = 0;
    // Draws the whole picture into the rectangle (x, y, width, height), scaled.
    virtual void Draw(HDC dc, int x, int y, int width, int height) const = 0;
    // New handles that belong to the caller: the picture at the given size over
    // the background colour (transparent parts show it).
    virtual HBITMAP ToBitmap(COLORREF background, int width, int height) const = 0;
    virtual HICON ToIcon(COLORREF background, int width, int height) const = 0;
};

// Null when the bytes are empty or hold no picture the platform can read.
std::unique_ptr<Picture> DecodePicture(const void* bytes, uint32_t length);

}  // namespace quillet
