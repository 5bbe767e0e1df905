#include "tests/runtime/units/edit/edit_test_program.h"

#include <array>

#include "framework/wnd.h"
#include "runtime/commands/command_arg.h"
#include "runtime/events/common_events.h"
#include "runtime/events/property_access.h"
#include "runtime/template/window_table.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/library_info.h"
#include "runtime/units/unit_object.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/test_units.h"

namespace edittest {
namespace {

using namespace quillet;

constexpr char TestWindowClass[] = "QuilletEditTestWindow";

// A plain frame whose pre-translation raises the common events, as the window
// unit's last stage does; a framework window, so that its children's
// notifications and colour messages are reflected to them.
class TestWindow : public UnitObject<CWnd> {
public:
    TestWindow(UnitId windowId, UnitId unitId) : UnitObject(windowId, unitId) {}

    BOOL PreTranslateMessage(MSG* message) override {
        WindowTemplate* window = ProgramWindows().Find(WindowId());
        return window != nullptr && RaiseCommonEvent(*window, message) ? TRUE : FALSE;
    }

protected:
    void PostNcDestroy() override {
        NotifyRuntime(ServiceCode::UnitDestroyed, WindowId(), 0);
        delete this;
    }
};

void* CreateTestWindow(const void*, int32_t, uint32_t extraStyle, void* parent, uint32_t, void* menu, int32_t left,
                       int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, uint32_t,
                       int32_t) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TestWindowClass;
    AfxRegisterClass(&windowClass);
    auto* window = new TestWindow(windowId, unitId);
    const DWORD style = (extraStyle & ~WS_VISIBLE) | WS_POPUP | WS_CLIPCHILDREN;
    if (!window->CreateEx(0, TestWindowClass, "", style, left, top, width, height, static_cast<HWND>(parent),
                          static_cast<HMENU>(menu))) {
        delete window;
        return nullptr;
    }
    return static_cast<CWnd*>(window);
}

UnitOperation TestWindowInterface(int32_t number) {
    return number == InterfaceNumber::CreateUnit ? reinterpret_cast<UnitOperation>(&CreateTestWindow) : nullptr;
}

const PropertyDescriptor TestWindowProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
};

std::array<UnitTypeDescriptor, LibraryTypeSlotCount> MakeTypes() {
    std::array<UnitTypeDescriptor, LibraryTypeSlotCount> types{};
    types[0] = DescribeType("窗口", "window", 0x800000D0, 8, TestWindowProperties, TestWindowInterface);
    types[4] = EditBoxType;
    return types;
}
const std::array<UnitTypeDescriptor, LibraryTypeSlotCount> TestTypes = MakeTypes();

LibraryInfo MakeLibrary() {
    LibraryInfo library = UnitLibrary();
    library.types = TestTypes.data();
    return library;
}
const LibraryInfo TestLibrary = MakeLibrary();

std::vector<std::string> noted;

void Note(const char* what, const uint32_t* args, int32_t argCount) {
    UnitId window = 0, unit = 0;
    std::string line = what;
    const auto add = [&line](int32_t number) {
        line += ' ';
        line += std::to_string(number);
    };
    if (CurrentEventSource(&window, &unit)) add(static_cast<int32_t>(unit & 0xFF));
    for (int32_t k = 0; k < argCount; ++k) add(static_cast<int32_t>(args[k]));
    noted.push_back(line);
}

HandlerResult OnChanged(const uint32_t* args, int32_t argCount) {
    Note("changed", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnSpin(const uint32_t* args, int32_t argCount) {
    Note("spin", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnGotFocus(const uint32_t* args, int32_t argCount) {
    Note("got", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnLostFocus(const uint32_t* args, int32_t argCount) {
    Note("lost", args, argCount);
    return {0, 0, 0};
}
// Returns the character's code: the character goes on unchanged.
HandlerResult OnCharacter(const uint32_t* args, int32_t argCount) {
    Note("char", args, argCount);
    return {1, argCount > 0 ? args[0] : 0, 0};
}

}  // namespace

std::vector<EventBinding> NotingBindings() {
    return {{0, testprogram::HandlerOffset(&OnChanged)},
            {1, testprogram::HandlerOffset(&OnSpin)},
            {CommonEvent::GotFocus, testprogram::HandlerOffset(&OnGotFocus)},
            {CommonEvent::LostFocus, testprogram::HandlerOffset(&OnLostFocus)}};
}

std::vector<EventBinding> NotingBindingsWithCharacters() {
    std::vector<EventBinding> bindings = NotingBindings();
    bindings.push_back({CommonEvent::Character, testprogram::HandlerOffset(&OnCharacter)});
    return bindings;
}

std::vector<std::string> TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(noted);
    return taken;
}

void StartEditTestRuntime() { testprogram::Start(TestLibrary); }

std::string EditData(const EditBoxData& data) {
    PropertyDataWriter writer;
    WriteEditBoxData(data, writer);
    return writer.Data();
}

RecordDescription EditAt(uint32_t id, RECT area, const EditBoxData& data, std::vector<EventBinding> bindings) {
    RecordDescription record =
        testunits::RecordAt(id, EditType, area, RecordFlag::Visible | RecordFlag::TabStop, EditData(data));
    record.bindings = std::move(bindings);
    return record;
}

WindowDescription WindowWith(std::vector<RecordDescription> units) {
    WindowDescription window;
    window.id = WindowId;
    window.records.push_back(testunits::RecordAt(WindowRecord, WindowType, {30, 30, 550, 430}, RecordFlag::Visible));
    for (RecordDescription& unit : units) window.records.push_back(unit);
    return window;
}

bool LoadWindowOf(const WindowDescription& window) { return testunits::LoadWindowOf(window); }

void* UnitObjectOf(uint32_t unitId) { return testunits::UnitObjectOf(WindowId, unitId); }

HWND Handle(uint32_t unitId) { return testprogram::HandleOf(WindowId, unitId); }

void Write(uint32_t unitId, int32_t property, uint32_t value) {
    WriteUnitProperty(WindowId, unitId, property, -1, value, 0);
}

void WriteText(uint32_t unitId, int32_t property, const std::string& text) {
    Write(unitId, property, Word(text.c_str()));
}

int32_t ReadInt(uint32_t unitId, int32_t property) {
    return static_cast<int32_t>(ReadUnitProperty(WindowId, unitId, property, -1).low);
}

std::string ReadText(uint32_t unitId, int32_t property) {
    auto* text = reinterpret_cast<char*>(static_cast<uintptr_t>(ReadUnitProperty(WindowId, unitId, property, -1).low));
    std::string copy = text != nullptr ? text : "";
    FreeBlock(text);
    return copy;
}

}  // namespace edittest
