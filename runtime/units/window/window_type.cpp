#include "runtime/units/window/window_type.h"

#include <iterator>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_operation.h"
#include "runtime/units/window/window_data.h"
#include "runtime/units/window/window_unit.h"

namespace quillet {

using enum PropertyKind;

// The window is never rebuilt after a write (TypeStateFlags 0x10).
const PropertyDescriptor WindowProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Text),       // 8  Caption
    Property(Pick),       // 9  BorderStyle 0..6
    Property(BackColor),  // 10 BackColor
    Property(Picture),    // 11 BackPicture
    Property(Pick),       // 12 PictureMode 0..3
    Property(Sound),      // 13 BackSound
    Property(Pick),       // 14 SoundPlayMode 0..2
    Property(Logical),    // 15 ControlBox
    Property(Logical),    // 16 MaxButton
    Property(Logical),    // 17 MinButton
    Property(Pick),       // 18 WindowState 0..3
    Property(Logical),    // 19 Closable
    Property(Icon),       // 20 Icon
    Property(Logical),    // 21 EnterMovesFocus
    Property(Logical),    // 22 EscCloses
    Property(Logical),    // 23 F1Help
    Property(FileName),   // 24 HelpFile
    Property(Int),        // 25 HelpTopic
    Property(Logical),    // 26 StandAlone (used when the window is made)
    Property(Logical),    // 27 DragAnywhere
    Property(Pick),       // 28 Shape 0..29
    Property(Logical),    // 29 AlwaysOnTop
    Property(Logical),    // 30 KeepActiveLook
    Property(Text),       // 31 ClassName (used when the window is made)
};
static_assert(std::size(WindowProperties) == WindowPropertyCount, "one entry per property");

UnitOperation WindowInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateWindowUnit);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetWindowProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetWindowProperty);
    case InterfaceNumber::GetIconData: return AsUnitOperation<GetIconDataOperation>(GetWindowIconData);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumWindowTexts);
    default: return nullptr;
    }
}

}  // namespace quillet
