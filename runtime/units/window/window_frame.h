#pragma once
// The window's frame and placement: the styles of its border and caption, the
// system menu, its icons, topmost state and WindowState.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/units/window/window_data.h"

namespace quillet {

// The bits a BorderStyle adds: WS_THICKFRAME and WS_DLGFRAME for a sizable
// frame, WS_DLGFRAME for a fixed one, WS_EX_TOOLWINDOW for tool windows,
// WS_EX_CLIENTEDGE for a sunken client edge; nothing for 0.
struct BorderBits {
    DWORD style;
    DWORD exStyle;
};
BorderBits BorderStyleBits(int32_t borderStyle);
bool IsSizableBorder(int32_t borderStyle);

// What writing BorderStyle removes first.
constexpr DWORD BorderStyleMask = WS_DLGFRAME | WS_THICKFRAME;
constexpr DWORD BorderExStyleMask = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;

// The bits the frame recomputation decides, and their values for the options:
// with a border, a caption bar when the title is not empty or there is a
// control box, the system menu with the control box, always WS_DLGFRAME;
// the maximise and minimise boxes as asked.
constexpr DWORD FrameMask = WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
DWORD FrameBits(const WindowOptions& options);

// The style a window is created with: the runtime's bits (WS_DISABLED) with
// WS_CLIPCHILDREN, the border's and the frame's bits.
DWORD CreationStyle(uint32_t runtimeBits, const WindowOptions& options);

// Sets the frame bits when they differ from the window's, recomputing its frame.
void RecomputeFrame(HWND window, const WindowOptions& options);
// Replaces the border bits by those of options.borderStyle, then recomputes the frame.
void ApplyWindowBorder(HWND window, const WindowOptions& options);

// The top left corner that centres a window of this size on the screen.
POINT ScreenCentre(int32_t width, int32_t height);
// The work area of the monitor the window is on (of the desktop when the
// monitor cannot be asked).
RECT WorkAreaOf(HWND window);
// WindowState written to a visible window: 0 normal, 1 centred, 2 minimised,
// 3 maximised over the work area.
void ApplyWindowState(HWND window, int32_t state);
// What WindowState reads: 2 minimised, 3 maximised, else 0.
int32_t CurrentWindowState(HWND window);

// Closable 0 takes SC_CLOSE from the system menu; 1 resets the menu.
void ApplyClosable(HWND window, bool closable);
void ApplyTopmost(HWND window, bool topmost);

// The large and small icons a window shows, and whether they are its own.
struct WindowIcons {
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
    bool own = false;  // made from Icon bytes; the program's icons are not ours to destroy
};
// Icons from icon file bytes (or any picture); the program's icons when
// neither can be made.
WindowIcons MakeWindowIcons(const std::string& iconBytes);
// Gives the window the icons and destroys the ones it had, when they were its own.
void SetWindowIcons(HWND window, WindowIcons* current, WindowIcons next);
void DestroyWindowIcons(WindowIcons* icons);

}  // namespace quillet
