#include "runtime/units/edit/edit_type.h"

#include <iterator>

#include "runtime/units/edit/edit_data.h"
#include "runtime/units/edit/edit_unit.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_operation.h"

namespace quillet {

using enum PropertyKind;

const PropertyDescriptor EditBoxProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Text),                             // 8  Content
    Property(Pick),                             // 9  BorderStyle 0..5
    Property(Color),                            // 10 TextColor
    Property(BackColor),                        // 11 BackColor
    Property(Font),                             // 12 Font
    Property(Logical, PropertyFlag::Rebuilds),  // 13 HideSelection
    Property(Int),                              // 14 MaxLength
    Property(Logical, PropertyFlag::Rebuilds),  // 15 MultiLine
    Property(Pick, PropertyFlag::Rebuilds),     // 16 ScrollBars 0..3
    Property(Pick, PropertyFlag::Rebuilds),     // 17 Alignment 0..2
    Property(Pick),                             // 18 InputMode 0..11
    Property(Text),                             // 19 PasswordChar
    Property(Pick, PropertyFlag::Rebuilds),     // 20 CaseConversion 0..2
    Property(Pick, PropertyFlag::Rebuilds),     // 21 SpinMode 0..2
    Property(Int),                              // 22 SpinLower
    Property(Int),                              // 23 SpinUpper
    Property(Int),                              // 24 SelStart
    Property(Int),                              // 25 SelLength
    Property(Text, PropertyFlag::NotSaved),     // 26 SelText
    Property(DataSourceName),                   // 27 DataSource
    Property(DataColumnName),                   // 28 DataColumn
};
static_assert(std::size(EditBoxProperties) == EditBoxPropertyCount, "one entry per property");

UnitOperation EditBoxInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateEditBox);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetEditBoxProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetEditBoxProperty);
    case InterfaceNumber::WantsKey: return AsUnitOperation<WantsKeyOperation>(EditBoxWantsKey);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumEditBoxTexts);
    default: return nullptr;
    }
}

}  // namespace quillet
