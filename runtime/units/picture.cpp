#include "runtime/units/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

namespace quillet {
namespace {

constexpr int HimetricPerInch = 2540;

int PixelsFromHimetric(OLE_XSIZE_HIMETRIC himetric, int pixelsPerInch) {
    return MulDiv(static_cast<int>(himetric), pixelsPerInch, HimetricPerInch);
}

// The size of an icon's images; the mask is twice as high when there is no colour image.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bitmap{};
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
        size = {bitmap.bmWidth, bitmap.bmHeight};
    } else if (info.hbmMask != nullptr && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap) != 0) {
        size = {bitmap.bmWidth, bitmap.bmHeight / 2};
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return size;
}

// A decoded picture of the platform's OLE picture object.
class OlePicture final : public Picture {
public:
    explicit OlePicture(IPicture* picture) : picture_(picture) {
        short type = PICTYPE_NONE;
        picture_->get_Type(&type);
        icon_ = type == PICTYPE_ICON;
        picture_->get_Width(&himetricWidth_);
        picture_->get_Height(&himetricHeight_);
        size_ = MeasurePixels(type);
    }
    ~OlePicture() override { picture_->Release(); }
    OlePicture(const OlePicture&) = delete;
    OlePicture& operator=(const OlePicture&) = delete;

    SIZE Size() const override { return size_; }
    bool IsIcon() const override { return icon_; }

    void Draw(HDC dc, int x, int y, int width, int height) const override {
        if (width <= 0 || height <= 0) return;
        // Scaled pixels are picked, not mixed: the default mode of a memory
        // context would AND the colours of dropped rows together.
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        // Source coordinates are HIMETRIC with the origin at the bottom left.
        picture_->Render(dc, x, y, width, height, 0, himetricHeight_, himetricWidth_, -himetricHeight_, nullptr);
        if (oldMode != 0) SetStretchBltMode(dc, oldMode);
    }

    HBITMAP ToBitmap(COLORREF background, int width, int height) const override {
        FitSize(&width, &height);
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        if (bitmap == nullptr || dc == nullptr) {
            if (bitmap != nullptr) DeleteObject(bitmap);
            if (dc != nullptr) DeleteDC(dc);
            return nullptr;
        }
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT area = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        Draw(dc, 0, 0, width, height);
        SelectObject(dc, old);
        DeleteDC(dc);
        return bitmap;
    }

    HICON ToIcon(COLORREF background, int width, int height) const override {
        FitSize(&width, &height);
        // An icon keeps its own transparency at the new size.
        if (icon_) {
            OLE_HANDLE handle = 0;
            if (SUCCEEDED(picture_->get_Handle(&handle)) && handle != 0)
                return static_cast<HICON>(CopyImage(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle)),
                                                    IMAGE_ICON, width, height, 0));
        }
        HBITMAP color = ToBitmap(background, width, height);
        HBITMAP mask = OpaqueMask(width, height);
        HICON icon = nullptr;
        if (color != nullptr && mask != nullptr) {
            ICONINFO info = {TRUE, 0, 0, mask, color};
            icon = CreateIconIndirect(&info);
        }
        if (color != nullptr) DeleteObject(color);
        if (mask != nullptr) DeleteObject(mask);
        return icon;
    }

private:
    SIZE MeasurePixels(short type) const {
        OLE_HANDLE handle = 0;
        picture_->get_Handle(&handle);
        const auto native = static_cast<uintptr_t>(handle);
        // Bitmaps and icons know their pixels; HIMETRIC round trips can be off by one.
        if (type == PICTYPE_BITMAP && native != 0) {
            BITMAP bitmap{};
            if (GetObjectW(reinterpret_cast<HBITMAP>(native), sizeof bitmap, &bitmap) != 0)
                return {bitmap.bmWidth, bitmap.bmHeight};
        }
        if (type == PICTYPE_ICON && native != 0) {
            const SIZE size = IconSize(reinterpret_cast<HICON>(native));
            if (size.cx > 0 && size.cy > 0) return size;
        }
        HDC screen = GetDC(nullptr);
        const SIZE size = {PixelsFromHimetric(himetricWidth_, GetDeviceCaps(screen, LOGPIXELSX)),
                           PixelsFromHimetric(himetricHeight_, GetDeviceCaps(screen, LOGPIXELSY))};
        ReleaseDC(nullptr, screen);
        return size;
    }

    // A size that is not given counts as the picture's own.
    void FitSize(int* width, int* height) const {
        if (*width <= 0) *width = size_.cx > 0 ? size_.cx : 1;
        if (*height <= 0) *height = size_.cy > 0 ? size_.cy : 1;
    }

    static HBITMAP OpaqueMask(int width, int height) {
        HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        if (mask == nullptr || dc == nullptr) {
            if (dc != nullptr) DeleteDC(dc);
            return mask;
        }
        HGDIOBJ old = SelectObject(dc, mask);
        PatBlt(dc, 0, 0, width, height, BLACKNESS);  // 0 bits: every pixel drawn
        SelectObject(dc, old);
        DeleteDC(dc);
        return mask;
    }

    IPicture* picture_;               // owned: one reference
    OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
    OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
    SIZE size_{0, 0};                 // pixels
    bool icon_ = false;               // an icon rather than a bitmap or metafile
};

// A stream over a copy of the bytes; the stream frees the copy.
IStream* StreamOver(const void* bytes, uint32_t length) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length);
    if (block == nullptr) return nullptr;
    void* into = GlobalLock(block);
    if (into == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(into, bytes, length);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

}  // namespace

std::unique_ptr<Picture> DecodePicture(const void* bytes, uint32_t length) {
    if (bytes == nullptr || length == 0 || length > 0x7FFFFFFF) return nullptr;
    IStream* stream = StreamOver(bytes, length);
    if (stream == nullptr) return nullptr;
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(length), TRUE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr) return nullptr;
    auto decoded = std::make_unique<OlePicture>(picture);
    if (decoded->Size().cx <= 0 || decoded->Size().cy <= 0) return nullptr;
    return decoded;
}

}  // namespace quillet
