#pragma once
// The button type (type number 11, slot 10): its descriptor, own property
// indexes and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace ButtonProperty {
constexpr int32_t Picture = 0;
constexpr int32_t ButtonType = 1;
constexpr int32_t Caption = 2;
constexpr int32_t HAlign = 3;
constexpr int32_t VAlign = 4;
constexpr int32_t Font = 5;
}  // namespace ButtonProperty

inline constexpr PickLimit ButtonPickLimits[] = {
    {ButtonProperty::ButtonType, 1},
    {ButtonProperty::HAlign, 2},
    {ButtonProperty::VAlign, 2},
};

constexpr int32_t ButtonPropertyCount = 14;
extern const PropertyDescriptor ButtonProperties[];
UnitOperation ButtonInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor ButtonType =
    DescribeType("按钮", "Button", 0x80000840, ButtonPropertyCount, ButtonProperties, ButtonInterface);

}  // namespace quillet
