#pragma once
// Window styles that units change after creation: the border styles 0 to 5
// that the edit box and the label share, and single style bits. Any other
// border style (the label's painted frame, 6) leaves the window without a
// border of the system's. And where a unit's window stands.
#include <windows.h>

#include <cstdint>

namespace quillet {

namespace UnitBorder {
constexpr int32_t None = 0;
constexpr int32_t Sunken = 1;        // WS_EX_CLIENTEDGE
constexpr int32_t Raised = 2;        // WS_EX_DLGMODALFRAME
constexpr int32_t ThinSunken = 3;    // WS_EX_STATICEDGE
constexpr int32_t SunkenRaised = 4;  // WS_EX_CLIENTEDGE and WS_EX_DLGMODALFRAME
constexpr int32_t SingleLine = 5;    // WS_BORDER
}  // namespace UnitBorder

// Removes every border bit, adds those of the style and recomputes the frame at
// once (no move, size, activation or z-order change).
void ApplyBorderStyle(HWND window, int32_t style);

// Applies a changed style at once: the frame is recomputed without moving,
// sizing, activating or changing z-order. Nothing happens when the bits are
// already as asked.
void ChangeWindowStyle(HWND window, DWORD remove, DWORD add);

// The window's rectangle in its parent's client coordinates (screen ones for a
// pop-up window or one without parent).
RECT PlacedRectangle(HWND window);

}  // namespace quillet
