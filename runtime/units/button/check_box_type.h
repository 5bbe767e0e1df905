#pragma once
// The check box type (type number 12, slot 11): its descriptor, own
// property indexes and rows.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace CheckBoxProperty {
enum : int32_t {
    Picture, PushLike, Flat, Caption, TextOnLeft, HAlign, VAlign, TextColor, BackColor, Font, Checked, DataSource,
    DataColumn,
};
}  // namespace CheckBoxProperty

// Its operations (unit_operations.cpp).
UnitOperation CheckBoxInterface(int32_t interfaceNumber);

// By own index.
inline constexpr OwnProperty CheckBoxOwnProperties[] = {
    Own(PropertyKind::Picture, PropertyFlag::Rebuilds),  // 0  Picture
    Own(PropertyKind::Logical),                          // 1  PushLike
    Own(PropertyKind::Logical),                          // 2  Flat
    Own(PropertyKind::Text),                             // 3  Caption
    Own(PropertyKind::Logical),                          // 4  TextOnLeft
    OwnPick(2),                                          // 5  HAlign
    OwnPick(2),                                          // 6  VAlign
    Own(PropertyKind::Color),                            // 7  TextColor
    Own(PropertyKind::BackColor),                        // 8  BackColor
    Own(PropertyKind::Font),                             // 9  Font
    Own(PropertyKind::Logical),                          // 10 Checked
    Own(PropertyKind::DataSourceName),                   // 11 DataSource
    Own(PropertyKind::DataColumnName),                   // 12 DataColumn
};

inline constexpr UnitTypeDescriptor CheckBoxType =
    DescribeType<CheckBoxOwnProperties>("选择框", "CheckBox", 0x80001040, CheckBoxInterface);

}  // namespace quillet
