#include "runtime/events/tab_pages.h"

#include "framework/wnd.h"
#include "runtime/events/property_kinds.h"
#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

HWND LiveHandle(const UnitRecord& record) {
    auto* object = static_cast<CWnd*>(record.Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

// The unit's own shown state: inside a hidden tab (or window) IsWindowVisible
// is false for every unit, yet those of other pages must still be hidden.
bool HasVisibleStyle(HWND unit) { return (GetWindowLongW(unit, GWL_STYLE) & WS_VISIBLE) != 0; }

TypeStateFlags StateOf(const UnitRecord& record) {
    const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
    return type != nullptr ? type->stateFlags : 0;
}

// A hidden unit of a container that paints nothing leaves a hole: what lies
// behind it is painted again.
void InvalidateInParent(HWND unit, HWND tab) {
    HWND parent = GetParent(tab);
    RECT area;
    GetWindowRect(unit, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(parent, &area, TRUE);
}

}  // namespace

int32_t CurrentTabPage(WindowTemplate& window, int32_t tabIndex) {
    UnitRecord tab = window.working.RecordAt(tabIndex);
    const UnitTypeDescriptor* type = TypeDescriptorOf(tab.TypeRef());
    if (type == nullptr || LiveHandle(tab) == nullptr) return 0;
    const auto page = static_cast<int32_t>(ReadTypeProperty(*type, tab.Object(), TabCurrentPageProperty, -1).low);
    return page < 0 ? 0 : page;
}

int32_t PageOfUnit(UnitRecord tab, UnitId unitId) {
    int32_t page = 0;
    for (uint32_t i = 0; i < tab.ChildCount(); ++i) {
        const UnitId child = tab.ChildWord(i);
        if (child == 0) {
            ++page;
        } else if (child == unitId) {
            return page;
        }
    }
    return -1;
}

bool UnitOnShownPage(WindowTemplate& window, UnitId unitId) {
    UnitCollection& records = window.working;
    for (int32_t i = 1; i < records.Count(); ++i) {
        UnitRecord record = records.RecordAt(i);
        if (record.IsMenuItem() || record.TypeRef() != TabControlType || LiveHandle(record) == nullptr) continue;
        const int32_t page = PageOfUnit(record, unitId);
        if (page >= 0 && page != CurrentTabPage(window, i)) return false;
    }
    return true;
}

void ShowTabPage(WindowTemplate& window, int32_t tabIndex, bool respectFlags, int32_t givenPage, bool moveFocus) {
    UnitCollection& records = window.working;
    UnitRecord tab = records.RecordAt(tabIndex);
    HWND tabHandle = LiveHandle(tab);
    if (tabHandle == nullptr) return;
    const bool pageGiven = givenPage >= 0;
    const int32_t shownPage = pageGiven ? givenPage : CurrentTabPage(window, tabIndex);

    HWND focusTarget = nullptr;
    uint32_t lowestOrder = 0;
    int32_t page = 0;
    // Copied out first: showing a unit may run code that changes the collection.
    std::vector<UnitId> children;
    for (uint32_t i = 0; i < tab.ChildCount(); ++i) children.push_back(tab.ChildWord(i));
    for (UnitId child : children) {
        if (child == 0) {
            ++page;
            continue;
        }
        const int32_t index = records.IndexOf(child);
        if (index < 0) continue;
        UnitRecord unit = records.RecordAt(index);
        HWND handle = LiveHandle(unit);
        if (handle == nullptr) continue;
        if (page != shownPage) {
            if (HasVisibleStyle(handle)) {
                if (pageGiven) InvalidateInParent(handle, tabHandle);
                ShowWindow(handle, SW_HIDE);
            }
            continue;
        }
        const TypeStateFlags state = StateOf(unit);
        if (!respectFlags) {
            ShowWindow(handle, SW_SHOWNA);
            continue;
        }
        if ((unit.Flags() & RecordFlag::Visible) != 0 && (state & TypeState::NoMnemonic) == 0)
            ShowWindow(handle, SW_SHOWNA);
        // A unit the program hid does not take the keys either.
        if (IsWindowEnabled(handle) && HasVisibleStyle(handle) && (state & TypeState::NoFocusOnPageShow) == 0 &&
            (focusTarget == nullptr || unit.FocusOrder() < lowestOrder)) {
            focusTarget = handle;
            lowestOrder = unit.FocusOrder();
        }
    }
    if (!pageGiven && respectFlags && moveFocus && focusTarget != nullptr) SetFocus(focusTarget);
}

}  // namespace quillet
