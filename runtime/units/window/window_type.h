#pragma once
// The window unit type (type number 1, slot 0): its descriptor, own property
// indexes and pick limits.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// Own indexes (property index - 8).
namespace WindowProperty {
constexpr int32_t Caption = 0;
constexpr int32_t BorderStyle = 1;
constexpr int32_t BackColor = 2;
constexpr int32_t BackPicture = 3;
constexpr int32_t PictureMode = 4;
constexpr int32_t BackSound = 5;
constexpr int32_t SoundPlayMode = 6;
constexpr int32_t ControlBox = 7;
constexpr int32_t MaxButton = 8;
constexpr int32_t MinButton = 9;
constexpr int32_t WindowState = 10;
constexpr int32_t Closable = 11;
constexpr int32_t Icon = 12;
constexpr int32_t EnterMovesFocus = 13;
constexpr int32_t EscCloses = 14;
constexpr int32_t F1Help = 15;
constexpr int32_t HelpFile = 16;
constexpr int32_t HelpTopic = 17;
constexpr int32_t StandAlone = 18;
constexpr int32_t DragAnywhere = 19;
constexpr int32_t Shape = 20;
constexpr int32_t AlwaysOnTop = 21;
constexpr int32_t KeepActiveLook = 22;
constexpr int32_t ClassName = 23;
}  // namespace WindowProperty

inline constexpr PickLimit WindowPickLimits[] = {
    {WindowProperty::BorderStyle, 6},   {WindowProperty::PictureMode, 3}, {WindowProperty::SoundPlayMode, 2},
    {WindowProperty::WindowState, 3},   {WindowProperty::Shape, 29},
};

constexpr int32_t WindowPropertyCount = 32;
extern const PropertyDescriptor WindowProperties[];
UnitOperation WindowInterface(int32_t interfaceNumber);

inline constexpr UnitTypeDescriptor WindowType =
    DescribeType("窗口", "window", 0x800000D0, WindowPropertyCount, WindowProperties, WindowInterface);

}  // namespace quillet
