#pragma once
// A program of the runtime for the edit box's tests: a library whose slot 0 is
// a small window type of the tests (a stand-in for the window unit) and whose
// slot 4 is the real edit box type. Tests describe a window of edit boxes,
// load it, and reach the boxes through the read and write support entries.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/units/edit/edit_data.h"
#include "tests/support/unit_window.h"

namespace edittest {

using namespace unitwindow;

constexpr uint32_t EditType = 0x00010005;

// Own properties by property index, as compiled code addresses them.
namespace Prop {
constexpr int32_t Left = 0, Width = 2, Height = 3, Visible = 5, Disabled = 6;
constexpr int32_t Content = 8, BorderStyle = 9, TextColor = 10, BackColor = 11, Font = 12, HideSelection = 13,
                  MaxLength = 14, MultiLine = 15, ScrollBars = 16, Alignment = 17, InputMode = 18,
                  PasswordChar = 19, CaseConversion = 20, SpinMode = 21, SpinLower = 22, SpinUpper = 23,
                  SelStart = 24, SelLength = 25, SelText = 26, DataSource = 27, DataColumn = 28;
}  // namespace Prop

// Bindings of the edit box's events (ContentChanged, SpinAdjusted, GotFocus,
// LostFocus) to handlers that note them: "changed 1", "spin 1 -1", "got 1",
// "lost 1" (the unit id's low byte, then any argument).
std::vector<quillet::EventBinding> NotingBindings();
// The same and the key-press event: "char 1 214" for each byte of a typed character.
std::vector<quillet::EventBinding> NotingBindingsWithCharacters();
// What the handlers noted since the last call.
using Events = std::vector<std::string>;
Events TakeEvents();

// The runtime started once for the test library.
void StartEditTestRuntime();

// A multi-line box's data with the given scroll bars (2: vertical, 3: both).
quillet::EditBoxData MultiLine(int32_t scrollBars = 2);

// The type data of an edit box.
std::string EditData(const quillet::EditBoxData& data);

// A shown tab-stop edit box record.
quillet::RecordDescription EditAt(uint32_t id, RECT area, const quillet::EditBoxData& data,
                                  std::vector<quillet::EventBinding> bindings = {});

// A 520 x 400 window at (30, 30) holding the records.
quillet::WindowDescription WindowWith(std::vector<quillet::RecordDescription> units);

// Uses the description as the program's template, loads and shows its window.
using testunits::LoadWindowOf;

// Edit suites' fixtures start from this.
using EditTest = UnitWindowTest<StartEditTestRuntime>;

}  // namespace edittest
