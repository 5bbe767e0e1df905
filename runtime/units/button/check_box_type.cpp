#include "runtime/units/button/check_box_type.h"

#include <iterator>

#include "runtime/units/pending_operations.h"

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

// The operations come with the check box unit itself; until then they are stand-ins.
UnitOperation CheckBoxInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit:
    case InterfaceNumber::SetProperty:
    case InterfaceNumber::SaveProperties:
    case InterfaceNumber::GetProperty:
    case InterfaceNumber::EnumTexts:
        return PendingOperation(interfaceNumber);
    default:
        return nullptr;
    }
}

}  // namespace quillet
