#pragma once
// A program of the runtime for the window unit's tests: a library whose slot 0
// is the real window type and whose other slots hold small probe units with
// the TypeStateFlags of the real ones (edit box, label, button, check box) and
// of an option button and a docked unit, so that key and focus handling can be
// tested without the other unit types.
//
// Handlers bound in the templates note what ran in EventLog(): "<event> <unit
// id>" and the arguments (the window's own events name record 0's id).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/units/window/window_data.h"
#include "tests/support/unit_window.h"

namespace windowtest {

using namespace unitwindow;

constexpr uint32_t EditType = 0x00010005;       // 0x80000040
constexpr uint32_t LabelType = 0x0001000A;      // 0x84012040
constexpr uint32_t ButtonType = 0x0001000B;     // 0x80000840
constexpr uint32_t CheckBoxType = 0x0001000C;   // 0x80001040
constexpr uint32_t OptionType = 0x0001000E;     // 0x80000440
constexpr uint32_t DockedType = 0x0001000F;     // 0x80100040

// What a probe unit's data says of it.
namespace ProbeOption {
constexpr uint32_t WantsEnter = 1;      // WantsKey answers true for VK_RETURN
constexpr uint32_t DefaultButton = 2;   // IsDefaultButton answers true
constexpr uint32_t WantsEverything = 4; // WantsKey answers true for every key
constexpr uint32_t DockTop = 8;         // style low bits 1 (docked units)
constexpr uint32_t DockBottom = 16;     // style low bits 3
constexpr uint32_t ColorsItself = 32;   // answers its own WM_CTLCOLORBTN (reflected) with the black brush
}  // namespace ProbeOption

void StartWindowTestRuntime();
using WindowTest = UnitWindowTest<StartWindowTestRuntime>;

// Type data of a probe unit.
std::string ProbeData(const std::string& caption, uint32_t options = 0);
// Type data of the window.
std::string WindowData(const quillet::WindowOptions& options);

// The window's own record at (left, top, width, height), visible; units follow.
quillet::RecordDescription WindowRecordOf(const quillet::WindowOptions& options, RECT area,
                                          std::vector<quillet::EventBinding> bindings = {});
// A visible tab-stop unit; its id is 0x16010000 + serial.
quillet::RecordDescription UnitRecord(uint32_t serial, uint32_t type, RECT area, const std::string& data,
                                      uint32_t focusOrder = 0);
constexpr uint32_t UnitId(uint32_t serial) { return 0x16010000 + serial; }
// A menu item whose handler notes "0 <item id>"; its id is 0x26010000 + serial.
quillet::RecordDescription MenuItemRecord(uint32_t serial, const std::string& caption);
constexpr uint32_t MenuItemId(uint32_t serial) { return 0x26010000 + serial; }

// Uses the records as the program's template and loads the window; true when loaded.
bool LoadWindowOf(std::vector<quillet::RecordDescription> records);

HWND WindowHandle();
void* WindowObject();

// Handlers for bindings: they note "<event> <unit id> <arguments>" and return as named.
quillet::EventBinding Noting(int32_t event);        // returns nothing
quillet::EventBinding Refusing(int32_t event);      // returns false
quillet::EventBinding Agreeing(int32_t event);      // returns true
std::vector<std::string>& EventLog();
// "<event> <unit id>" as the handlers note an event without arguments.
std::string Noted(int32_t event, uint32_t unitId);

// Keys through the runtime's own loop: posted to the window that has the
// focus (or to target), then pumped.
void PressKey(UINT key, HWND target = nullptr);
void PressKeyWithShift(UINT key);

using testunits::BitmapFile;
using testunits::Block;
using testunits::PixelColor;
using testunits::Words;

}  // namespace windowtest
