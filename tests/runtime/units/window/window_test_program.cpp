#include "tests/runtime/units/window/window_test_program.h"

#include "framework/wnd.h"
#include "runtime/template/window_table.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/window/window_type.h"
#include "runtime/values/text_encoding.h"

namespace windowtest {
namespace {

using namespace quillet;

// ---- probe units: a window of class BUTTON (so that check marks work) with
// the caption of their data ----

class ProbeUnit : public UnitObject<CWnd> {
public:
    ProbeUnit(quillet::UnitId windowId, quillet::UnitId unitId, uint32_t options)
        : UnitObject(windowId, unitId), options(options) {}
    uint32_t options;  // ProbeOption bits

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_REFLECT_BASE + WM_CTLCOLORBTN && (options & ProbeOption::ColorsItself) != 0)
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        return UnitObject::WindowProc(message, wParam, lParam);
    }
};

ProbeUnit* AsProbe(void* unit) { return static_cast<ProbeUnit*>(static_cast<CWnd*>(unit)); }

void* CreateProbe(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                  int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                  uint32_t, int32_t) {
    PropertyDataReader reader(data, length);
    const uint32_t options = reader.Word();
    const std::string caption = reader.Bytes();
    if (reader.Failed()) return nullptr;
    auto* unit = new ProbeUnit(windowId, unitId, options);
    DWORD style = WS_CHILD | BS_AUTOCHECKBOX | (extraStyle & ~WS_VISIBLE);
    if ((options & ProbeOption::DockTop) != 0) style = (style & ~3u) | 1;
    if ((options & ProbeOption::DockBottom) != 0) style = (style & ~3u) | 3;
    if (!unit->CreateEx(0, L"BUTTON", WideFromText(caption.c_str()).c_str(), style, left, top, width, height, static_cast<HWND>(parent),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)))) {
        delete unit;
        return nullptr;
    }
    return static_cast<CWnd*>(unit);
}

int32_t ProbeWantsKey(void* unit, int32_t key) {
    const uint32_t options = AsProbe(unit)->options;
    return (options & ProbeOption::WantsEverything) != 0 ||
           (key == VK_RETURN && (options & ProbeOption::WantsEnter) != 0);
}

int32_t ProbeIsDefaultButton(void* unit) { return (AsProbe(unit)->options & ProbeOption::DefaultButton) != 0; }

UnitOperation ProbeInterface(int32_t number) {
    switch (number) {
    case InterfaceNumber::CreateUnit: return reinterpret_cast<UnitOperation>(&CreateProbe);
    case InterfaceNumber::WantsKey: return reinterpret_cast<UnitOperation>(&ProbeWantsKey);
    case InterfaceNumber::IsDefaultButton: return reinterpret_cast<UnitOperation>(&ProbeIsDefaultButton);
    default: return nullptr;
    }
}

UnitOperation NoOperations(int32_t) { return nullptr; }

// Menu items raise events through the dispatcher, which wants a present type
// (one with an entry function) that raises events.
const testunits::TestLibrary TestLibrary = {
    {0, quillet::WindowType},
    {2, DescribeType("菜单", "MenuItem", 0x80000040, 0, nullptr, NoOperations)},
    {4, DescribeType("编辑框", "EditBox", 0x80000040, 8, CommonProperties, ProbeInterface)},
    {9, DescribeType("标签", "Label", 0x84012040, 8, CommonProperties, ProbeInterface)},
    {10, DescribeType("按钮", "Button", 0x80000840, 8, CommonProperties, ProbeInterface)},
    {11, DescribeType("选择框", "CheckBox", 0x80001040, 8, CommonProperties, ProbeInterface)},
    {13, DescribeType("单选框", "Option", 0x80000440, 8, CommonProperties, ProbeInterface)},
    {14, DescribeType("停靠", "Docked", 0x80100040, 8, CommonProperties, ProbeInterface)},
};

// ---- handlers ----

// "<event> <unit id>", then the arguments.
template <int32_t Event>
void Note(const uint32_t* args, int32_t count) {
    uint32_t source[2] = {0, 0};
    CurrentEventSource(&source[0], &source[1]);
    std::string line = Noted(Event, source[1]);
    for (int32_t i = 0; i < count; ++i) {
        line += ' ';
        line += std::to_string(args[i]);
    }
    EventLog().push_back(line);
}

