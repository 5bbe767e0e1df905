// The window's background: BackPicture in its PictureMode over BackColor,
// painted into the update region only.
#include "runtime/units/unit_gdi.h"
#include "runtime/units/window/window_unit.h"

namespace quillet {
namespace {

RECT ClientArea(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    return area;
}

void RemoveFromRegion(HRGN region, const RECT& area) {
    HRGN taken = CreateRectRgnIndirect(&area);
    if (taken == nullptr) return;
    CombineRgn(region, region, taken, RGN_DIFF);
    DeleteObject(taken);
}

// Mode 2: centred, scaled down by the smaller of the two ratios when the
// picture is larger than the client area.
RECT FittedArea(SIZE picture, const RECT& client) {
    const LONG clientWidth = client.right - client.left, clientHeight = client.bottom - client.top;
    LONG width = picture.cx, height = picture.cy;
    if (width > clientWidth || height > clientHeight) {
        // min(cw / pw, ch / ph) compared without division: cw * ph against ch * pw.
        if (static_cast<int64_t>(clientWidth) * picture.cy <= static_cast<int64_t>(clientHeight) * picture.cx) {
            width = clientWidth;
            height = MulDiv(picture.cy, clientWidth, picture.cx);
        } else {
            height = clientHeight;
            width = MulDiv(picture.cx, clientHeight, picture.cy);
        }
    }
    const LONG left = client.left + (clientWidth - width) / 2, top = client.top + (clientHeight - height) / 2;
    return {left, top, left + width, top + height};
}

// Transparent units show the background through: they are painted again with it.
BOOL CALLBACK InvalidateTransparentChild(HWND child, LPARAM) {
    if (IsWindowVisible(child) && (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0)
        InvalidateRect(child, nullptr, TRUE);
    return TRUE;
}

}  // namespace

void WindowUnit::OnPaint() {
    HRGN area = CreateRectRgn(0, 0, 0, 0);
    const bool known = area != nullptr && GetUpdateRgn(m_hWnd, area, FALSE) != ERROR;
    PAINTSTRUCT paint;
    live_.painting = true;
    HDC dc = BeginPaint(m_hWnd, &paint);
    live_.painting = false;
    if (dc != nullptr && area != nullptr) {
        if (!known) SetRectRgn(area, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
        PaintBackground(dc, area);
    }
    EndPaint(m_hWnd, &paint);
    if (area != nullptr) DeleteObject(area);
}

// WM_PAINT paints the background itself; a transparent unit that asks for it
// into its own device context gets it over that context's clipping box.
bool WindowUnit::OnEraseBackground(HDC dc) {
    if (live_.painting || dc == nullptr) return true;
    RECT box;
    if (GetClipBox(dc, &box) == ERROR) box = ClientArea(m_hWnd);
    HRGN area = CreateRectRgnIndirect(&box);
    if (area == nullptr) return true;
    PaintBackground(dc, area);
    DeleteObject(area);
    return true;
}

void WindowUnit::PaintBackground(HDC dc, HRGN area) {
    const RECT client = ClientArea(m_hWnd);
    const COLORREF color = ColorOf(options_.backColor);
    if (const Picture* picture = DecodedPicture()) {
        const SIZE size = picture->Size();
        switch (options_.pictureMode) {
        case PictureMode::Natural:
        case PictureMode::Tiled: {
            HBITMAP bitmap = PictureBitmap();
            if (bitmap == nullptr) break;
            if (options_.pictureMode == PictureMode::Tiled) {
                // A pattern brush repeats the picture from the client origin over the region only.
                HBRUSH tiles = CreatePatternBrush(bitmap);
                if (tiles == nullptr) break;
                SetBrushOrgEx(dc, 0, 0, nullptr);
                FillRgn(dc, area, tiles);
                DeleteObject(tiles);
                SetRectRgn(area, 0, 0, 0, 0);
                break;
            }
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, bitmap);
            BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
            RemoveFromRegion(area, {0, 0, size.cx, size.cy});
            break;
        }
        case PictureMode::Fitted: {
            const RECT fitted = FittedArea(size, client);
            SolidBrush under;
            under.Make(color);
            FillRect(dc, &fitted, under.Handle());
            picture->Draw(dc, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
            RemoveFromRegion(area, fitted);
            break;
        }
        case PictureMode::Stretched: {
            SolidBrush under;
            under.Make(color);
            FillRect(dc, &client, under.Handle());
            picture->Draw(dc, 0, 0, client.right, client.bottom);
            SetRectRgn(area, 0, 0, 0, 0);
            break;
        }
        default: break;
        }
    }
    SolidBrush fill;
    fill.Make(color);
    FillRgn(dc, area, fill.Handle());
}

const Picture* WindowUnit::DecodedPicture() {
    if (!live_.pictureTried) {
        live_.pictureTried = true;
        live_.backPicture = DecodePicture(options_.backPicture.data(), static_cast<uint32_t>(options_.backPicture.size()));
    }
    return live_.backPicture.get();
}

HBITMAP WindowUnit::PictureBitmap() {
    if (live_.pictureBitmap == nullptr) {
        const Picture* picture = DecodedPicture();
        if (picture == nullptr) return nullptr;
        live_.pictureBitmap = picture->ToBitmap(ColorOf(options_.backColor), picture->Size().cx, picture->Size().cy);
    }
    return live_.pictureBitmap;
}

void WindowUnit::DropPictureBitmap() {
    if (live_.pictureBitmap != nullptr) DeleteObject(live_.pictureBitmap);
    live_.pictureBitmap = nullptr;
}

void WindowUnit::RepaintBackground() {
    if (m_hWnd == nullptr) return;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    EnumChildWindows(m_hWnd, InvalidateTransparentChild, 0);
}

}  // namespace quillet
