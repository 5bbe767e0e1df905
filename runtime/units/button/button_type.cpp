#include "runtime/units/button/button_type.h"

#include <iterator>

#include "runtime/units/button/button_unit.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_operation.h"

namespace quillet {

using enum PropertyKind;

const PropertyDescriptor ButtonProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Picture, PropertyFlag::Rebuilds),  // 8  Picture
    Property(Pick),                             // 9  ButtonType 0..1
    Property(Text),                             // 10 Caption
    Property(Pick),                             // 11 HAlign 0..2
    Property(Pick),                             // 12 VAlign 0..2
    Property(Font),                             // 13 Font
};
static_assert(std::size(ButtonProperties) == ButtonPropertyCount, "one entry per property");

namespace {

// By own index.
constexpr ButtonField ButtonFields[] = {
    ButtonField::Picture, ButtonField::ButtonType, ButtonField::Caption,
    ButtonField::HAlign,  ButtonField::VAlign,     ButtonField::Font,
};
static_assert(std::size(ButtonFields) == ButtonPropertyCount - CommonPropertyCount, "one field per own property");

void* CreateButton(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                   int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                   uint32_t, int32_t) {
    return CreateButtonUnit(ButtonKind::PushButton, data, length, extraStyle, parent, controlId, left, top, width,
                            height, windowId, unitId);
}

int32_t SetButtonProperty(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord) {
    return SetButtonUnitProperty(unit, ButtonFields, ButtonPickLimits, ownIndex, value, clearedWord);
}

int32_t GetButtonProperty(void* unit, int32_t ownIndex, PropertyValue* value) {
    return GetButtonUnitProperty(unit, ButtonFields, ownIndex, value);
}

void* EnumButtonTypeTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EnumButtonTexts(ButtonKind::PushButton, data, length, callback, userWord);
}

}  // namespace

UnitOperation ButtonInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateButton);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetButtonProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetButtonProperty);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumButtonTypeTexts);
    case InterfaceNumber::IsDefaultButton: return AsUnitOperation<IsDefaultButtonOperation>(IsDefaultButtonUnit);
    default: return nullptr;
    }
}

}  // namespace quillet
