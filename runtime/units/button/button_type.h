#pragma once
// The button type (type number 11, slot 10): its descriptor, own
// property indexes and rows.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace ButtonProperty {
enum : int32_t {
    Picture, ButtonType, Caption, HAlign, VAlign, Font,
};
}  // namespace ButtonProperty

// Its operations (unit_operations.cpp).
UnitOperation ButtonInterface(int32_t interfaceNumber);

// By own index.
inline constexpr OwnProperty ButtonOwnProperties[] = {
    Own(PropertyKind::Picture, PropertyFlag::Rebuilds),  // 0 Picture
    OwnPick(1),                                          // 1 ButtonType: 0 normal, 1 default button
    Own(PropertyKind::Text),                             // 2 Caption
    OwnPick(2),                                          // 3 HAlign
    OwnPick(2),                                          // 4 VAlign
    Own(PropertyKind::Font),                             // 5 Font
};

inline constexpr UnitTypeDescriptor ButtonType =
    DescribeType<ButtonOwnProperties>("按钮", "Button", 0x80000840, ButtonInterface);

}  // namespace quillet
