#pragma once
// A program of the runtime for the tab control's tests: a library whose slot 20
// is the real tab control type, with small types of the tests' own around it —
// slot 0 a window, slot 4 a focusable field (an EDIT control) and slot 9 a note
// that is never given the focus by a page (a STATIC control with the label's
// type flags). Fields note the messages their container passes back to them.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/unit_window.h"

namespace tabtest {

using namespace unitwindow;

constexpr uint32_t FieldType = 0x00010005;
constexpr uint32_t NoteType = 0x0001000A;
constexpr uint32_t TabType = 0x00010015;

// The tab control's property indexes.
namespace Prop {
constexpr int32_t Visible = 5;
constexpr int32_t TabPosition = 8;
constexpr int32_t MultiLine = 9;
constexpr int32_t Font = 10;
constexpr int32_t Pages = 11;
constexpr int32_t CurrentPage = 12;
constexpr int32_t HideTabs = 13;
constexpr int32_t DrawBackground = 14;
constexpr int32_t BackColor = 15;
}  // namespace Prop

// The tab's type data, written by hand from the format (not by the type's own
// writer, so that the two check each other).
struct TabFields {
    uint32_t version = 3;
    int32_t tabPosition = 0;
    int32_t multiLine = 0;
    int32_t currentPage = 0;
    int32_t hideTabs = 0;
    int32_t drawBackground = 1;
    uint32_t backColor = quillet::DefaultColor;
    std::string font;  // a 60-byte block, or empty
    std::vector<std::string> pages;
};
std::string TabBytes(const TabFields& fields);
std::string PageListBytes(const std::vector<std::string>& pages);

// The tests' usual window, 500 x 320 at (40, 40), visible:
//   Tab, a tab control with three pages (its data from TabFields):
//     page 0: Field0a (focus order 5), Field0b (2)
//     page 1: Note1 (1), Field1d (3, disabled), Field1h (6, hidden), Field1a (7), Field1b (8)
//     page 2: Field2a (4)
//   Outside, on the window: FieldOut (0).
constexpr uint32_t Tab = 0x16010002;
constexpr uint32_t Field0a = 0x16010003;
constexpr uint32_t Field0b = 0x16010004;
constexpr uint32_t Note1 = 0x16010005;
constexpr uint32_t Field1d = 0x16010006;
constexpr uint32_t Field1h = 0x16010007;
constexpr uint32_t Field1a = 0x16010008;
constexpr uint32_t Field1b = 0x16010009;
constexpr uint32_t Field2a = 0x1601000A;
constexpr uint32_t FieldOut = 0x1601000B;
inline const std::vector<uint32_t> PageMembers[3] = {
    {Field0a, Field0b}, {Note1, Field1d, Field1h, Field1a, Field1b}, {Field2a}};

quillet::WindowDescription StandardWindow(const TabFields& tab);
using testunits::RecordOf;

// The runtime started once for the test library.
void StartTabTestRuntime();
using TabTest = UnitWindowTest<StartTabTestRuntime>;

// What fields were handed back by their container, in order:
// "<reflected message name> <unit id & 0xFF>", e.g. "ctlcolor 3".
std::vector<std::string>& FieldLog();
// The brush a field answers its colour message with.
HBRUSH FieldBrush();

}  // namespace tabtest
