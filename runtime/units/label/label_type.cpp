#include "runtime/units/label/label_type.h"

#include <iterator>

#include "runtime/units/label/label_unit.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_operation.h"

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

namespace {

LabelUnit* AsLabel(void* unit) { return static_cast<LabelUnit*>(static_cast<CWnd*>(unit)); }

void* CreateLabel(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                  int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                  uint32_t, int32_t) {
    const LabelPlacement placement = {extraStyle, static_cast<HWND>(parent), controlId,
                                      RECT{left, top, left + width, top + height}, windowId, unitId};
    LabelUnit* label = LabelUnit::Create(data, length, placement);
    return label != nullptr ? static_cast<CWnd*>(label) : nullptr;
}

// No label property needs the window made again: always 0.
int32_t SetLabelProperty(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord) {
    if (clearedWord != nullptr) *clearedWord = 0;
    if (unit != nullptr && value != nullptr) AsLabel(unit)->Write(ownIndex, *value);
    return 0;
}

int32_t GetLabelProperty(void* unit, int32_t ownIndex, PropertyValue* value) {
    return unit != nullptr && value != nullptr && AsLabel(unit)->Read(ownIndex, value) ? 1 : 0;
}

}  // namespace

UnitOperation LabelInterface(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(CreateLabel);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(SetLabelProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(GetLabelProperty);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(EnumLabelTexts);
    default: return nullptr;
    }
}

}  // namespace quillet
