#include "runtime/units/window/window_unit.h"

#include <shellapi.h>

#include <new>
#include <utility>

#include "runtime/events/run_progress.h"
#include "runtime/events/window_loader.h"
#include "runtime/template/window_menu.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/window_class.h"
#include "runtime/units/window/window_focus.h"
#include "runtime/units/window/window_shape.h"
#include "runtime/units/window/window_units.h"
#include "runtime/values/system_text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// Command ids from here up are the framework's own; they do nothing here.
constexpr UINT FrameworkCommandIds = 57600;

}  // namespace

bool StillAlive(HWND window, const CWnd* object) {
    return IsWindow(window) && CWnd::FromHandlePermanent(window) == object;
}

WindowUnit::WindowUnit(UnitId windowId, UnitId unitId, WindowOptions options)
    : UnitObject(windowId, unitId), options_(std::move(options)) {}

WindowUnit::~WindowUnit() {
    live_.sound.Stop();
    DropPictureBitmap();
    DestroyWindowIcons(&live_.icons);
}

bool WindowUnit::Create(uint32_t runtimeStyle, HWND owner, HMENU menu, int32_t left, int32_t top, int32_t width,
                        int32_t height) {
    const std::wstring className =
        options_.className.empty() ? DefaultWindowClass : WideFromText(options_.className.c_str());
    if (!RegisterPlainWindowClass(className.c_str(), UnitClassStyle)) return false;

    DWORD style = CreationStyle(runtimeStyle, options_);
    if (options_.windowState == 1) {
        const POINT centre = ScreenCentre(width, height);
        left = centre.x;
        top = centre.y;
    } else if (options_.windowState == 2) {
        style |= WS_MINIMIZE;
    } else if (options_.windowState == 3 && IsSizableBorder(options_.borderStyle)) {
        style |= WS_MAXIMIZE;
    }
    if (owner != nullptr) {
        style |= WS_POPUP;
    } else if (options_.standAlone == 0 || ModalCreationFlag()) {
        owner = ProgramOwnerWindow();
    }
    if (!CreateEx(BorderStyleBits(options_.borderStyle).exStyle, className.c_str(),
                  WideArgument(options_.caption).Get(), style, left, top, width, height, owner, menu))
        return false;

    HWND self = m_hWnd;
    // The system gives every overlapped window a caption at creation.
    RecomputeFrame(self, options_);
    RECT made;
    GetWindowRect(self, &made);
    if (!IsIconic(self) && !IsZoomed(self) && (made.right - made.left != width || made.bottom - made.top != height))
        SetWindowPos(self, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowIcons(self, &live_.icons, MakeWindowIcons(options_.icon));
    if (options_.shape != WindowShape::Rectangle) ApplyWindowShape(self, options_.shape);
    SendMessageW(self, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultUnitFont(WindowDpi(WindowId()))), FALSE);
    if (options_.alwaysOnTop != 0) ApplyTopmost(self, true);
    if (options_.closable == 0) ApplyClosable(self, false);
    StartBackSound();
    return true;
}

WindowTemplate* WindowUnit::Template() const { return ProgramWindows().Find(WindowId()); }

LRESULT WindowUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession(wParam, lParam);
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_MOVE: {
        const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
        RaiseEvent(WindowEvent::Moved);
        return answer;
    }
    case WM_SIZE: {
        const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
        OnSize(wParam);
        return answer;
    }
    case WM_SHOWWINDOW: {
        const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
        RaiseEvent(wParam != 0 ? WindowEvent::Shown : WindowEvent::Hidden);
        return answer;
    }
    case WM_ACTIVATE: return OnActivate(wParam, lParam);
    case WM_NCACTIVATE: return OnNcActivate(wParam, lParam);
    case WM_SETFOCUS: {
        HWND self = m_hWnd;
        const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);  // raises -7
        if (StillAlive(self, this)) OnSetFocus();
        return answer;
    }
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
        break;
    case WM_COMMAND:
        if (OnCommand(wParam)) return 0;
        break;
    case WM_SYSCOMMAND:
        // Without a close command in the system menu, Alt+F4 does not close either.
        if ((wParam & 0xFFF0) == SC_CLOSE && options_.closable == 0) return 0;
        break;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(m_hWnd, &client);
        if (HRGN area = CreateRectRgnIndirect(&client)) {
            PaintBackground(reinterpret_cast<HDC>(wParam), area);
            DeleteObject(area);
        }
        return 0;
    }
    case WM_DPICHANGED: OnDpiChanged(wParam, reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SETFONT:
        live_.font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) != 0) InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(live_.font);
    case UM_ARRANGE:
        live_.arranged = true;
        ArrangeDockedUnits();
        return 0;
    case UM_GET_UNIT_OBJECT: return reinterpret_cast<LRESULT>(static_cast<CWnd*>(this));
    case UM_TRAY_NOTIFY: OnTrayNotify(lParam); return 0;
    default: break;
    }
    return UnitObject::WindowProc(message, wParam, lParam);
}

