#include "runtime/units/tab/tab_type.h"

#include <iterator>

#include "runtime/units/property_data.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/tab/tab_unit.h"
#include "runtime/units/unit_operation.h"

namespace quillet {

using enum PropertyKind;

const PropertyDescriptor TabProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Pick),                              // 8  TabPosition 0..3
    Property(Logical),                           // 9  MultiLine
    Property(Font),                              // 10 Font
    Property(PageList, PropertyFlag::Rebuilds),  // 11 Pages
    Property(Int),                               // 12 CurrentPage
    Property(Logical),                           // 13 HideTabs (used when the window is made)
    Property(Logical),                           // 14 DrawBackground
    Property(BackColor),                         // 15 BackColor
};
static_assert(std::size(TabProperties) == TabPropertyCount, "one entry per property");

namespace {

TabUnit* AsTab(void* unit) { return static_cast<TabUnit*>(static_cast<CWnd*>(unit)); }

void* CreateTab(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                uint32_t, int32_t) {
    TabData tabData;
    if (!ReadTabData(data, length, &tabData)) return nullptr;
    auto* unit = new TabUnit(windowId, unitId, tabData);
    const RECT area = {left, top, left + width, top + height};
    if (!unit->Create(extraStyle, area, static_cast<HWND>(parent), controlId)) {
        delete unit;
        return nullptr;
    }
    return static_cast<CWnd*>(unit);
}

int32_t SetTabProperty(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord) {
    if (clearedWord != nullptr) *clearedWord = 0;
    if (unit == nullptr || value == nullptr) return 0;
    return AsTab(unit)->SetProperty(ownIndex, *value);
}

int32_t GetTabProperty(void* unit, int32_t ownIndex, PropertyValue* value) {
    if (unit == nullptr || value == nullptr) return 0;
    return AsTab(unit)->GetProperty(ownIndex, value);
}

}  // namespace

UnitOperation TabInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateTab);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetTabProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetTabProperty);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumTabTexts);
    default: return nullptr;
    }
}

}  // namespace quillet
