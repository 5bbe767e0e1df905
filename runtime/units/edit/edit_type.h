#pragma once
// The edit box type (type number 5, slot 4): its descriptor, own
// property indexes and rows.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace EditBoxProperty {
enum : int32_t {
    Content, BorderStyle, TextColor, BackColor, Font, HideSelection, MaxLength, MultiLine, ScrollBars, Alignment,
    InputMode, PasswordChar, CaseConversion, SpinMode, SpinLower, SpinUpper, SelStart, SelLength, SelText, DataSource,
    DataColumn,
};
}  // namespace EditBoxProperty

// Its operations (unit_operations.cpp).
UnitOperation EditBoxInterface(int32_t interfaceNumber);

// By own index.
inline constexpr OwnProperty EditBoxOwnProperties[] = {
    Own(PropertyKind::Text),                             // 0  Content
    OwnPick(5),                                          // 1  BorderStyle
    Own(PropertyKind::Color),                            // 2  TextColor
    Own(PropertyKind::BackColor),                        // 3  BackColor
    Own(PropertyKind::Font),                             // 4  Font
    Own(PropertyKind::Logical, PropertyFlag::Rebuilds),  // 5  HideSelection
    Own(PropertyKind::Int),                              // 6  MaxLength
    Own(PropertyKind::Logical, PropertyFlag::Rebuilds),  // 7  MultiLine
    OwnPick(3, PropertyFlag::Rebuilds),                  // 8  ScrollBars
    OwnPick(2, PropertyFlag::Rebuilds),                  // 9  Alignment
    OwnPick(11),                                         // 10 InputMode
    Own(PropertyKind::Text),                             // 11 PasswordChar
    OwnPick(2, PropertyFlag::Rebuilds),                  // 12 CaseConversion
    OwnPick(2, PropertyFlag::Rebuilds),                  // 13 SpinMode
    Own(PropertyKind::Int),                              // 14 SpinLower
    Own(PropertyKind::Int),                              // 15 SpinUpper
    Own(PropertyKind::Int),                              // 16 SelStart
    Own(PropertyKind::Int),                              // 17 SelLength
    Own(PropertyKind::Text, PropertyFlag::NotSaved),     // 18 SelText
    Own(PropertyKind::DataSourceName),                   // 19 DataSource
    Own(PropertyKind::DataColumnName),                   // 20 DataColumn
};

inline constexpr UnitTypeDescriptor EditBoxType =
    DescribeType<EditBoxOwnProperties>("编辑框", "EditBox", 0x80000040, EditBoxInterface);

}  // namespace quillet
