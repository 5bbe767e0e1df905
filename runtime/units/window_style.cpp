#include "runtime/units/window_style.h"

namespace quillet {
namespace {

constexpr DWORD BorderExStyles = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

struct BorderBits {
    DWORD style;
    DWORD exStyle;
};

// By border style 0..5.
constexpr BorderBits BorderTable[] = {
    {0, 0},
    {0, WS_EX_CLIENTEDGE},
    {0, WS_EX_DLGMODALFRAME},
    {0, WS_EX_STATICEDGE},
    {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME},
    {WS_BORDER, 0},
};

void RecomputeFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ApplyBorderStyle(HWND window, int32_t style) {
    if (window == nullptr) return;
    const bool known = style >= 0 && style < static_cast<int32_t>(sizeof BorderTable / sizeof BorderTable[0]);
    const BorderBits bits = known ? BorderTable[style] : BorderBits{0, 0};
    const DWORD oldStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD oldExStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((oldStyle & ~WS_BORDER) | bits.style));
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>((oldExStyle & ~BorderExStyles) | bits.exStyle));
    RecomputeFrame(window);
}

void ChangeWindowStyle(HWND window, DWORD remove, DWORD add) {
    if (window == nullptr) return;
    const DWORD oldStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD newStyle = (oldStyle & ~remove) | add;
    if (newStyle == oldStyle) return;
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(newStyle));
    RecomputeFrame(window);
}

RECT PlacedRectangle(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    HWND parent = GetParent(window);
    if (parent != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) == 0)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

}  // namespace quillet
