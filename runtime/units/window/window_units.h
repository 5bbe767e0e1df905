#pragma once
// The window's units as its key, focus and cursor handling see them: records
// of the working collection with their live windows and types. Other unit
// types are known only through their descriptors (TypeStateFlags, WantsKey,
// IsDefaultButton).
#include <windows.h>

#include <cstdint>

#include "framework/wnd.h"
#include "runtime/template/window_table.h"
#include "runtime/units/unit_type.h"

namespace quillet {

struct UnitView {
    int32_t index = -1;                         // record index; 0 is the window's own record
    UnitId id = 0;
    CWnd* object = nullptr;                     // the unit object; null when it has none
    HWND handle = nullptr;                      // its live window; null when none
    const UnitTypeDescriptor* type = nullptr;   // null when the type is unknown
    uint32_t flags = 0;                         // RecordFlag bits
    uint32_t focusOrder = 0;

    bool Live() const { return handle != nullptr; }
    TypeStateFlags State() const { return type != nullptr ? type->stateFlags : 0; }
    bool Has(TypeStateFlags bits) const { return (State() & bits) != 0; }
    bool Usable() const { return Live() && IsWindowVisible(handle) && IsWindowEnabled(handle); }
};

// A record of the window; an empty view for menu items and indexes out of range.
UnitView ViewOf(WindowTemplate& window, int32_t index);

// The record whose live window is the handle: 0 for the window itself, -1 for none.
int32_t RecordOfHandle(WindowTemplate& window, HWND handle);
// The unit a window belongs to: its own record, or its parent's (one level up); -1 for none.
int32_t UnitOwning(WindowTemplate& window, HWND handle);

// Through the unit's type: whether it keeps the key, whether it is the default button.
bool UnitWantsKey(const UnitView& unit, int32_t keyCode);
bool UnitIsDefaultButton(const UnitView& unit);

}  // namespace quillet