// The window is gone: the runtime restores its template (unit id 0), then the object goes.
void WindowUnit::PostNcDestroy() {
    NotifyRuntime(ServiceCode::UnitDestroyed, WindowId(), 0);
    delete this;
}

// Two stages: event 12 may keep the window, then event 1 may. Handlers may
// close the window themselves, and with it this object.
void WindowUnit::OnClose() {
    HWND self = m_hWnd;
    const UnitId windowId = WindowId(), unitId = UnitIdOf();
    const bool keptAtRequest = HandlerRefused(windowId, unitId, WindowEvent::CloseRequested);
    if (!StillAlive(self, this) || keptAtRequest) return;
    const bool keptAtClosing = HandlerRefused(windowId, unitId, WindowEvent::Closing);
    if (!StillAlive(self, this) || keptAtClosing) return;
    ReenableForModalEnd();
    DestroyWindow();
}

// The windows a modal run disabled come back before the modal window goes, so
// that one of them can take the activation.
void WindowUnit::ReenableForModalEnd() {
    WindowTemplate* window = Template();
    if (window == nullptr) return;
    for (const auto& disabled : window->state.disabledForModal) {
        HWND other = static_cast<HWND>(disabled.window);
        if (IsWindow(other)) EnableWindow(other, disabled.wasEnabled ? TRUE : FALSE);
    }
    window->state.disabledForModal.clear();
}

LRESULT WindowUnit::OnQueryEndSession(WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = UnitObject::WindowProc(WM_QUERYENDSESSION, wParam, lParam);
    if (HandlerRefused(WindowId(), UnitIdOf(), WindowEvent::Closing)) return FALSE;
    return answer;
}

void WindowUnit::OnDestroy() {
    HWND self = m_hWnd;
    live_.sound.Stop();
    RaiseEvent(WindowEvent::Destroyed);
    if (!StillAlive(self, this)) return;
    if (live_.helpOpened) WinHelpW(self, nullptr, HELP_QUIT, 0);
    if (HMENU menu = GetMenu(self)) {
        SetMenu(self, nullptr);
        DestroyMenu(menu);
        if (WindowTemplate* window = Template()) window->state.menu = nullptr;
    }
    NOTIFYICONDATAW tray{};
    tray.cbSize = sizeof tray;
    tray.hWnd = self;
    tray.uID = TrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &tray);
}

void WindowUnit::OnSize(WPARAM kind) {
    if (kind != SIZE_MINIMIZED && options_.shape != WindowShape::Rectangle) ApplyWindowShape(m_hWnd, options_.shape);
    if (live_.arranged) ArrangeDockedUnits();
    RaiseEvent(WindowEvent::Resized);
}

// Not re-entered while it runs, its events included: a handler that opens a
// message box deactivates the window meanwhile.
LRESULT WindowUnit::OnActivate(WPARAM wParam, LPARAM lParam) {
    if (live_.inActivation) return UnitObject::WindowProc(WM_ACTIVATE, wParam, lParam);
    const bool active = LOWORD(wParam) != WA_INACTIVE;
    if (active && PassActivationToModal()) return 0;
    HWND self = m_hWnd;
    live_.inActivation = true;
    if (!active) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(self, focus)) live_.rememberedFocus = focus;
    }
    const LRESULT answer = UnitObject::WindowProc(WM_ACTIVATE, wParam, lParam);
    UpdateWindow(self);
    if (active && !live_.activatedOnce) {
        live_.activatedOnce = true;
        RaiseEvent(WindowEvent::FirstActivation);
        if (!StillAlive(self, this)) return answer;
    }
    RaiseEvent(active ? WindowEvent::Activated : WindowEvent::Deactivated);
    if (StillAlive(self, this)) live_.inActivation = false;
    return answer;
}

// A window that a modal run of the runtime disabled hands the activation to the modal window.
bool WindowUnit::PassActivationToModal() {
    HWND self = m_hWnd;
    const uint32_t modalId = ModalWindowId();
    if (IsWindowEnabled(self) || modalId == 0) return false;
    WindowTable& table = ProgramWindows();
    bool disabledByModal = false;
    for (int32_t i = 0; i < table.Count() && !disabledByModal; ++i)
        for (const auto& disabled : table.At(i)->state.disabledForModal)
            if (disabled.window == self) disabledByModal = true;
    WindowTemplate* modal = table.Find(modalId);
    HWND target = modal != nullptr ? LiveWindowOf(*modal) : nullptr;
    if (!disabledByModal || target == nullptr || target == self || !IsWindowEnabled(target) ||
        !IsWindowVisible(target))
        return false;
    SetActiveWindow(target);
    return true;
}

