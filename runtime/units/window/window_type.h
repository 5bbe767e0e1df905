#pragma once
// The window unit type (type number 1, slot 0): its descriptor, own
// property indexes and rows.
#include <cstdint>
#include <iterator>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8), in order from 0.
namespace WindowProperty {
enum : int32_t {
    Caption, BorderStyle, BackColor, BackPicture, PictureMode, BackSound, SoundPlayMode, ControlBox, MaxButton,
    MinButton, WindowState, Closable, Icon, EnterMovesFocus, EscCloses, F1Help, HelpFile, HelpTopic, StandAlone,
    DragAnywhere, Shape, AlwaysOnTop, KeepActiveLook, ClassName,
};
}  // namespace WindowProperty

// Its operations (runtime/services/unit_operations.cpp).
UnitOperation WindowInterface(int32_t interfaceNumber);

// By own index, a line a group. The window is never rebuilt after a write
// (TypeStateFlags 0x10); StandAlone and ClassName are used when it is made.
inline constexpr OwnProperty WindowOwnProperties[] = {
    // 0 Caption, 1 BorderStyle
    Own(PropertyKind::Text), OwnPick(6),
    // 2 BackColor .. 6 SoundPlayMode
    Own(PropertyKind::BackColor), Own(PropertyKind::Picture), OwnPick(3), Own(PropertyKind::Sound), OwnPick(2),
    // 7 ControlBox .. 11 Closable
    Own(PropertyKind::Logical), Own(PropertyKind::Logical), Own(PropertyKind::Logical), OwnPick(3),
    Own(PropertyKind::Logical),
    // 12 Icon
    Own(PropertyKind::Icon),
    // 13 EnterMovesFocus .. 17 HelpTopic
    Own(PropertyKind::Logical), Own(PropertyKind::Logical), Own(PropertyKind::Logical),
    Own(PropertyKind::FileName), Own(PropertyKind::Int),
    // 18 StandAlone, 19 DragAnywhere, 20 Shape
    Own(PropertyKind::Logical), Own(PropertyKind::Logical), OwnPick(29),
    // 21 AlwaysOnTop, 22 KeepActiveLook, 23 ClassName
    Own(PropertyKind::Logical), Own(PropertyKind::Logical), Own(PropertyKind::Text),
};
static_assert(std::size(WindowOwnProperties) == WindowProperty::ClassName + 1, "a row for every own index");

inline constexpr UnitTypeDescriptor WindowType =
    DescribeType<WindowOwnProperties>("窗口", "window", 0x800000D0, WindowInterface);

}  // namespace quillet
