#pragma once
// Unit types of the tests' own, in a library of their own, so that loading,
// property access and events can be tested without the real unit types:
//   0x00010001 a top-level window, 0x00010005 a plain unit with four own
//   properties, 0x00010015 a container with pages (property 12: current page).
// Every object notes the runtime's messages it receives in ProbeLog().
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/events/event_dispatch.h"
#include "runtime/services/library_info.h"
#include "runtime/template/template_writer.h"
#include "tests/support/test_program.h"
#include "tests/support/unit_window.h"

namespace probe {

using unitwindow::WindowType;
constexpr uint32_t UnitType = 0x00010005;
constexpr uint32_t TabType = 0x00010015;

// Own properties of the plain unit.
constexpr int32_t TextProperty = 8;      // text
constexpr int32_t NumberProperty = 9;    // int; a write makes the unit be built again
constexpr int32_t FlagProperty = 10;     // logical
constexpr int32_t PickProperty = 11;     // pick 0..3
constexpr int32_t CurrentPageProperty = 12;  // the container's

// What the unit objects saw, in order: "created <id>", "units-created <id>",
// "arrange <id>", "shown <id>", "keydown <id> <key>", "char <id> <code>",
// "destroyed <id>", "event-refused <id>" (an event raised during the load
// found no handler).
std::vector<std::string>& ProbeLog();

// Type data of the plain unit; version 99 is refused by its CreateUnit, and
// version 98 (of the unit or of the window) hands back an object whose window
// was never made.
constexpr uint32_t RefusedVersion = 99;
constexpr uint32_t WindowlessVersion = 98;
std::string UnitData(const std::string& text, int32_t number, uint32_t version = 1, int32_t flag = 0,
                     int32_t pick = 0);

const quillet::LibraryInfo& ProbeLibrary();

// Probe objects (windows, units, containers) made and not yet deleted.
int32_t LiveProbeObjects();

// The runtime initialised for a program whose one library is the probe library.
void StartProbeRuntime();

// The tests' usual window, 400 x 300 at (50, 50): a container (Tab) with two
// pages, unit A on page 0 and unit B on page 1 (both flagged visible), unit C
// on the window with flags 0 (hidden), 120 wide, and unit D, which uses C's
// bindings. Tests add their bindings before they use it.
using unitwindow::WindowId;
using unitwindow::WindowRecord;
constexpr uint32_t Tab = 0x16010002;
constexpr uint32_t A = 0x16010003;
constexpr uint32_t B = 0x16010004;
constexpr uint32_t C = 0x16010005;
constexpr uint32_t D = 0x16010006;
quillet::WindowDescription StandardWindow();
// The record of an id in a description.
using testunits::RecordOf;

// Handles and property access by unit id in the loaded window.
using unitwindow::Handle;
using unitwindow::Read;
using unitwindow::Write;

// The probe runtime started once per suite, no window left over before a test
// and every window closed after it.
using ProbeTest = unitwindow::UnitWindowTest<StartProbeRuntime>;

// ProbeTest with StandardWindow() as the program's template; Load() loads it.
class StandardWindowTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ASSERT_TRUE(testprogram::UseTemplate({StandardWindow()}));
    }
    static void Load() { unitwindow::LoadProgramWindow(); }
};

}  // namespace probe
