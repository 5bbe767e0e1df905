#pragma once
// The window unit type (type number 1, slot 0): its descriptor, own
// property indexes and rows.
#include <cstdint>

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

// Its operations (unit_operations.cpp).
UnitOperation WindowInterface(int32_t interfaceNumber);

// By own index. The window is never rebuilt after a write (TypeStateFlags 0x10).
inline constexpr OwnProperty WindowOwnProperties[] = {
    Own(PropertyKind::Text),       // 0  Caption
    OwnPick(6),                    // 1  BorderStyle
    Own(PropertyKind::BackColor),  // 2  BackColor
    Own(PropertyKind::Picture),    // 3  BackPicture
    OwnPick(3),                    // 4  PictureMode
    Own(PropertyKind::Sound),      // 5  BackSound
    OwnPick(2),                    // 6  SoundPlayMode
    Own(PropertyKind::Logical),    // 7  ControlBox
    Own(PropertyKind::Logical),    // 8  MaxButton
    Own(PropertyKind::Logical),    // 9  MinButton
    OwnPick(3),                    // 10 WindowState
    Own(PropertyKind::Logical),    // 11 Closable
    Own(PropertyKind::Icon),       // 12 Icon
    Own(PropertyKind::Logical),    // 13 EnterMovesFocus
    Own(PropertyKind::Logical),    // 14 EscCloses
    Own(PropertyKind::Logical),    // 15 F1Help
    Own(PropertyKind::FileName),   // 16 HelpFile
    Own(PropertyKind::Int),        // 17 HelpTopic
    Own(PropertyKind::Logical),    // 18 StandAlone (used when the window is made)
    Own(PropertyKind::Logical),    // 19 DragAnywhere
    OwnPick(29),                   // 20 Shape
    Own(PropertyKind::Logical),    // 21 AlwaysOnTop
    Own(PropertyKind::Logical),    // 22 KeepActiveLook
    Own(PropertyKind::Text),       // 23 ClassName (used when the window is made)
};

inline constexpr UnitTypeDescriptor WindowType =
    DescribeType<WindowOwnProperties>("窗口", "window", 0x800000D0, WindowInterface);

}  // namespace quillet
