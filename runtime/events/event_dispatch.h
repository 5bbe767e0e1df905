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
//  4. runtime/commands/services.cpp, DispatchService → ServeRaiseEvent
//     (runtime/units/unit_services.cpp) → DispatchEvent below.
//  5. event_dispatch.cpp: FindHandler (the binding of the record, or of the
//     record its event source names) → CallHandler, which starts a run
//     (runtime/app/run_progress.h) and, once the outermost handler returns,
//     hands over held output (runtime/app/held_output.h).
//  6. The handler's address is HandlerBase + its template offset, relocated at
//     load (runtime/template/window_table.h, RelocateHandlers); app/program.cpp
//     writes the entries, each a jump to a handler in app/ (handler_list.h).
#include <cstdint>

#include "runtime/template/unit_id.h"
#include "runtime/values/data_type.h"

namespace quillet {

// What a unit hands to service 2008. The raiser zeroes the last two words.
struct EventRecord {
    UnitId windowId;
    UnitId unitId;       // 0: the window itself
    int32_t event;       // the type's own events from 0; common events below 0
    int32_t argCount;    // 0 to 5
    uint32_t args[5];
    uint32_t hasResult;  // set to 1 when the handler returned a value
    uint32_t result;
};
static_assert(sizeof(EventRecord) == 11 * 4, "eleven 32-bit words");

// One argument of a typed event.
struct TypedEventArg {
    uint32_t low;
    uint32_t high;
    DataTypeCode type;
    uint32_t flags;      // TypedArgFlag bits
};
static_assert(sizeof(TypedEventArg) == 16, "four 32-bit words");

namespace TypedArgFlag {
constexpr uint32_t Reference = 1;
constexpr uint32_t Wide = 2;     // an 8-byte value
}  // namespace TypedArgFlag

// What a unit hands to service 2031.
struct TypedEventRecord {
    UnitId windowId;
    UnitId unitId;
    int32_t event;
    int32_t argCount;    // 0 to 12
    TypedEventArg args[12];
    uint32_t hasResult;
    uint32_t resultLow;
    uint32_t resultHigh;
};
static_assert(sizeof(TypedEventRecord) == 4 * 4 + 12 * 16 + 3 * 4, "header, twelve slots, result");

// A compiled handler: the event's arguments as 32-bit words (an 8-byte value
// as two, low word first); it says whether it returned a value, and the value.
struct HandlerResult {
    uint32_t hasValue;
    uint32_t low;
    uint32_t high;
};
using EventHandler = HandlerResult (*)(const uint32_t* args, int32_t argCount);

// The common events every unit raises from window messages.
namespace CommonEvent {
constexpr int32_t LeftDown = -1;
constexpr int32_t LeftUp = -2;
constexpr int32_t LeftDoubleClick = -3;
constexpr int32_t RightDown = -4;
constexpr int32_t RightUp = -5;
constexpr int32_t MouseMove = -6;
constexpr int32_t GotFocus = -7;
constexpr int32_t LostFocus = -8;
constexpr int32_t KeyDown = -9;
constexpr int32_t KeyUp = -10;
constexpr int32_t Character = -11;
constexpr int32_t Wheel = -12;
}  // namespace CommonEvent

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
