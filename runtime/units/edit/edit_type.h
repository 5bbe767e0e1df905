#pragma once
// The edit box type (type number 5, slot 4): its descriptor, own
// property indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace EditBoxProperty {
enum : int32_t {
    Content, BorderStyle, TextColor, BackColor, Font, HideSelection, MaxLength, MultiLine, ScrollBars, Alignment,
    InputMode, PasswordChar, CaseConversion, SpinMode, SpinLower, SpinUpper, SelStart, SelLength, SelText, DataSource,
    DataColumn, CanUndo,
};
}  // namespace EditBoxProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation EditBoxInterface(int32_t interfaceNumber);

// By own index, a line a group.
inline constexpr OwnProperty EditBoxOwnProperties[] = {
    // 0 Content .. 4 Font
    Own(PropertyKind::Text), OwnPick(5), Own(PropertyKind::Color), Own(PropertyKind::BackColor),
    Own(PropertyKind::Font),
    // 5 HideSelection, 6 MaxLength
    Own(PropertyKind::Logical, PropertyFlag::Rebuilds), Own(PropertyKind::Int),
    // 7 MultiLine, 8 ScrollBars, 9 Alignment
    Own(PropertyKind::Logical, PropertyFlag::Rebuilds), OwnPick(3, PropertyFlag::Rebuilds),
    OwnPick(2, PropertyFlag::Rebuilds),
    // 10 InputMode, 11 PasswordChar, 12 CaseConversion
    OwnPick(11), Own(PropertyKind::Text), OwnPick(2, PropertyFlag::Rebuilds),
    // 13 SpinMode, 14 SpinLower, 15 SpinUpper
    OwnPick(2, PropertyFlag::Rebuilds), Own(PropertyKind::Int), Own(PropertyKind::Int),
    // 16 SelStart, 17 SelLength, 18 SelText
    Own(PropertyKind::Int), Own(PropertyKind::Int), Own(PropertyKind::Text, PropertyFlag::NotSaved),
    // 19 DataSource, 20 DataColumn
    Own(PropertyKind::DataSourceName), Own(PropertyKind::DataColumnName),
    // 21 CanUndo: whether the control has an edit of its own to undo (read only)
    Own(PropertyKind::Logical, PropertyFlag::NotSaved),
};
static_assert(std::size(EditBoxOwnProperties) == EditBoxProperty::CanUndo + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor EditBoxType =
    DescribeType<EditBoxOwnProperties>("编辑框", "EditBox", 0x80000040, EditBoxInterface);

}  // namespace quillet
