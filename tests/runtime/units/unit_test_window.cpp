#include "tests/runtime/units/unit_test_window.h"

#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/property_data.h"
#include "runtime/units/window/window_data.h"
#include "runtime/units/window/window_type.h"

namespace unittest {
namespace {

using namespace quillet;

const testunits::TestLibrary TestLibrary = {
    {0, quillet::WindowType}, {9, quillet::LabelType}, {10, quillet::ButtonType}, {11, quillet::CheckBoxType}};

}  // namespace

void StartUnitTestRuntime() { testprogram::Start(TestLibrary.Info()); }

WindowDescription WindowWith(std::vector<RecordDescription> units) {
    RecordDescription own = testunits::RecordAt(WindowRecord, unitwindow::WindowType, {40, 40, 440, 340}, RecordFlag::Visible);
    // A plain frame where the template puts it: no caption, not centred.
    WindowOptions options;
    options.borderStyle = WindowBorder::None;
    options.windowState = 0;
    PropertyDataWriter writer;
    WriteWindowData(options, writer);
    own.typeData = writer.Data();
    uint32_t serial = 1;
    for (RecordDescription& unit : units) {
        if (unit.id == 0) unit.id = 0x16010000 + serial;
        ++serial;
    }
    return WindowOf(own, std::move(units));
}

const UnitTypeDescriptor& TypeOf(uint32_t typeRef) { return TestLibrary.TypeOf(typeRef); }

}  // namespace unittest
