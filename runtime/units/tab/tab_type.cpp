#include "runtime/units/tab/tab_type.h"

#include <iterator>

#include "runtime/units/pending_operations.h"

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

// The operations come with the tab control unit itself; until then they are stand-ins.
UnitOperation TabInterface(int32_t interfaceNumber) {
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
