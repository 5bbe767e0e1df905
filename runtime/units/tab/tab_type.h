#pragma once
// The tab control type (type number 21, slot 20): its descriptor, own
// property indexes and rows.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace TabProperty {
enum : int32_t {
    TabPosition, MultiLine, Font, Pages, CurrentPage, HideTabs, DrawBackground, BackColor,
};
}  // namespace TabProperty

// Its operations (unit_operations.cpp).
UnitOperation TabInterface(int32_t interfaceNumber);

// By own index.
inline constexpr OwnProperty TabOwnProperties[] = {
    OwnPick(3),                                          // 0 TabPosition (TabSide)
    Own(PropertyKind::Logical),                          // 1 MultiLine
    Own(PropertyKind::Font),                             // 2 Font
    Own(PropertyKind::PageList, PropertyFlag::Rebuilds), // 3 Pages
    Own(PropertyKind::Int),                              // 4 CurrentPage
    Own(PropertyKind::Logical),                          // 5 HideTabs (used when the window is made)
    Own(PropertyKind::Logical),                          // 6 DrawBackground
    Own(PropertyKind::BackColor),                        // 7 BackColor
};

inline constexpr UnitTypeDescriptor TabType =
    DescribeType<TabOwnProperties>("选择夹", "Tab", 0x800101C0, TabInterface);

}  // namespace quillet
