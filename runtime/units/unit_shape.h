#pragma once
// The one shape of every unit type. Its unit class offers
//
//   static Unit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement);
//   AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
//   int32_t GetProperty(int32_t ownIndex, PropertyValue* value);        // 1: a known index
//
// and unit_operations.cpp lists the type's operations (unit_operation.h) made
// from these by the adapters below, which take the runtime's arguments, check
// for a missing unit or value and reach the unit object through its CWnd slot.
// What only one type has (icon data, keys it wants, the default button) that
// type writes out in its own files.
#include <windows.h>

#include <cstdint>

#include "framework/wnd.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/unit_type.h"

namespace quillet {

// A unit object from the pointer the runtime keeps: the object as a CWnd*.
template <class Unit>
Unit* AsUnit(void* unit) {
    return static_cast<Unit*>(static_cast<CWnd*>(unit));
}

// Interface 1 through a CreateUnit function (null when it makes no unit).
template <auto Create>
void* CreateUnitWith(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId,
                     void* menu, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId,
                     uint32_t unitId, uint32_t, int32_t) {
    const UnitPlacement placement = {extraStyle, static_cast<HWND>(parent), controlId, static_cast<HMENU>(menu),
                                     RECT{left, top, left + width, top + height}, windowId, unitId};
    CWnd* unit = Create(data, length, placement);
    return unit;
}

// Interface 4. The runtime's word is cleared whatever happens; the answer is
// the library's: 1 to make the unit's window again.
template <class Unit>
int32_t SetUnitProperty(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord) {
    if (clearedWord != nullptr) *clearedWord = 0;
    if (unit == nullptr || value == nullptr) return 0;
    return AsUnit<Unit>(unit)->SetProperty(ownIndex, *value) == AfterWrite::RebuildWindow ? 1 : 0;
}

// Interface 6.
template <class Unit>
int32_t GetUnitProperty(void* unit, int32_t ownIndex, PropertyValue* value) {
    if (unit == nullptr || value == nullptr) return 0;
    return AsUnit<Unit>(unit)->GetProperty(ownIndex, value);
}

}  // namespace quillet
