#pragma once
// The check box type (type number 12, slot 11): its descriptor, own
// property indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace CheckBoxProperty {
enum : int32_t {
    Picture, PushLike, Flat, Caption, TextOnLeft, HAlign, VAlign, TextColor, BackColor, Font, Checked, DataSource,
    DataColumn,
};
}  // namespace CheckBoxProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation CheckBoxInterface(int32_t interfaceNumber);

// By own index, a line a group.
inline constexpr OwnProperty CheckBoxOwnProperties[] = {
    // 0 Picture, 1 PushLike, 2 Flat
    Own(PropertyKind::Picture, PropertyFlag::Rebuilds), Own(PropertyKind::Logical), Own(PropertyKind::Logical),
    // 3 Caption, 4 TextOnLeft, 5 HAlign, 6 VAlign
    Own(PropertyKind::Text), Own(PropertyKind::Logical), OwnPick(2), OwnPick(2),
    // 7 TextColor, 8 BackColor, 9 Font
    Own(PropertyKind::Color), Own(PropertyKind::BackColor), Own(PropertyKind::Font),
    // 10 Checked, 11 DataSource, 12 DataColumn
    Own(PropertyKind::Logical), Own(PropertyKind::DataSourceName), Own(PropertyKind::DataColumnName),
};
static_assert(std::size(CheckBoxOwnProperties) == CheckBoxProperty::DataColumn + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor CheckBoxType =
    DescribeType<CheckBoxOwnProperties>("选择框", "CheckBox", 0x80001040, CheckBoxInterface);

}  // namespace quillet
