#pragma once
// The label type (type number 10, slot 9): its descriptor, own property indexes
// and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace LabelProperty {
constexpr int32_t Caption = 0;
constexpr int32_t Effect = 1;
constexpr int32_t BorderStyle = 2;
constexpr int32_t BorderWidth = 3;
constexpr int32_t BorderColor1 = 4;
constexpr int32_t BorderColor2 = 5;
constexpr int32_t BorderColor3 = 6;
constexpr int32_t Font = 7;
constexpr int32_t TextColor = 8;
constexpr int32_t BackColor = 9;
constexpr int32_t BackPicture = 10;
constexpr int32_t PictureMode = 11;
constexpr int32_t GradientMode = 12;
constexpr int32_t GradientColor1 = 13;
constexpr int32_t GradientColor2 = 14;
constexpr int32_t GradientColor3 = 15;
constexpr int32_t HAlign = 16;
constexpr int32_t WordWrap = 17;
constexpr int32_t VAlign = 18;
constexpr int32_t DataSource = 19;
constexpr int32_t DataColumn = 20;
}  // namespace LabelProperty

inline constexpr PickLimit LabelPickLimits[] = {
    {LabelProperty::Effect, 3},       {LabelProperty::BorderStyle, 6}, {LabelProperty::PictureMode, 2},
    {LabelProperty::GradientMode, 8}, {LabelProperty::HAlign, 2},      {LabelProperty::VAlign, 2},
};

constexpr int32_t LabelPropertyCount = 29;
extern const PropertyDescriptor LabelProperties[];
UnitOperation LabelInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor LabelType =
    DescribeType("标签", "Label", 0x84012040, LabelPropertyCount, LabelProperties, LabelInterface);

}  // namespace quillet
