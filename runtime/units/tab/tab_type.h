#pragma once
// The tab control type (type number 21, slot 20): its descriptor, own property
// indexes and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace TabProperty {
constexpr int32_t TabPosition = 0;
constexpr int32_t MultiLine = 1;
constexpr int32_t Font = 2;
constexpr int32_t Pages = 3;
constexpr int32_t CurrentPage = 4;
constexpr int32_t HideTabs = 5;
constexpr int32_t DrawBackground = 6;
constexpr int32_t BackColor = 7;
}  // namespace TabProperty

inline constexpr PickLimit TabPickLimits[] = {
    {TabProperty::TabPosition, 3},
};

constexpr int32_t TabPropertyCount = 16;
extern const PropertyDescriptor TabProperties[];
UnitOperation TabInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor TabType =
    DescribeType("选择夹", "Tab", 0x800101C0, TabPropertyCount, TabProperties, TabInterface);

}  // namespace quillet
