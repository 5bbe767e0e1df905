#include "runtime/units/button/button_type.h"

#include <iterator>

#include "runtime/units/pending_operations.h"

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

// The operations come with the button unit itself; until then they are stand-ins.
UnitOperation ButtonInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit:
    case InterfaceNumber::SetProperty:
    case InterfaceNumber::SaveProperties:
    case InterfaceNumber::GetProperty:
    case InterfaceNumber::EnumTexts:
    case InterfaceNumber::IsDefaultButton:
        return PendingOperation(interfaceNumber);
    default:
        return nullptr;
    }
}

}  // namespace quillet
