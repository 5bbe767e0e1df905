#pragma once
// What every unit object shares, whatever framework class it is built on: the
// ids it was created with, focus events after the default handling, its own
// events raised through the runtime, and the runtime told when it is gone.
//
//   class EditBoxUnit : public UnitObject<CEdit> { ... };
//
// A unit's record slot holds the object as a CWnd*, so the runtime reaches its
// window handle without knowing its type.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "framework/wnd.h"
#include "runtime/units/event_record.h"
#include "runtime/units/notify_runtime.h"

namespace quillet {

// Raises an event of a unit through the runtime (service 2008); true with
// *result when the handler returned a value.
inline bool RaiseUnitEvent(UnitId windowId, UnitId unitId, int32_t event, std::initializer_list<uint32_t> args = {},
                           uint32_t* result = nullptr) {
    EventRecord record = {windowId, unitId, event, 0, {}, 0, 0};
    for (uint32_t arg : args)
        if (record.argCount < 5) record.args[record.argCount++] = arg;
    NotifyRuntime(ServiceCode::RaiseEvent, reinterpret_cast<uintptr_t>(&record));
    if (record.hasResult != 0 && result != nullptr) *result = record.result;
    return record.hasResult != 0;
}

// Raises an event without arguments; true when a handler was found and called.
inline bool RaiseUnitEventCalledHandler(UnitId windowId, UnitId unitId, int32_t event) {
    EventRecord record = {windowId, unitId, event, 0, {}, 0, 0};
    return NotifyRuntime(ServiceCode::RaiseEvent, reinterpret_cast<uintptr_t>(&record)) != 0;
}

// True when a handler ran and returned false (0): a veto.
inline bool HandlerRefused(UnitId windowId, UnitId unitId, int32_t event) {
    uint32_t result = 1;
    return RaiseUnitEvent(windowId, unitId, event, {}, &result) && result == 0;
}

// Where and for whom a unit is created: CreateUnit's arguments.
struct UnitPlacement {
    uint32_t extraStyle;  // WS_DISABLED, WS_TABSTOP from the template
    HWND parent;          // a window's owner
    uint32_t controlId;
    HMENU menu;           // a window's menu; null for the others
    RECT area;            // in the parent's client coordinates
    UnitId windowId;
    UnitId unitId;
};
static_assert(sizeof(UnitPlacement) == 10 * 4, "ten 32-bit words");

template <class FrameworkWindow>
class UnitObject : public FrameworkWindow {
public:
    UnitId WindowId() const { return windowId_; }
    UnitId UnitIdOf() const { return unitId_; }

protected:
    UnitObject(UnitId windowId, UnitId unitId) : windowId_(windowId), unitId_(unitId) {}

    bool RaiseEvent(int32_t event, std::initializer_list<uint32_t> args = {}, uint32_t* result = nullptr) {
        return RaiseUnitEvent(windowId_, unitId_, event, args, result);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            // The focus events come after the control has taken or left the focus.
            // A handler run inside that handling may have closed the window and
            // deleted this object: only copies are used afterwards.
            const UnitId windowId = windowId_, unitId = unitId_;
            HWND self = this->m_hWnd;
            const LRESULT answer = FrameworkWindow::WindowProc(message, wParam, lParam);
            if (IsWindow(self))
                RaiseUnitEvent(windowId, unitId, message == WM_SETFOCUS ? CommonEvent::GotFocus : CommonEvent::LostFocus);
            return answer;
        }
        default:
            return FrameworkWindow::WindowProc(message, wParam, lParam);
        }
    }

    // The window is gone: the runtime clears the record (a window also restores
    // its template), then the object goes.
    void PostNcDestroy() override {
        NotifyRuntime(ServiceCode::UnitDestroyed, windowId_, unitId_);
        delete this;
    }

private:
    UnitId windowId_;
    UnitId unitId_;
};

}  // namespace quillet
