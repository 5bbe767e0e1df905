#pragma once
// Events: units raise them by number; the dispatcher finds the handler bound
// in the window's template and calls it with the arguments. "Raise" is always
// the unit's side (asking for its event to be handled), "dispatch" the
// runtime's (finding and calling the handler).
//
// The road of one click on a run button, from the message to the handler:
//  1. BUTTON control: WM_LBUTTONUP → WM_COMMAND (BN_CLICKED) to its parent.
//  2. framework/wnd.cpp, CWnd::WndProcEntry → ReflectToSender → the button's
//     CWnd::OnChildNotify: WindowProc(WM_REFLECT_BASE + WM_COMMAND).
//  3. runtime/units/button/button_unit.cpp, ButtonUnit::WindowProc →
//     OnClicked → UnitObject::RaiseEvent(0) (unit_object.h, RaiseUnitEvent):
//     an EventRecord handed to NotifyRuntime(ServiceCode::RaiseEvent).
//  4. runtime/services/service_table.cpp, DispatchService → ServeRaiseEvent
//     (runtime/services/unit_services.cpp) → DispatchEvent below.
//  5. event_dispatch.cpp: FindHandler (the binding of the record, or of the
//     record its event source names) → CallHandler, which starts a run
//     (runtime/events/run_progress.h) and, once the outermost handler returns,
//     hands over held output (runtime/units/held_output.h).
//  6. The handler's address is HandlerBase + its template offset, relocated at
//     load (runtime/template/window_table.h, RelocateHandlers); app/program.cpp
//     writes the entries, each a jump to a handler in app/ (handler_list.h).
#include <cstdint>

#include "runtime/template/unit_id.h"
#include "runtime/units/event_record.h"

namespace quillet {

// A compiled handler: the event's arguments as 32-bit words (an 8-byte value
// as two, low word first); it says whether it returned a value, and the value.
struct HandlerResult {
    uint32_t hasValue;
    uint32_t low;
    uint32_t high;
};
using EventHandler = HandlerResult (*)(const uint32_t* args, int32_t argCount);

// Services 2008 and 2031 (a unit raises, the runtime dispatches): 1 when a
// handler was found and called, else 0.
int32_t DispatchEvent(EventRecord* record);
int32_t DispatchTypedEvent(TypedEventRecord* record);

// Raises an event with up to five word arguments; true with *result set when
// the handler returned a value.
bool RaiseSimpleEvent(UnitId windowId, UnitId unitId, int32_t event, const uint32_t* args = nullptr,
                      int32_t argCount = 0, uint32_t* result = nullptr);

// Whether the window's template binds a handler to the unit's event (the
// bindings that serve it, as raising would find them), whether or not events
// are suppressed now; false for a window or unit that is not there. A unit
// whose event needs something of the system first (dropped files) asks this
// at creation.
bool EventBound(UnitId windowId, UnitId unitId, int32_t event);

// Service 2017: the (window id, unit id) of the running handler's event.
bool CurrentEventSource(UnitId* windowId, UnitId* unitId);

}  // namespace quillet
