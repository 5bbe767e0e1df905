#include "runtime/events/event_dispatch.h"

#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/held_handover.h"
#include "runtime/events/run_progress.h"
#include "runtime/template/window_table.h"
#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

// The event whose handler is running; windowId 0 when none is.
struct EventSource {
    UnitId windowId;
    UnitId unitId;
};
EventSource currentSource = {0, 0};

// Handlers running, nested ones included.
int32_t runningHandlers = 0;

// Calls a handler; the outermost one starts a run (run_progress.h). Once it
// has returned, units hand over the output they held back while it ran if it
// goes in one piece (the message loop hands over the rest).
HandlerResult CallHandler(EventHandler handler, const uint32_t* args, int32_t count, UnitId windowId) {
    if (runningHandlers++ == 0) BeginRun(windowId);
    const HandlerResult result = handler(args, count);
    if (--runningHandlers == 0) {
        HandOverShortHeldOutput();
        EndRunHandler();
    }
    return result;
}

[[noreturn]] void ReportEventError(const char* message, UnitId windowId, UnitId unitId) {
    ReportFatalError(message, 0, static_cast<int32_t>(windowId), static_cast<int32_t>(unitId));
}

// The record whose bindings serve a unit: its own, or those of the record its
// event-source id names, followed while the type stays the same. A chain that
// loops back is cut after as many steps as there are records.
int32_t BindingRecord(UnitCollection& records, int32_t index) {
    const UnitTypeRef type = records.RecordAt(index).TypeRef();
    for (int32_t steps = 0; steps < records.Count(); ++steps) {
        const UnitId source = records.RecordAt(index).EventSourceId();
        if (source == 0) break;
        const int32_t next = records.IndexOf(source);
        if (next < 0 || records.RecordAt(next).TypeRef() != type) break;
        index = next;
    }
    return index;
}

// The handler a record binds to the event; 0 for none.
uint32_t BoundHandler(const UnitRecord& record, int32_t event) {
    for (uint32_t i = 0; i < record.BindingCount(); ++i)
        if (record.BindingEvent(i) == event) return record.BindingHandler(i);
    return 0;
}

// Finds the handler for an event and makes its unit the current event source;
// null (and no change) when events are suppressed or nothing is bound.
EventHandler FindHandler(UnitId windowId, UnitId unitId, int32_t event) {
    if (EventsSuppressed()) return nullptr;
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr) ReportEventError("未找到引发事件的窗口", windowId, 0);
    UnitCollection& records = window->working;
    const int32_t index = unitId == 0 ? (records.IsEmpty() ? -1 : 0) : records.IndexOf(unitId);
    if (index < 0) ReportEventError("未找到引发事件的窗口组件", windowId, unitId);

    UnitRecord bound = records.RecordAt(BindingRecord(records, index));
    const UnitTypeDescriptor* type = TypeDescriptorOf(bound.TypeRef());
    if (type == nullptr || (type->stateFlags & (TypeState::RaisesEvents | TypeState::RaisesEventsAlt)) == 0)
        ReportEventError("引发事件的窗口组件无效", windowId, unitId);

    const uint32_t handler = bound.IsMenuItem() ? bound.MenuHandler() : BoundHandler(bound, event);
    if (handler == 0) return nullptr;
    currentSource = {windowId, unitId != 0 ? unitId : records.IdAt(0)};
    return reinterpret_cast<EventHandler>(static_cast<uintptr_t>(handler));
}

// Words of one typed argument as the handler receives them.
int32_t PassTypedArg(const TypedEventArg& arg, uint32_t* words) {
    const bool wide = (arg.flags & TypedArgFlag::Wide) != 0 || arg.type == 0x00010003 ||
                      arg.type == DataType::DateTime || arg.type == 0x80000008 || arg.type == DataType::Long ||
                      arg.type == DataType::Double;
    if ((arg.flags & TypedArgFlag::Reference) != 0 || !wide) {
        uint32_t word = arg.low;
        if ((arg.flags & TypedArgFlag::Reference) == 0) {
            if (arg.type == DataType::Byte) word = arg.low & 0xFF;
            if (arg.type == DataType::Short) word = static_cast<uint32_t>(static_cast<int16_t>(arg.low & 0xFFFF));
        }
        words[0] = word;
        return 1;
    }
    words[0] = arg.low;
    words[1] = arg.high;
    return 2;
}

}  // namespace

bool EventBound(UnitId windowId, UnitId unitId, int32_t event) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr) return false;
    UnitCollection& records = window->working;
    const int32_t index = unitId == 0 ? (records.IsEmpty() ? -1 : 0) : records.IndexOf(unitId);
    if (index < 0) return false;
    const UnitRecord bound = records.RecordAt(BindingRecord(records, index));
    return !bound.IsMenuItem() && BoundHandler(bound, event) != 0;
}

int32_t DispatchEvent(EventRecord* record) {
    EventHandler handler = FindHandler(record->windowId, record->unitId, record->event);
    if (handler == nullptr) return 0;
    const int32_t count = record->argCount < 0 ? 0 : (record->argCount > 5 ? 5 : record->argCount);
    const HandlerResult result = CallHandler(handler, record->args, count, record->windowId);
    currentSource.windowId = 0;  // a nested event clears it for its raiser too
    if (result.hasValue != 0) {
        record->hasResult = 1;
        record->result = result.low;
    }
    return 1;
}

int32_t DispatchTypedEvent(TypedEventRecord* record) {
    EventHandler handler = FindHandler(record->windowId, record->unitId, record->event);
    if (handler == nullptr) return 0;
    uint32_t words[24];
    int32_t count = 0;
    const int32_t args = record->argCount < 0 ? 0 : (record->argCount > 12 ? 12 : record->argCount);
    for (int32_t i = 0; i < args; ++i) count += PassTypedArg(record->args[i], words + count);
    const HandlerResult result = CallHandler(handler, words, count, record->windowId);
    currentSource.windowId = 0;
    if (result.hasValue != 0) {
        record->hasResult = 1;
        record->resultLow = result.low;
        record->resultHigh = result.high;
    }
    return 1;
}

bool RaiseSimpleEvent(UnitId windowId, UnitId unitId, int32_t event, const uint32_t* args, int32_t argCount,
                      uint32_t* result) {
    EventRecord record = {windowId, unitId, event, argCount, {}, 0, 0};
    for (int32_t i = 0; i < argCount && i < 5; ++i) record.args[i] = args[i];
    DispatchEvent(&record);
    if (record.hasResult != 0 && result != nullptr) *result = record.result;
    return record.hasResult != 0;
}

bool CurrentEventSource(UnitId* windowId, UnitId* unitId) {
    if (currentSource.windowId == 0) return false;
    *windowId = currentSource.windowId;
    *unitId = currentSource.unitId;
    return true;
}

}  // namespace quillet
