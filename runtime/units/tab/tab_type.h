#pragma once
// The tab control type (type number 21, slot 20): its descriptor, own
// property indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace TabProperty {
enum : int32_t {
    TabPosition, MultiLine, Font, Pages, CurrentPage, HideTabs, DrawBackground, BackColor,
};
}  // namespace TabProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation TabInterface(int32_t interfaceNumber);

// By own index, a line a group. TabPosition is the TabSide; HideTabs is used
// when the control is made.
inline constexpr OwnProperty TabOwnProperties[] = {
    // 0 TabPosition, 1 MultiLine, 2 Font
    OwnPick(3), Own(PropertyKind::Logical), Own(PropertyKind::Font),
    // 3 Pages, 4 CurrentPage
    Own(PropertyKind::PageList, PropertyFlag::Rebuilds), Own(PropertyKind::Int),
    // 5 HideTabs, 6 DrawBackground, 7 BackColor
    Own(PropertyKind::Logical), Own(PropertyKind::Logical), Own(PropertyKind::BackColor),
};
static_assert(std::size(TabOwnProperties) == TabProperty::BackColor + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor TabType =
    DescribeType<TabOwnProperties>("选择夹", "Tab", 0x800101C0, TabInterface);

}  // namespace quillet
