#include "runtime/units/button/check_box_type.h"

#include <iterator>

#include "runtime/units/button/button_unit.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_operation.h"

namespace quillet {

using enum PropertyKind;

const PropertyDescriptor CheckBoxProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Picture, PropertyFlag::Rebuilds),  // 8  Picture
    Property(Logical),                          // 9  PushLike
    Property(Logical),                          // 10 Flat
    Property(Text),                             // 11 Caption
    Property(Logical),                          // 12 TextOnLeft
    Property(Pick),                             // 13 HAlign 0..2
    Property(Pick),                             // 14 VAlign 0..2
    Property(Color),                            // 15 TextColor
    Property(BackColor),                        // 16 BackColor
    Property(Font),                             // 17 Font
    Property(Logical),                          // 18 Checked
    Property(DataSourceName),                   // 19 DataSource
    Property(DataColumnName),                   // 20 DataColumn
};
static_assert(std::size(CheckBoxProperties) == CheckBoxPropertyCount, "one entry per property");

namespace {

// By own index.
constexpr ButtonField CheckBoxFields[] = {
    ButtonField::Picture,   ButtonField::PushLike,  ButtonField::Flat,       ButtonField::Caption,
    ButtonField::TextOnLeft, ButtonField::HAlign,   ButtonField::VAlign,     ButtonField::TextColor,
    ButtonField::BackColor, ButtonField::Font,      ButtonField::Checked,    ButtonField::DataSource,
    ButtonField::DataColumn,
};
static_assert(std::size(CheckBoxFields) == CheckBoxPropertyCount - CommonPropertyCount, "one field per own property");

void* CreateCheckBox(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                     int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                     uint32_t, int32_t) {
    return CreateButtonUnit(ButtonKind::CheckBox, data, length, extraStyle, parent, controlId, left, top, width,
                            height, windowId, unitId);
}

int32_t SetCheckBoxProperty(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord) {
    return SetButtonUnitProperty(unit, CheckBoxFields, CheckBoxPickLimits, ownIndex, value, clearedWord);
}

int32_t GetCheckBoxProperty(void* unit, int32_t ownIndex, PropertyValue* value) {
    return GetButtonUnitProperty(unit, CheckBoxFields, ownIndex, value);
}

void* EnumCheckBoxTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EnumButtonTexts(ButtonKind::CheckBox, data, length, callback, userWord);
}

}  // namespace

UnitOperation CheckBoxInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateCheckBox);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetCheckBoxProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetCheckBoxProperty);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumCheckBoxTexts);
    default: return nullptr;
    }
}

}  // namespace quillet
