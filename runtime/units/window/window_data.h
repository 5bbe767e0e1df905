#pragma once
// The window's stored properties and their PropertyData (version 6; versions
// 0 to 6 are read):
//
//   version; BorderStyle, PictureMode, BackColor; MaxButton, MinButton,
//   ControlBox, WindowState, Closable; SoundPlayMode, EnterMovesFocus,
//   EscCloses, F1Help, HelpTopic; from 2 StandAlone; from 3 DragAnywhere,
//   Shape; from 4 AlwaysOnTop; from 5 KeepActiveLook; in 6 ClassName (text);
//   BackPicture, Icon, BackSound (bytes); Caption, HelpFile (texts).
#include <cstdint>
#include <string>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

constexpr uint32_t WindowDataVersion = 6;

// Every own property of the window as stored; logicals are 0 or 1, picks are
// within their choices.
struct WindowOptions {
    std::string caption{};                 // Caption: the title
    int32_t borderStyle = 2;             // BorderStyle 0..6 (WindowBorder)
    uint32_t backColor = DefaultColor;   // BackColor; DefaultColor paints COLOR_BTNFACE
    std::string backPicture{};             // BackPicture: image file bytes, empty for none
    int32_t pictureMode = 1;             // PictureMode 0..3 (PictureMode)
    std::string backSound{};               // BackSound: MIDI or WAVE file bytes, empty for none
    int32_t soundPlayMode = 0;           // SoundPlayMode: 0 repeat, 1 once, 2 not played
    int32_t controlBox = 1;              // ControlBox: system menu on the caption
    int32_t maxButton = 0;               // MaxButton
    int32_t minButton = 1;               // MinButton
    int32_t windowState = 1;             // WindowState: 0 normal, 1 centred, 2 minimised, 3 maximised
    int32_t closable = 1;                // Closable: the system menu keeps SC_CLOSE
    std::string icon{};                    // Icon: icon file bytes, empty for the program's icon
    int32_t enterMovesFocus = 0;         // EnterMovesFocus
    int32_t escCloses = 1;               // EscCloses
    int32_t f1Help = 0;                  // F1Help
    std::string helpFile{};                // HelpFile; empty: the program's name with "hlp"
    int32_t helpTopic = 0;               // HelpTopic: 0 opens the help's contents
    int32_t standAlone = 1;              // StandAlone: 0 makes the window owned by the hidden owner
    int32_t dragAnywhere = 0;            // DragAnywhere
    int32_t shape = 0;                   // Shape 0..29
    int32_t alwaysOnTop = 0;             // AlwaysOnTop
    int32_t keepActiveLook = 0;          // KeepActiveLook
    std::string className{};               // ClassName; empty: "WTWindow"
};

namespace WindowBorder {
enum : int32_t { None, Sizable, Fixed, SizableTool, FixedTool, SizableSunken, FixedSunken };
}  // namespace WindowBorder

namespace PictureMode {
enum : int32_t { Natural, Tiled, Fitted, Stretched };
}  // namespace PictureMode

namespace SoundPlayMode {
enum : int32_t { Repeat, Once, Silent };
}  // namespace SoundPlayMode

// False when the block is rejected: a version above 6, or fields that run past
// its end. An empty block gives the defaults.
bool ReadWindowData(const void* data, int32_t length, WindowOptions* options);
void WriteWindowData(const WindowOptions& options, PropertyDataWriter& writer);

// Interface 7: the Icon bytes of a block in a global memory block, or null.
void* GetWindowIconData(const void* data, int32_t length);
// Interface 9: ClassName, Caption and HelpFile offered in turn, the block
// written again (as version 6); null when the block is rejected.
void* EnumWindowTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord);

}  // namespace quillet