enum class Answer { Nothing, False, True };

template <int32_t Event, Answer answer>
HandlerResult NoteAndAnswer(const uint32_t* args, int32_t count) {
    Note<Event>(args, count);
    if (answer == Answer::Nothing) return {0, 0, 0};
    return {1, answer == Answer::True ? 1u : 0u, 0};
}

using Handler = HandlerResult (*)(const uint32_t*, int32_t);

// The events the tests bind: the window's own, event 0 of units, focus events.
template <Answer answer>
Handler HandlerFor(int32_t event) {
    switch (event) {
    case -9: return &NoteAndAnswer<-9, answer>;
    case -8: return &NoteAndAnswer<-8, answer>;
    case -7: return &NoteAndAnswer<-7, answer>;
    case 0: return &NoteAndAnswer<0, answer>;
    case 1: return &NoteAndAnswer<1, answer>;
    case 2: return &NoteAndAnswer<2, answer>;
    case 3: return &NoteAndAnswer<3, answer>;
    case 4: return &NoteAndAnswer<4, answer>;
    case 5: return &NoteAndAnswer<5, answer>;
    case 6: return &NoteAndAnswer<6, answer>;
    case 7: return &NoteAndAnswer<7, answer>;
    case 8: return &NoteAndAnswer<8, answer>;
    case 9: return &NoteAndAnswer<9, answer>;
    case 10: return &NoteAndAnswer<10, answer>;
    case 11: return &NoteAndAnswer<11, answer>;
    case 12: return &NoteAndAnswer<12, answer>;
    default: return nullptr;
    }
}

template <Answer answer>
EventBinding Bind(int32_t event) {
    Handler handler = HandlerFor<answer>(event);
    return {event, handler != nullptr ? testprogram::HandlerOffset(handler) : -1};
}

}  // namespace

void StartWindowTestRuntime() { testprogram::Start(TestLibrary.Info()); }

std::string ProbeData(const std::string& caption, uint32_t options) { return Words({options}) + Block(caption); }

std::string WindowData(const WindowOptions& options) {
    PropertyDataWriter writer;
    WriteWindowData(options, writer);
    return writer.Data();
}

quillet::RecordDescription WindowRecordOf(const WindowOptions& options, RECT area, std::vector<EventBinding> bindings) {
    RecordDescription record =
        testunits::RecordAt(WindowRecord, unitwindow::WindowType, area, RecordFlag::Visible, WindowData(options));
    record.bindings = std::move(bindings);
    return record;
}

quillet::RecordDescription UnitRecord(uint32_t serial, uint32_t type, RECT area, const std::string& data,
                                      uint32_t focusOrder) {
    RecordDescription record =
        testunits::RecordAt(UnitId(serial), type, area, RecordFlag::Visible | RecordFlag::TabStop, data);
    record.focusOrder = focusOrder;
    return record;
}

quillet::RecordDescription MenuItemRecord(uint32_t serial, const std::string& caption) {
    RecordDescription record;
    record.id = MenuItemId(serial);
    record.type = quillet::MenuItemType;
    record.isMenuItem = true;
    record.caption = caption;
    record.menuHandler = Noting(0).handler;
    return record;
}

bool LoadWindowOf(std::vector<quillet::RecordDescription> records) {
    WindowDescription window;
    window.id = WindowId;
    window.records = std::move(records);
    return testunits::LoadWindowOf(window);
}

HWND WindowHandle() { return testprogram::HandleOf(WindowId, 0); }

void* WindowObject() {
    WindowTemplate* window = ProgramWindows().Find(WindowId);
    return window != nullptr && !window->working.IsEmpty() ? window->working.RecordAt(0).Object() : nullptr;
}

EventBinding Noting(int32_t event) { return Bind<Answer::Nothing>(event); }
EventBinding Refusing(int32_t event) { return Bind<Answer::False>(event); }
EventBinding Agreeing(int32_t event) { return Bind<Answer::True>(event); }

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

std::string Noted(int32_t event, uint32_t unitId) { return std::to_string(event) + " " + testunits::Hex(unitId); }

void PressKey(UINT key, HWND target) {
    if (target == nullptr) target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    testprogram::Pump();
}

void PressKeyWithShift(UINT key) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PressKey(key);
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
}

}  // namespace windowtest
