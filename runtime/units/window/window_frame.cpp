#include "runtime/units/window/window_frame.h"

#include <cstring>
#include <vector>

#include "runtime/units/notify_runtime.h"
#include "runtime/units/picture.h"
#include "runtime/units/window_style.h"

namespace quillet {
namespace {

// By BorderStyle 0..6.
constexpr BorderBits BorderTable[] = {
    {0, 0},                                          // 0 none
    {WS_THICKFRAME | WS_DLGFRAME, 0},                // 1 sizable
    {WS_DLGFRAME, 0},                                // 2 fixed
    {WS_THICKFRAME | WS_DLGFRAME, WS_EX_TOOLWINDOW}, // 3 sizable tool window
    {WS_DLGFRAME, WS_EX_TOOLWINDOW},                 // 4 fixed tool window
    {WS_THICKFRAME | WS_DLGFRAME, WS_EX_CLIENTEDGE}, // 5 sizable, sunken client edge
    {WS_DLGFRAME, WS_EX_CLIENTEDGE},                 // 6 fixed, sunken client edge
};
constexpr int32_t BorderStyleCount = static_cast<int32_t>(sizeof BorderTable / sizeof BorderTable[0]);

void FrameChanged(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

uint16_t Word16(const uint8_t* at) {
    uint16_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}
uint32_t Word32(const uint8_t* at) {
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// An icon of the size from the bytes of an icon file: a 6-byte header (0, 1,
// count), 16-byte entries (size of the image at 8, its offset at 12), the
// images. The system picks the entry once the directory has the layout of an
// icon resource (14-byte entries ending in an id).
HICON IconFromIconFile(const std::string& file, int width, int height) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    const size_t length = file.size();
    if (length < 6 || Word16(bytes) != 0 || Word16(bytes + 2) != 1) return nullptr;
    const uint16_t count = Word16(bytes + 4);
    if (count == 0 || 6 + 16 * static_cast<size_t>(count) > length) return nullptr;
    std::vector<uint8_t> directory(6 + 14 * static_cast<size_t>(count));
    std::memcpy(directory.data(), bytes, 6);
    for (uint16_t i = 0; i < count; ++i) {
        std::memcpy(&directory[6 + 14 * i], bytes + 6 + 16 * i, 12);
        const uint16_t id = static_cast<uint16_t>(i + 1);
        std::memcpy(&directory[6 + 14 * i + 12], &id, 2);
    }
    const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, width, height, LR_DEFAULTCOLOR);
    if (id < 1 || id > count) return nullptr;
    const uint8_t* entry = bytes + 6 + 16 * (id - 1);
    const uint32_t size = Word32(entry + 8), offset = Word32(entry + 12);
    if (size == 0 || offset > length || size > length - offset) return nullptr;
    std::vector<uint8_t> image(bytes + offset, bytes + offset + size);
    return CreateIconFromResourceEx(image.data(), size, TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
}

// Any other picture becomes an icon over the button face.
HICON IconOfSize(const std::string& bytes, int width, int height) {
    if (HICON icon = IconFromIconFile(bytes, width, height)) return icon;
    const auto picture = DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return picture != nullptr ? picture->ToIcon(GetSysColor(COLOR_BTNFACE), width, height) : nullptr;
}

HICON ResizedIcon(HICON icon, int width, int height) {
    return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, 0));
}

// Restoring a window minimised from the maximised state maximises it again:
// a normal window may take two steps.
void RestoreToNormal(HWND window) {
    for (int step = 0; step < 2 && (IsIconic(window) || IsZoomed(window)); ++step) ShowWindow(window, SW_RESTORE);
}

}  // namespace

BorderBits BorderStyleBits(int32_t borderStyle) {
    return borderStyle >= 0 && borderStyle < BorderStyleCount ? BorderTable[borderStyle] : BorderBits{0, 0};
}

bool IsSizableBorder(int32_t borderStyle) { return (BorderStyleBits(borderStyle).style & WS_THICKFRAME) != 0; }

DWORD FrameBits(const WindowOptions& options) {
    DWORD bits = 0;
    if (options.borderStyle != WindowBorder::None) {
        bits |= WS_DLGFRAME;
        if (!options.caption.empty() || options.controlBox != 0) bits |= WS_CAPTION;
        if (options.controlBox != 0) bits |= WS_SYSMENU;
    }
    if (options.maxButton != 0) bits |= WS_MAXIMIZEBOX;
    if (options.minButton != 0) bits |= WS_MINIMIZEBOX;
    return bits;
}

