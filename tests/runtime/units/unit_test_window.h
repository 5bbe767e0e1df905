#pragma once
// A program of the runtime for the unit types' own tests: a library whose slots
// 0, 9, 10 and 11 hold the real window, label, button and check box types.
// Tests describe a window holding the units they need and load it.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/unit_window.h"

namespace unittest {

using namespace unitwindow;

constexpr uint32_t LabelType = 0x0001000A;
constexpr uint32_t ButtonType = 0x0001000B;
constexpr uint32_t CheckBoxType = 0x0001000C;

// The runtime started once for the test library.
void StartUnitTestRuntime();
using UnitTest = UnitWindowTest<StartUnitTestRuntime>;

// A window 400 x 300 holding the units; unit records get their ids in order
// (0x16010001, ...) unless they carry one.
quillet::WindowDescription WindowWith(std::vector<quillet::RecordDescription> units);

// Uses the description as the program's template and loads its window; true when loaded.
using testunits::LoadWindowOf;

using testunits::Block;
using testunits::Words;

// The operations of a type of the library, looked up as the runtime does.
const quillet::UnitTypeDescriptor& TypeOf(uint32_t typeRef);
template <typename Operation>
Operation OperationOf(uint32_t typeRef, int32_t interfaceNumber) {
    return quillet::FindOperation<Operation>(TypeOf(typeRef), interfaceNumber);
}
// The PropertyData the unit of that type saves now.
inline std::string SavedOf(uint32_t unitId, uint32_t typeRef) { return Saved(unitId, TypeOf(typeRef)); }

using testunits::BitmapFile;
using testunits::PixelColor;

}  // namespace unittest
