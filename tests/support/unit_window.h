#pragma once
// "A window with units", as the unit suites use it: the one window id their
// templates share, shown records, a stand-in frame for the window unit, the
// fixture that starts the suite's runtime and closes windows after each test,
// and property access by unit id through the runtime's support entries.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/template/template_writer.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/unit_type.h"
#include "tests/support/test_program.h"
#include "tests/support/test_units.h"

namespace unitwindow {

constexpr uint32_t WindowId = 0x52010001;
constexpr uint32_t WindowRecord = 0x06010000;
constexpr uint32_t WindowType = 0x00010001;

// Starts the suite's runtime once (Start is its library's starter) and closes
// every window after each test.
template <void (*Start)()>
class UnitWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { Start(); }
    // Every test starts with no window of the program loaded.
    void SetUp() override {
        ASSERT_EQ(testprogram::HandleOf(WindowId, 0), nullptr) << "a window left over from an earlier test";
    }
    void TearDown() override { testprogram::CloseAll(); }
};

// Loads WindowId of the program's template as the runtime's load command does
// (no owner, not modal); fails the test where it is missing or does not load.
void LoadProgramWindow();

// A visible tab-stop unit record.
quillet::RecordDescription ShownRecord(uint32_t id, uint32_t type, RECT area, const std::string& typeData,
                                       std::vector<quillet::EventBinding> bindings = {}, uint32_t focusOrder = 0);
// WindowId with its own record first, then the units.
quillet::WindowDescription WindowOf(quillet::RecordDescription own, std::vector<quillet::RecordDescription> units);

// A unit of the loaded window (unit id 0: the window): its live handle and its object, or null.
HWND Handle(uint32_t unitId);
void* ObjectOf(uint32_t unitId);

// The PropertyData the type saves for the unit (or the unit object) now, or "<none>".
std::string SavedFrom(void* object, const quillet::UnitTypeDescriptor& type);
inline std::string Saved(uint32_t unitId, const quillet::UnitTypeDescriptor& type) {
    return SavedFrom(ObjectOf(unitId), type);
}

// Property access as compiled handlers do it (element -1: the whole property).
uint32_t Read(uint32_t unitId, int32_t index, int32_t element = -1);
inline int32_t ReadInt(uint32_t unitId, int32_t index) { return static_cast<int32_t>(Read(unitId, index)); }
void Write(uint32_t unitId, int32_t index, uint32_t value, int32_t element = -1);
std::string ReadText(uint32_t unitId, int32_t index);
void WriteText(uint32_t unitId, int32_t index, const std::string& text);
std::string ReadBytes(uint32_t unitId, int32_t index);
void WriteBytes(uint32_t unitId, int32_t index, const std::string& bytes);

// The eight common properties, for the test's own unit types.
extern const quillet::PropertyDescriptor CommonProperties[8];

// A stand-in for the window unit: a popup frame, a framework window (so its
// children's notifications and colour messages are reflected to them) whose
// pre-translation raises the common events as the window unit's last stage does.
// Its end tells the runtime and deletes the object.
class TestFrame : public quillet::UnitObject<CWnd> {
public:
    TestFrame(quillet::UnitId windowId, quillet::UnitId unitId) : UnitObject(windowId, unitId) {}
    BOOL PreTranslateMessage(MSG* message) override;

protected:
    void PostNcDestroy() override;
};
enum class Frame { Plain, Captioned };
quillet::UnitTypeDescriptor FrameType(Frame frame);

}  // namespace unitwindow
