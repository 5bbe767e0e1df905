#pragma once
// The button type (type number 11, slot 10): its descriptor, own
// property indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace ButtonProperty {
enum : int32_t {
    Picture, ButtonType, Caption, HAlign, VAlign, Font,
};
}  // namespace ButtonProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation ButtonInterface(int32_t interfaceNumber);

// By own index, a line a group. ButtonType: 0 normal, 1 the default button.
inline constexpr OwnProperty ButtonOwnProperties[] = {
    // 0 Picture, 1 ButtonType
    Own(PropertyKind::Picture, PropertyFlag::Rebuilds), OwnPick(1),
    // 2 Caption, 3 HAlign, 4 VAlign, 5 Font
    Own(PropertyKind::Text), OwnPick(2), OwnPick(2), Own(PropertyKind::Font),
};
static_assert(std::size(ButtonOwnProperties) == ButtonProperty::Font + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor ButtonType =
    DescribeType<ButtonOwnProperties>("按钮", "Button", 0x80000840, ButtonInterface);

}  // namespace quillet
