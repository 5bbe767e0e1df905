#pragma once
// What a unit hands the runtime to have one of its events handled (services
// 2008 and 2031), and the numbers of the events every unit shares. The road
// from there to the handler is written in runtime/events/event_dispatch.h.
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

// The common events every unit raises from window messages.
namespace CommonEvent {
enum : int32_t {
    LeftDown = -1, LeftUp = -2, LeftDoubleClick = -3, RightDown = -4, RightUp = -5, MouseMove = -6, GotFocus = -7,
    LostFocus = -8, KeyDown = -9, KeyUp = -10, Character = -11, Wheel = -12,
};
}  // namespace CommonEvent

}  // namespace quillet
