#pragma once
// The label type (type number 10, slot 9): its descriptor, own property
// indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace LabelProperty {
enum : int32_t {
    Caption, Effect, BorderStyle, BorderWidth, BorderColor1, BorderColor2, BorderColor3, Font, TextColor, BackColor,
    BackPicture, PictureMode, GradientMode, GradientColor1, GradientColor2, GradientColor3, HAlign, WordWrap, VAlign,
    DataSource, DataColumn,
};
}  // namespace LabelProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation LabelInterface(int32_t interfaceNumber);

// By own index, a line a group. No label property rebuilds the window: every
// write repaints.
inline constexpr OwnProperty LabelOwnProperties[] = {
    // 0 Caption, 1 Effect
    Own(PropertyKind::Text), OwnPick(3),
    // 2 BorderStyle, 3 BorderWidth
    OwnPick(6), Own(PropertyKind::Int),
    // 4..6 BorderColor1..3
    Own(PropertyKind::EffectColor), Own(PropertyKind::EffectColor), Own(PropertyKind::EffectColor),
    // 7 Font .. 11 PictureMode
    Own(PropertyKind::Font), Own(PropertyKind::Color), Own(PropertyKind::BackColor), Own(PropertyKind::Picture),
    OwnPick(2),
    // 12 GradientMode, 13..15 its colours
    OwnPick(8), Own(PropertyKind::EffectColor), Own(PropertyKind::EffectColor), Own(PropertyKind::EffectColor),
    // 16 HAlign, 17 WordWrap, 18 VAlign
    OwnPick(2), Own(PropertyKind::Logical), OwnPick(2),
    // 19 DataSource, 20 DataColumn
    Own(PropertyKind::DataSourceName), Own(PropertyKind::DataColumnName),
};
static_assert(std::size(LabelOwnProperties) == LabelProperty::DataColumn + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor LabelType =
    DescribeType<LabelOwnProperties>("标签", "Label", 0x84012040, LabelInterface);

}  // namespace quillet
