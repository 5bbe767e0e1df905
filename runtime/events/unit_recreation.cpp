#include "runtime/events/unit_recreation.h"

#include <windows.h>

#include <vector>

#include "framework/wnd.h"
#include "runtime/events/property_kinds.h"
#include "runtime/events/tab_pages.h"
#include "runtime/events/window_loader.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

HWND HandleOf(const UnitRecord& record) {
    auto* object = static_cast<CWnd*>(record.Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    auto* children = reinterpret_cast<std::vector<HWND>*>(list);
    children->push_back(child);
    return TRUE;
}

// The direct child windows of a window (EnumChildWindows also visits grandchildren).
std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> all, direct;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND child : all)
        if (GetParent(child) == parent) direct.push_back(child);
    return direct;
}

HWND InsertAfterSibling(UnitCollection& records, int32_t index, HWND parent) {
    for (int32_t earlier = index - 1; earlier >= 1; --earlier) {
        HWND candidate = HandleOf(records.RecordAt(earlier));
        if (candidate != nullptr && GetParent(candidate) == parent) return candidate;
    }
    return HWND_TOP;
}

}  // namespace

void RecreateUnit(WindowTemplate& window, int32_t index) {
    UnitCollection& records = window.working;
    UnitRecord record = records.RecordAt(index);
    const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
    auto* oldObject = static_cast<CWnd*>(record.Object());
    HWND oldHandle = HandleOf(record);
    if (type == nullptr || oldHandle == nullptr || (type->stateFlags & TypeState::NeverRebuilt) != 0) return;
    const auto save = FindOperation<SavePropertiesOperation>(*type, InterfaceNumber::SaveProperties);
    const auto create = FindOperation<CreateUnitOperation>(*type, InterfaceNumber::CreateUnit);
    if (save == nullptr || create == nullptr) return;

    HWND focused = GetFocus();
    const bool hadFocus = focused == oldHandle || IsChild(oldHandle, focused);
    HGLOBAL saved = static_cast<HGLOBAL>(save(oldObject));
    if (saved == nullptr) return;

    RECT area;
    GetWindowRect(oldHandle, &area);
    HWND parent = GetParent(oldHandle);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    const uint32_t controlId = static_cast<uint32_t>(GetDlgCtrlID(oldHandle));
    const uint32_t style = IsWindowEnabled(oldHandle) ? 0 : WS_DISABLED;
    const bool wasVisible = (GetWindowLongW(oldHandle, GWL_STYLE) & WS_VISIBLE) != 0;
    const UnitId unitId = records.IdAt(index);

    const void* data = GlobalLock(saved);
    auto* newObject = static_cast<CWnd*>(create(data, static_cast<int32_t>(GlobalSize(saved)), style, parent, controlId,
                                                nullptr, area.left, area.top, area.right - area.left,
                                                area.bottom - area.top, window.windowId, unitId, 0, 0));
    GlobalUnlock(saved);
    GlobalFree(saved);
    if (newObject == nullptr || !IsWindow(newObject->m_hWnd)) return;
    HWND newHandle = newObject->m_hWnd;

    if ((type->stateFlags & TypeState::Container) != 0)
        for (HWND child : DirectChildren(oldHandle)) SetParent(child, newHandle);
    records.RecordAt(index).SetObject(newObject);
    SetWindowPos(newHandle, InsertAfterSibling(records, index, parent), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(newHandle, UM_UNITS_CREATED, 0, 0);
    SendMessageW(newHandle, UM_WINDOW_SHOWN, 0, 0);
    if ((type->stateFlags & TypeState::ArrangeParent) != 0) SendMessageW(parent, UM_ARRANGE, 0, 0);
    if (wasVisible) ShowWindow(newHandle, SW_SHOWNA);
    if ((type->stateFlags & TypeState::TabPageContainer) != 0) {
        const PropertyWords page = ReadTypeProperty(*type, oldObject, TabCurrentPageProperty, -1);
        WriteTypeProperty(*type, newObject, TabCurrentPageProperty, -1, page.low, 0);
        // Units the program hid stay hidden: the page step respects their flags.
        ShowTabPage(window, index, true);
    }
    SetRecreatingUnit(true);
    oldObject->DestroyWindow();
    SetRecreatingUnit(false);
    // A focused window that lives on (a child moved into the new container)
    // keeps the focus; one that went with the old unit hands it to the new one.
    if (focused != nullptr && IsWindow(focused)) {
        if (GetFocus() != focused) SetFocus(focused);
    } else if (hadFocus) {
        SetFocus(newHandle);
    }
}

}  // namespace quillet
