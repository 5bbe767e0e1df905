#pragma once
// Unit properties by (window id, unit id, property index, element index): the
// read and write support entries.
//
// The road of one property write, with who owns what at each hop:
//  1. app/ handler: compiled::WriteText / WriteInt (runtime/commands/
//     compiled_code.cpp) → the support entry, with the value as two words;
//     a text is the caller's, borrowed for the call.
//  2. runtime/services/support_entries.cpp → WriteUnitProperty below.
//  3. property_access.cpp: the common eight (below CommonPropertyCount) are
//     written here, to the window or the template record; a type's own go to
//     WriteOwnProperty → WriteTypeProperty (runtime/events/property_kinds.cpp),
//     which turns the words into a PropertyValue (PreparePropertyWrite: a
//     cursor is copied, a font field merged, into a PropertyWrite this hop owns
//     and frees after the call).
//  4. The type's interface 4 (runtime/units/unit_shape.h, SetUnitProperty) →
//     the unit's SetProperty, which copies what it keeps before it returns.
//  5. Its AfterWrite comes back: RebuildWindow makes WriteOwnProperty create
//     the unit's window again from its saved properties
//     (runtime/events/unit_recreation.cpp), with events suppressed.
// A read goes the same way back: GetProperty reports a value borrowed from the
// unit (unit_type.h, PropertyValue), which ConvertPropertyRead copies at once
// into a new text or byte set that the caller owns and frees.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

PropertyWords ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element);
void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element, uint32_t low,
                       uint32_t high);

}  // namespace quillet