LRESULT WindowUnit::OnNcActivate(WPARAM wParam, LPARAM lParam) {
    if (wParam == FALSE && options_.keepActiveLook != 0 && IsWindowEnabled(m_hWnd))
        return UnitObject::WindowProc(WM_NCACTIVATE, TRUE, lParam);  // painted active, still deactivated
    return UnitObject::WindowProc(WM_NCACTIVATE, wParam, lParam);
}

void WindowUnit::OnSetFocus() {
    WindowTemplate* window = Template();
    if (window == nullptr) return;
    HWND target = live_.rememberedFocus;
    if (target == nullptr || !IsChild(m_hWnd, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = FirstFocusUnit(*window);
    if (target != nullptr) SetFocus(target);
}

// The cursor of the unit under the mouse (or of a window inside one), or of the
// window over its client area; no cursor of its own leaves the default. While
// a long run shows its progress, the app-starting cursor over all of them.
bool WindowUnit::OnSetCursor(HWND target, UINT hitTest) {
    if (hitTest == HTCLIENT && ShowsRunProgress(m_hWnd)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)));
        return true;
    }
    WindowTemplate* window = Template();
    if (window == nullptr) return false;
    const int32_t index = target == m_hWnd ? (hitTest == HTCLIENT ? 0 : -1) : UnitOwning(*window, target);
    if (index < 0) return false;
    auto cursor = static_cast<HCURSOR>(window->working.RecordAt(index).Cursor());
    if (cursor == nullptr) return false;
    SetCursor(cursor);
    return true;
}

// Menu commands: id 20000 + n raises event 0 of the n-th menu item.
bool WindowUnit::OnCommand(WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    if (id >= FrameworkCommandIds) return true;
    WindowTemplate* window = Template();
    if (id < FirstMenuCommandId || window == nullptr) return false;
    int32_t first = 0, count = 0;
    FindMenuItemRun(window->working, &first, &count);
    const auto item = static_cast<int32_t>(id - FirstMenuCommandId);
    if (item >= count) return false;
    RaiseUnitEvent(WindowId(), window->working.IdAt(first + item), 0);
    return true;
}

void WindowUnit::OnTrayNotify(LPARAM mouseMessage) {
    uint32_t action = 0;
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP: action = 1; break;
    case WM_LBUTTONDBLCLK: action = 2; break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: action = 3; break;
    default: return;
    }
    RaiseEvent(WindowEvent::TrayIcon, {action});
}

// Docked units (TypeStateFlags 0x100000) size themselves, then stack from the
// top (low style bits 1) or the bottom (3), the last in template order first;
// only their vertical position changes.
void WindowUnit::ArrangeDockedUnits() {
    WindowTemplate* window = Template();
    if (window == nullptr) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    LONG top = client.top, bottom = client.bottom;
    for (int32_t index = window->working.Count() - 1; index >= 1; --index) {
        const UnitView unit = ViewOf(*window, index);
        if (!unit.Live() || !unit.Has(TypeState::ArrangeParent)) continue;
        SendMessageW(unit.handle, UM_DOCK_SIZE, 0, 0);
        if (!IsWindow(unit.handle)) continue;
        const auto dock = static_cast<DWORD>(GetWindowLongW(unit.handle, GWL_STYLE)) & 3;
        if (dock != 1 && dock != 3) continue;
        RECT area;
        GetWindowRect(unit.handle, &area);
        MapWindowPoints(nullptr, GetParent(unit.handle), reinterpret_cast<POINT*>(&area), 2);
        const LONG height = area.bottom - area.top;
        LONG y = top;
        if (dock == 1) {
            top += height;
        } else {
            bottom -= height;
            y = bottom;
        }
        SetWindowPos(unit.handle, nullptr, area.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

WindowUnit* WindowUnit::CreateUnit(const void* data, int32_t length, const UnitPlacement& placement) {
    WindowOptions options;
    if (!ReadWindowData(data, length, &options)) return nullptr;
    auto* window = new (std::nothrow) WindowUnit(placement.windowId, placement.unitId, std::move(options));
    if (window == nullptr) return nullptr;
    // A failed creation leaves the object ours; the loader destroys the menu it made.
    const RECT& area = placement.area;
    if (!window->Create(placement.extraStyle, placement.parent, placement.menu, area.left, area.top,
                        area.right - area.left, area.bottom - area.top)) {
        delete window;
        return nullptr;
    }
    return window;
}

}  // namespace quillet
