#include "runtime/units/window/window_units.h"

#include "runtime/units/unit_type.h"

namespace quillet {

UnitView ViewOf(WindowTemplate& window, int32_t index) {
    UnitView view;
    if (!window.working.HasIndex(index)) return view;
    UnitRecord record = window.working.RecordAt(index);
    if (record.IsMenuItem()) return view;
    view.index = index;
    view.id = window.working.IdAt(index);
    view.object = static_cast<CWnd*>(record.Object());
    if (view.object != nullptr && IsWindow(view.object->m_hWnd)) view.handle = view.object->m_hWnd;
    view.type = TypeDescriptorOf(record.TypeRef());
    view.flags = record.Flags();
    view.focusOrder = record.FocusOrder();
    return view;
}

int32_t RecordOfHandle(WindowTemplate& window, HWND handle) {
    if (handle == nullptr) return -1;
    UnitCollection& records = window.working;
    for (int32_t index = 0; index < records.Count(); ++index) {
        UnitRecord record = records.RecordAt(index);
        if (record.IsMenuItem()) continue;
        const auto* object = static_cast<const CWnd*>(record.Object());
        if (object != nullptr && object->m_hWnd == handle) return index;
    }
    return -1;
}

int32_t UnitOwning(WindowTemplate& window, HWND handle) {
    const int32_t own = RecordOfHandle(window, handle);
    if (own >= 1) return own;
    const int32_t parent = handle != nullptr ? RecordOfHandle(window, GetParent(handle)) : -1;
    return parent >= 1 ? parent : -1;
}

bool UnitWantsKey(const UnitView& unit, int32_t keyCode) {
    if (unit.type == nullptr || unit.object == nullptr) return false;
    const auto wantsKey = FindOperation<WantsKeyOperation>(*unit.type, InterfaceNumber::WantsKey);
    return wantsKey != nullptr && wantsKey(unit.object, keyCode) != 0;
}

bool UnitIsDefaultButton(const UnitView& unit) {
    if (unit.type == nullptr || unit.object == nullptr) return false;
    const auto isDefault = FindOperation<IsDefaultButtonOperation>(*unit.type, InterfaceNumber::IsDefaultButton);
    return isDefault != nullptr && isDefault(unit.object) != 0;
}

}  // namespace quillet