DWORD CreationStyle(uint32_t runtimeBits, const WindowOptions& options) {
    // The runtime's WS_TABSTOP is WS_MAXIMIZEBOX for a top-level window: the frame decides it.
    DWORD style = (runtimeBits & ~WS_CHILD) | WS_CLIPCHILDREN;
    style = (style & ~BorderStyleMask) | BorderStyleBits(options.borderStyle).style;
    return (style & ~FrameMask) | FrameBits(options);
}

void RecomputeFrame(HWND window, const WindowOptions& options) {
    ChangeWindowStyle(window, FrameMask, FrameBits(options));
}

void ApplyWindowBorder(HWND window, const WindowOptions& options) {
    const BorderBits bits = BorderStyleBits(options.borderStyle);
    const auto oldStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto oldExStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    DWORD style = (oldStyle & ~BorderStyleMask) | bits.style;
    style = (style & ~FrameMask) | FrameBits(options);
    const DWORD exStyle = (oldExStyle & ~BorderExStyleMask) | bits.exStyle;
    if (style == oldStyle && exStyle == oldExStyle) return;
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    FrameChanged(window);
}

POINT ScreenCentre(int32_t width, int32_t height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (HMONITOR on = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); on != nullptr && GetMonitorInfoW(on, &monitor))
        return monitor.rcWork;
    RECT desktop{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
    return desktop;
}

void ApplyWindowState(HWND window, int32_t state) {
    switch (state) {
    case 0:
        RestoreToNormal(window);
        ShowWindow(window, SW_SHOWNORMAL);
        break;
    case 1: {
        RestoreToNormal(window);
        RECT area;
        GetWindowRect(window, &area);
        const POINT centre = ScreenCentre(area.right - area.left, area.bottom - area.top);
        if (centre.x != area.left || centre.y != area.top)
            SetWindowPos(window, nullptr, centre.x, centre.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case 2: ShowWindow(window, SW_MINIMIZE); break;
    case 3: {
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        ShowWindow(window, SW_MAXIMIZE);
        const RECT work = WorkAreaOf(window);
        SetWindowPos(window, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(window, SW_SHOW);
        break;
    }
    default: break;
    }
}

int32_t CurrentWindowState(HWND window) {
    if (IsIconic(window)) return 2;
    if (IsZoomed(window)) return 3;
    return 0;
}

void ApplyClosable(HWND window, bool closable) {
    if (closable) {
        GetSystemMenu(window, TRUE);  // back to the system's own menu
        return;
    }
    if (HMENU menu = GetSystemMenu(window, FALSE)) RemoveMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

void ApplyTopmost(HWND window, bool topmost) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

WindowIcons MakeWindowIcons(const std::string& iconBytes) {
    WindowIcons icons;
    if (!iconBytes.empty()) {
        const int bigWidth = GetSystemMetrics(SM_CXICON), bigHeight = GetSystemMetrics(SM_CYICON);
        const int smallWidth = GetSystemMetrics(SM_CXSMICON), smallHeight = GetSystemMetrics(SM_CYSMICON);
        icons.largeIcon = IconOfSize(iconBytes, bigWidth, bigHeight);
        icons.smallIcon = IconOfSize(iconBytes, smallWidth, smallHeight);
        if (icons.largeIcon != nullptr && icons.smallIcon == nullptr)
            icons.smallIcon = ResizedIcon(icons.largeIcon, smallWidth, smallHeight);
        if (icons.smallIcon != nullptr && icons.largeIcon == nullptr)
            icons.largeIcon = ResizedIcon(icons.smallIcon, bigWidth, bigHeight);
        if (icons.largeIcon != nullptr || icons.smallIcon != nullptr) {
            icons.own = true;
            return icons;
        }
    }
    HICON program[2] = {nullptr, nullptr};
    NotifyRuntime(ServiceCode::ProgramIcons, reinterpret_cast<uintptr_t>(program));
    return {program[0], program[1], false};
}

void SetWindowIcons(HWND window, WindowIcons* current, WindowIcons next) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(next.largeIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(next.smallIcon));
    DestroyWindowIcons(current);
    *current = next;
}

void DestroyWindowIcons(WindowIcons* icons) {
    if (icons->own) {
        if (icons->largeIcon != nullptr) DestroyIcon(icons->largeIcon);
        if (icons->smallIcon != nullptr && icons->smallIcon != icons->largeIcon) DestroyIcon(icons->smallIcon);
    }
    *icons = WindowIcons{};
}

}  // namespace quillet
