#include "runtime/units/label/label_type.h"

#include <iterator>

#include "runtime/units/pending_operations.h"

namespace quillet {

using enum PropertyKind;

// No label property rebuilds the window: every write repaints.
const PropertyDescriptor LabelProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(Text),            // 8  Caption
    Property(Pick),            // 9  Effect 0..3
    Property(Pick),            // 10 BorderStyle 0..6
    Property(Int),             // 11 BorderWidth
    Property(EffectColor),     // 12 BorderColor1
    Property(EffectColor),     // 13 BorderColor2
    Property(EffectColor),     // 14 BorderColor3
    Property(Font),            // 15 Font
    Property(Color),           // 16 TextColor
    Property(BackColor),       // 17 BackColor
    Property(Picture),         // 18 BackPicture
    Property(Pick),            // 19 PictureMode 0..2
    Property(Pick),            // 20 GradientMode 0..8
    Property(EffectColor),     // 21 GradientColor1
    Property(EffectColor),     // 22 GradientColor2
    Property(EffectColor),     // 23 GradientColor3
    Property(Pick),            // 24 HAlign 0..2
    Property(Logical),         // 25 WordWrap
    Property(Pick),            // 26 VAlign 0..2
    Property(DataSourceName),  // 27 DataSource
    Property(DataColumnName),  // 28 DataColumn
};
static_assert(std::size(LabelProperties) == LabelPropertyCount, "one entry per property");

// The operations come with the label unit itself; until then they are stand-ins.
UnitOperation LabelInterface(int32_t interfaceNumber) {
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
