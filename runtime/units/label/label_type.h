#pragma once
// The label type (type number 10, slot 9): its descriptor, own property
// indexes and rows.
#include <cstdint>

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

// Its operations (unit_operations.cpp).
UnitOperation LabelInterface(int32_t interfaceNumber);

// By own index. No label property rebuilds the window: every write repaints.
inline constexpr OwnProperty LabelOwnProperties[] = {
    Own(PropertyKind::Text),            // 0  Caption
    OwnPick(3),                         // 1  Effect
    OwnPick(6),                         // 2  BorderStyle
    Own(PropertyKind::Int),             // 3  BorderWidth
    Own(PropertyKind::EffectColor),     // 4  BorderColor1
    Own(PropertyKind::EffectColor),     // 5  BorderColor2
    Own(PropertyKind::EffectColor),     // 6  BorderColor3
    Own(PropertyKind::Font),            // 7  Font
    Own(PropertyKind::Color),           // 8  TextColor
    Own(PropertyKind::BackColor),       // 9  BackColor
    Own(PropertyKind::Picture),         // 10 BackPicture
    OwnPick(2),                         // 11 PictureMode
    OwnPick(8),                         // 12 GradientMode
    Own(PropertyKind::EffectColor),     // 13 GradientColor1
    Own(PropertyKind::EffectColor),     // 14 GradientColor2
    Own(PropertyKind::EffectColor),     // 15 GradientColor3
    OwnPick(2),                         // 16 HAlign
    Own(PropertyKind::Logical),         // 17 WordWrap
    OwnPick(2),                         // 18 VAlign
    Own(PropertyKind::DataSourceName),  // 19 DataSource
    Own(PropertyKind::DataColumnName),  // 20 DataColumn
};

inline constexpr UnitTypeDescriptor LabelType =
    DescribeType<LabelOwnProperties>("标签", "Label", 0x84012040, LabelInterface);

}  // namespace quillet
