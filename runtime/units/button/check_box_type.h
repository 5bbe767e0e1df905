#pragma once
// The check box type (type number 12, slot 11): its descriptor, own property
// indexes and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace CheckBoxProperty {
constexpr int32_t Picture = 0;
constexpr int32_t PushLike = 1;
constexpr int32_t Flat = 2;
constexpr int32_t Caption = 3;
constexpr int32_t TextOnLeft = 4;
constexpr int32_t HAlign = 5;
constexpr int32_t VAlign = 6;
constexpr int32_t TextColor = 7;
constexpr int32_t BackColor = 8;
constexpr int32_t Font = 9;
constexpr int32_t Checked = 10;
constexpr int32_t DataSource = 11;
constexpr int32_t DataColumn = 12;
}  // namespace CheckBoxProperty

inline constexpr PickLimit CheckBoxPickLimits[] = {
    {CheckBoxProperty::HAlign, 2},
    {CheckBoxProperty::VAlign, 2},
};

constexpr int32_t CheckBoxPropertyCount = 21;
extern const PropertyDescriptor CheckBoxProperties[];
UnitOperation CheckBoxInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor CheckBoxType =
    DescribeType("选择框", "CheckBox", 0x80001040, CheckBoxPropertyCount, CheckBoxProperties, CheckBoxInterface);

}  // namespace quillet
