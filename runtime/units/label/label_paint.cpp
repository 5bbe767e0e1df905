// Painting a label: the gradient frame, the background (picture, gradient or
// colour) and the caption with its effect.
#include <algorithm>

#include "runtime/units/label/label_gradient.h"
#include "runtime/units/label/label_unit.h"

namespace quillet {
namespace {

// By HAlign and VAlign 0..2.
constexpr UINT HorizontalFormat[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
constexpr UINT VerticalFormat[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};

// The extra copy an effect draws before the caption, by Effect 0..3.
struct EffectCopy {
    bool drawn;             // the effect has a copy at all
    COLORREF color;         // of the copy
    int32_t copyOffset;     // pixels right and down from the caption area
    int32_t captionOffset;  // where the caption itself then goes
};
constexpr EffectCopy EffectCopies[] = {
    {false, 0, 0, 0},                  // plain
    {true, RGB(255, 255, 255), 1, 0},  // engraved: a white copy below right
    {true, RGB(255, 255, 255), 0, 1},  // embossed: the caption moves below right of a white copy
    {true, RGB(0, 0, 0), 2, 0},        // shadow: a black copy 2 pixels away
};

int32_t Width(const RECT& r) { return r.right - r.left; }
int32_t Height(const RECT& r) { return r.bottom - r.top; }

// Clips further to a polygon given in logical coordinates.
void ClipToPolygon(HDC dc, POINT (&points)[4]) {
    LPtoDP(dc, points, 4);
    HRGN polygon = CreatePolygonRgn(points, 4, WINDING);
    ExtSelectClipRgn(dc, polygon, RGN_AND);
    DeleteObject(polygon);
}

void PaintBand(HDC dc, const RECT& band, int32_t mode, const GradientColors& colors, POINT (*trapezoid)[4]) {
    const int saved = SaveDC(dc);
    if (trapezoid != nullptr) ClipToPolygon(dc, *trapezoid);
    PaintGradient(dc, band, mode, colors);
    RestoreDC(dc, saved);
}

void FillWithColor(HDC dc, const RECT& area, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// Where picture mode 2 puts a picture: shrunk to fit when larger than the
// area, keeping its proportions (sizes truncated), and centred.
RECT FittedRect(const RECT& area, SIZE picture) {
    int64_t width = picture.cx, height = picture.cy;
    const int64_t areaWidth = Width(area), areaHeight = Height(area);
    if (width > areaWidth || height > areaHeight) {
        // The smaller of the two ratios, compared without division.
        if (areaWidth * picture.cy <= areaHeight * picture.cx) {
            width = areaWidth;
            height = picture.cy * areaWidth / picture.cx;
        } else {
            height = areaHeight;
            width = picture.cx * areaHeight / picture.cy;
        }
    }
    const int32_t left = area.left + static_cast<int32_t>((areaWidth - width) / 2);
    const int32_t top = area.top + static_cast<int32_t>((areaHeight - height) / 2);
    return {left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

void RemoveFromRegion(HRGN region, const RECT& area) {
    HRGN removed = CreateRectRgnIndirect(&area);
    CombineRgn(region, region, removed, RGN_DIFF);
    DeleteObject(removed);
}

}  // namespace

void LabelUnit::Paint(HDC dc, HRGN update) {
    const int saved = SaveDC(dc);
    RECT area;
    GetClientRect(m_hWnd, &area);
    if (PaintGradientFrame(dc, area)) {
        InflateRect(&area, -data_.borderWidth, -data_.borderWidth);
        // A frame wider than half the label leaves nothing inside.
        area.right = std::max(area.right, area.left);
        area.bottom = std::max(area.bottom, area.top);
    }

    // B: what the background colour still has to cover.
    HRGN background = CreateRectRgnIndirect(&area);
    CombineRgn(background, background, update, RGN_AND);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (!PaintBackPicture(dc, area, background) && PaintGradientBackground(dc, area))
        SetRectRgn(background, 0, 0, 0, 0);
    HBRUSH backBrush = CreateSolidBrush(ColorOf(data_.backColor));
    FillRgn(dc, background, backBrush);
    DeleteObject(backBrush);
    DeleteObject(background);

    PaintCaption(dc, area);
    RestoreDC(dc, saved);
}

// The frame of BorderStyle 6: bands of gradients in the frame colours, the
// corners split along their diagonals. False when there is none to paint.
bool LabelUnit::PaintGradientFrame(HDC dc, const RECT& client) {
    if (data_.borderStyle != GradientFrameBorder || data_.borderWidth <= 0) return false;
    const GradientColors colors = CollectGradientColors(data_.borderColors);
    if (colors.count < 2) return false;
    const RECT& r = client;
    const int32_t across = std::min(data_.borderWidth, Width(r) / 2);  // left and right bands
    const int32_t down = std::min(data_.borderWidth, Height(r) / 2);   // top and bottom bands

    PaintBand(dc, {r.left, r.top, r.right, r.top + down}, GradientMode::TopToBottom, colors, nullptr);
    PaintBand(dc, {r.left, r.bottom - down, r.right, r.bottom}, GradientMode::TopToBottom, colors, nullptr);
    POINT left[4] = {{r.left, r.top}, {r.left + across, r.top + down}, {r.left + across, r.bottom - down},
                     {r.left, r.bottom}};
    PaintBand(dc, {r.left, r.top, r.left + across, r.bottom}, GradientMode::LeftToRight, colors, &left);
    POINT right[4] = {{r.right, r.top}, {r.right - across, r.top + down}, {r.right - across, r.bottom - down},
                      {r.right, r.bottom}};
    PaintBand(dc, {r.right - across, r.top, r.right, r.bottom}, GradientMode::LeftToRight, colors, &right);
    return true;
}

const Picture* LabelUnit::BackPicture() {
    if (picture_ == nullptr && !data_.backPicture.empty()) {
        picture_ = DecodePicture(data_.backPicture.data(), static_cast<uint32_t>(data_.backPicture.size()));
        // Bytes that do not decode are dropped for good: the colour or gradient shows.
        if (picture_ == nullptr) data_.backPicture.clear();
    }
    return picture_.get();
}

// False when there is no picture to paint.
bool LabelUnit::PaintBackPicture(HDC dc, const RECT& area, HRGN background) {
    const Picture* picture = BackPicture();
    if (picture == nullptr) return false;
    const SIZE size = picture->Size();
    if (size.cx <= 0 || size.cy <= 0) return false;
    const COLORREF behind = ColorOf(data_.backColor);
    auto drawAt = [&](const RECT& at) {
        FillWithColor(dc, at, behind);
        picture->Draw(dc, at.left, at.top, Width(at), Height(at));
    };
    switch (data_.pictureMode) {
    case 0: {
        const RECT at = {area.left, area.top, area.left + size.cx, area.top + size.cy};
        drawAt(at);
        RemoveFromRegion(background, at);
        break;
    }
    case 1: {
        // Rendered once and copied tile by tile: rendering a picture costs far
        // more than copying pixels, and a label may hold hundreds of tiles.
        HBITMAP rendered = picture->ToBitmap(behind, size.cx, size.cy);
        HDC source = rendered != nullptr ? CreateCompatibleDC(dc) : nullptr;
        HGDIOBJ previous = source != nullptr ? SelectObject(source, rendered) : nullptr;
        for (int32_t top = area.top; top < area.bottom; top += size.cy)
            for (int32_t left = area.left; left < area.right; left += size.cx) {
                const RECT tile = {left, top, left + size.cx, top + size.cy};
                if (!RectVisible(dc, &tile)) continue;
                if (source != nullptr)
                    BitBlt(dc, left, top, size.cx, size.cy, source, 0, 0, SRCCOPY);
                else
                    drawAt(tile);
            }
        if (source != nullptr) {
            SelectObject(source, previous);
            DeleteDC(source);
        }
        if (rendered != nullptr) DeleteObject(rendered);
        SetRectRgn(background, 0, 0, 0, 0);
        break;
    }
    default: {
        const RECT at = FittedRect(area, size);
        drawAt(at);
        RemoveFromRegion(background, at);
        break;
    }
    }
    return true;
}

// False when the gradient mode or its colours give no gradient.
bool LabelUnit::PaintGradientBackground(HDC dc, const RECT& area) {
    if (data_.gradientMode < GradientMode::TopToBottom || data_.gradientMode > GradientMode::FromBottomLeft)
        return false;
    const GradientColors colors = CollectGradientColors(data_.gradientColors);
    if (colors.count < 2) return false;
    PaintGradient(dc, area, data_.gradientMode, colors);
    return true;
}

void LabelUnit::PaintCaption(HDC dc, const RECT& area) {
    // The caption as the window holds it, in UTF-16: drawn without a detour
    // through the runtime's bytes.
    const int length = GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return;
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, caption.data(), length + 1)));
    if (caption.empty()) return;

    SelectObject(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_NOCLIP | HorizontalFormat[data_.hAlign];
    // Wrapped lines start at the top whatever VAlign says.
    format |= data_.wordWrap != 0 ? DT_WORDBREAK : DT_SINGLELINE | VerticalFormat[data_.vAlign];
    auto drawAt = [&](COLORREF color, int32_t offset) {
        RECT at = area;
        OffsetRect(&at, offset, offset);
        SetTextColor(dc, color);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at, format);
    };
    const EffectCopy& effect = EffectCopies[data_.effect];
    if (effect.drawn) drawAt(effect.color, effect.copyOffset);
    drawAt(data_.textColor, effect.captionOffset);
}

}  // namespace quillet
