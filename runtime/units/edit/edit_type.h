#pragma once
// The edit box type (type number 5, slot 4): its descriptor, own property
// indexes and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace EditBoxProperty {
constexpr int32_t Content = 0;
constexpr int32_t BorderStyle = 1;
constexpr int32_t TextColor = 2;
constexpr int32_t BackColor = 3;
constexpr int32_t Font = 4;
constexpr int32_t HideSelection = 5;
constexpr int32_t MaxLength = 6;
constexpr int32_t MultiLine = 7;
constexpr int32_t ScrollBars = 8;
constexpr int32_t Alignment = 9;
constexpr int32_t InputMode = 10;
constexpr int32_t PasswordChar = 11;
constexpr int32_t CaseConversion = 12;
constexpr int32_t SpinMode = 13;
constexpr int32_t SpinLower = 14;
constexpr int32_t SpinUpper = 15;
constexpr int32_t SelStart = 16;
constexpr int32_t SelLength = 17;
constexpr int32_t SelText = 18;
constexpr int32_t DataSource = 19;
constexpr int32_t DataColumn = 20;
}  // namespace EditBoxProperty

inline constexpr PickLimit EditBoxPickLimits[] = {
    {EditBoxProperty::BorderStyle, 5},    {EditBoxProperty::ScrollBars, 3}, {EditBoxProperty::Alignment, 2},
    {EditBoxProperty::InputMode, 11},     {EditBoxProperty::CaseConversion, 2},
    {EditBoxProperty::SpinMode, 2},
};

constexpr int32_t EditBoxPropertyCount = 29;
extern const PropertyDescriptor EditBoxProperties[];
UnitOperation EditBoxInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor EditBoxType =
    DescribeType("编辑框", "EditBox", 0x80000040, EditBoxPropertyCount, EditBoxProperties, EditBoxInterface);

}  // namespace quillet
