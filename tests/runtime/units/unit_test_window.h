#pragma once
// A program of the runtime for the unit types' own tests: a library whose slots
// 0, 9, 10 and 11 hold the real window, label, button and check box types.
// Tests describe a window holding the units they need and load it.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/events/event_dispatch.h"
#include "runtime/template/template_writer.h"
#include "runtime/units/unit_type.h"
#include "tests/support/test_program.h"
#include "tests/support/test_units.h"

namespace unittest {

constexpr uint32_t WindowId = 0x52010001;
constexpr uint32_t WindowRecord = 0x06010000;
constexpr uint32_t WindowType = 0x00010001;
constexpr uint32_t LabelType = 0x0001000A;
constexpr uint32_t ButtonType = 0x0001000B;
constexpr uint32_t CheckBoxType = 0x0001000C;

// The runtime started once for the test library.
void StartUnitTestRuntime();

// A window 400 x 300 holding the units; unit records get their ids in order
// (0x16010001, ...) unless they carry one.
quillet::RecordDescription UnitAt(uint32_t id, uint32_t type, RECT area, const std::string& typeData,
                                      std::vector<quillet::EventBinding> bindings = {});
quillet::WindowDescription WindowWith(std::vector<quillet::RecordDescription> units);

// Uses the description as the program's template and loads its window; true when loaded.
using testunits::LoadWindowOf;

// The unit object in a record of the loaded window (as its type's operations take it), or null.
void* UnitObjectOf(uint32_t unitId);
HWND UnitHandle(uint32_t unitId);

using testunits::Block;
using testunits::Words;

// The operations of a type of the library, looked up as the runtime does.
const quillet::UnitTypeDescriptor& TypeOf(uint32_t typeRef);
template <typename Operation>
Operation OperationOf(uint32_t typeRef, int32_t interfaceNumber) {
    return quillet::FindOperation<Operation>(TypeOf(typeRef), interfaceNumber);
}

using testunits::BitmapFile;
using testunits::PixelColor;

}  // namespace unittest
