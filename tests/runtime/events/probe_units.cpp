#include "tests/runtime/events/probe_units.h"

#include <cstring>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/services/startup.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/unit_operation.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/test_units.h"

namespace probe {
namespace {

using namespace quillet;
using testunits::Hex;
using testunits::RecordAt;
using testunits::RegisterTestWindowClass;
using testunits::Words;

void Note(const std::string& what, uint32_t id, const std::string& more = "") {
    ProbeLog().push_back(what + " " + Hex(id) + (more.empty() ? "" : " " + more));
}

// Reads the little-endian fields of a type's data block, refusing to run past it.
class DataReader {
public:
    DataReader(const void* data, int32_t length) : data_(static_cast<const char*>(data)), left_(length) {}
    bool Word(uint32_t* word) { return Take(word, 4); }
    bool Text(std::string* text) {
        uint32_t length = 0;
        if (!Word(&length) || length > static_cast<uint32_t>(left_)) return false;
        text->assign(data_, length);
        data_ += length;
        left_ -= static_cast<int32_t>(length);
        return true;
    }

private:
    bool Take(void* into, int32_t count) {
        if (count > left_) return false;
        std::memcpy(into, data_, static_cast<size_t>(count));
        data_ += count;
        left_ -= count;
        return true;
    }
    const char* data_;
    int32_t left_;
};

int32_t liveObjects = 0;

// A member of every probe object, so that a test sees objects nobody deleted.
struct LiveCount {
    LiveCount() { ++liveObjects; }
    ~LiveCount() { --liveObjects; }
    LiveCount(const LiveCount&) = delete;
    LiveCount& operator=(const LiveCount&) = delete;
};

HGLOBAL SaveBlock(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

struct Placement {
    int32_t left, top, width, height;
};

// Makes the object's window and notes "created <unit id>"; the object, or null
// (the object deleted) where its window is refused.
template <typename Unit>
void* Created(Unit* unit, const wchar_t* className, const std::string& caption, DWORD style, Placement area, void* parent,
              HMENU menu) {
    if (!unit->CreateEx(0, className, WideFromText(caption.c_str()).c_str(), style, area.left, area.top, area.width, area.height,
                        static_cast<HWND>(parent), menu)) {
        delete unit;
        return nullptr;
    }
    Note("created", unit->UnitIdOf());
    return static_cast<CWnd*>(unit);
}

HMENU ControlMenu(uint32_t controlId) { return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)); }

// A probe object of Base: live until deleted, and noting "destroyed <id>" in its final clean-up.
template <typename Base>
class Destroyed : public Base {
public:
    using Base::Base;

protected:
    void PostNcDestroy() override {
        Note("destroyed", this->UnitIdOf());
        Base::PostNcDestroy();
    }

private:
    LiveCount counted_;
};

// ---- the window ----

class ProbeWindow : public Destroyed<unitwindow::TestFrame> {
public:
    using Destroyed::Destroyed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == UM_UNITS_CREATED) Note("units-created", UnitIdOf());
        if (message == UM_ARRANGE) Note("arrange", UnitIdOf());
        if (message == UM_WINDOW_SHOWN) Note("shown", UnitIdOf());
        return TestFrame::WindowProc(message, wParam, lParam);
    }
};

void* CreateWindowUnit(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t, void* menu,
                       int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                       uint32_t, int32_t) {
    DataReader reader(data, length);
    uint32_t version = 0;
    std::string caption;
    if (!reader.Word(&version) || (version > 1 && version != WindowlessVersion) || !reader.Text(&caption))
        return nullptr;
    RegisterTestWindowClass(L"QuilletProbeWindow");
    auto* window = new ProbeWindow(windowId, unitId);
    if (version == WindowlessVersion) return static_cast<CWnd*>(window);
    return Created(window, L"QuilletProbeWindow", caption, (extraStyle & ~WS_VISIBLE) | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                   {left, top, width, height}, parent, static_cast<HMENU>(menu));
}

// ---- the plain unit ----

class ProbeUnit : public Destroyed<UnitObject<CWnd>> {
public:
    ProbeUnit(UnitId windowId, UnitId unitId) : Destroyed(windowId, unitId) {}

    std::string text;
    int32_t number = 0;
    int32_t flag = 0;
    int32_t pick = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case UM_UNITS_CREATED:
            Note("units-created", UnitIdOf());
            // Raised while the window loads: no handler may run.
            if (!RaiseEvent(5)) Note("event-refused", UnitIdOf());
            break;
        case UM_WINDOW_SHOWN: Note("shown", UnitIdOf()); break;
        case WM_KEYDOWN: Note("keydown", UnitIdOf(), std::to_string(wParam)); break;
        case WM_CHAR: Note("char", UnitIdOf(), std::to_string(wParam)); break;
        case WM_LBUTTONDOWN: RaiseEvent(0); break;
        default: break;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }
};

void* CreatePlainUnit(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId,
                      void*, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId,
                      uint32_t unitId, uint32_t, int32_t) {
    DataReader reader(data, length);
    uint32_t version = 0, number = 0, flag = 0, pick = 0;
    std::string text;
    if (!reader.Word(&version) || (version > 1 && version != WindowlessVersion) || !reader.Text(&text) ||
        !reader.Word(&number) || !reader.Word(&flag) || !reader.Word(&pick))
        return nullptr;
    RegisterTestWindowClass(L"QuilletProbeUnit");
    auto* unit = new ProbeUnit(windowId, unitId);
    unit->text = text;
    unit->number = static_cast<int32_t>(number);
    unit->flag = static_cast<int32_t>(flag);
    unit->pick = static_cast<int32_t>(pick);
    if (version == WindowlessVersion) return static_cast<CWnd*>(unit);
    return Created(unit, L"QuilletProbeUnit", text, WS_CHILD | (extraStyle & ~WS_VISIBLE), {left, top, width, height},
                   parent, ControlMenu(controlId));
}

ProbeUnit* AsUnit(void* unit) { return static_cast<ProbeUnit*>(static_cast<CWnd*>(unit)); }

int32_t SetUnitProperty(void* object, int32_t ownIndex, PropertyValue* value, uint32_t* cleared) {
    *cleared = 0;
    ProbeUnit* unit = AsUnit(object);
    switch (ownIndex) {
    case 0: unit->text = reinterpret_cast<const char*>(static_cast<uintptr_t>(value->first)); return 0;
    case 1: unit->number = static_cast<int32_t>(value->first); return 1;
    case 2: unit->flag = static_cast<int32_t>(value->first); return 0;
    case 3: unit->pick = std::min(static_cast<int32_t>(value->first), 3); return 0;
    default: return 0;
    }
}

int32_t GetUnitProperty(void* object, int32_t ownIndex, PropertyValue* value) {
    ProbeUnit* unit = AsUnit(object);
    switch (ownIndex) {
    case 0: value->first = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(unit->text.c_str())); return 1;
    case 1: value->first = static_cast<uint32_t>(unit->number); return 1;
    case 2: value->first = static_cast<uint32_t>(unit->flag); return 1;
    case 3: value->first = static_cast<uint32_t>(unit->pick); return 1;
    default: return 0;
    }
}

void* SaveUnit(void* object) {
    ProbeUnit* unit = AsUnit(object);
    return SaveBlock(UnitData(unit->text, unit->number, 1, unit->flag, unit->pick));
}

// ---- the container with pages ----

class ProbeTab : public UnitObject<CWnd> {
public:
    ProbeTab(UnitId windowId, UnitId unitId) : UnitObject(windowId, unitId) {}
    int32_t page = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == UM_UNITS_CREATED) Note("units-created", UnitIdOf());
        if (message == UM_WINDOW_SHOWN) {
            Note("shown", UnitIdOf());
            NotifyRuntime(ServiceCode::ShowTabPage, WindowId(), UnitIdOf());
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

private:
    LiveCount counted_;
};

void* CreateTab(const void* data, int32_t length, uint32_t extraStyle, void* parent, uint32_t controlId, void*,
                int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                uint32_t, int32_t) {
    DataReader reader(data, length);
    uint32_t version = 0, page = 0;
    if (!reader.Word(&version) || version > 1 || !reader.Word(&page)) return nullptr;
    RegisterTestWindowClass(L"QuilletProbeTab");
    auto* tab = new ProbeTab(windowId, unitId);
    tab->page = static_cast<int32_t>(page);
    return Created(tab, L"QuilletProbeTab", "", WS_CHILD | WS_CLIPCHILDREN | (extraStyle & ~WS_VISIBLE),
                   {left, top, width, height}, parent, ControlMenu(controlId));
}

ProbeTab* AsTab(void* unit) { return static_cast<ProbeTab*>(static_cast<CWnd*>(unit)); }

int32_t SetTabProperty(void* object, int32_t ownIndex, PropertyValue* value, uint32_t* cleared) {
    *cleared = 0;
    if (ownIndex != CurrentPageProperty - 8) return 0;
    ProbeTab* tab = AsTab(object);
    tab->page = std::max(static_cast<int32_t>(value->first), 0);
    NotifyRuntime(ServiceCode::ShowTabPage, tab->WindowId(), tab->UnitIdOf());
    return 0;
}

int32_t GetTabProperty(void* object, int32_t ownIndex, PropertyValue* value) {
    if (ownIndex != CurrentPageProperty - 8) return 0;
    value->first = static_cast<uint32_t>(AsTab(object)->page);
    return 1;
}

void* SaveTab(void* object) { return SaveBlock(Words({1, static_cast<uint32_t>(AsTab(object)->page)})); }

// ---- the tables ----


UnitOperation WindowInterface(int32_t number) {
    return number == InterfaceNumber::CreateUnit ? AsUnitOperation(&CreateWindowUnit) : nullptr;
}
UnitOperation UnitInterface(int32_t number) {
    switch (number) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation(&CreatePlainUnit);
    case InterfaceNumber::SetProperty: return AsUnitOperation(&SetUnitProperty);
    case InterfaceNumber::GetProperty: return AsUnitOperation(&GetUnitProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation(&SaveUnit);
    default: return nullptr;
    }
}
UnitOperation TabInterface(int32_t number) {
    switch (number) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation(&CreateTab);
    case InterfaceNumber::SetProperty: return AsUnitOperation(&SetTabProperty);
    case InterfaceNumber::GetProperty: return AsUnitOperation(&GetTabProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation(&SaveTab);
    default: return nullptr;
    }
}

using enum PropertyKind;
const PropertyDescriptor UnitProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty, TagProperty, VisibleProperty, DisabledProperty,
    MousePointerProperty, Property(Text), Property(Int), Property(Logical), Property(Pick),
};
const PropertyDescriptor TabProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty, TagProperty, VisibleProperty, DisabledProperty,
    MousePointerProperty, Property(Int), Property(Int), Property(Int), Property(Int), Property(Int),
    Property(Int), Property(Int), Property(Int),
};

const testunits::TestLibrary TheProbeLibrary = {
    {0, DescribeType("窗口", "window", 0x800000D0, 8, unitwindow::CommonProperties, WindowInterface)},
    {4, DescribeType("探针", "Probe", 0x80000040, 12, UnitProperties, UnitInterface)},
    {20, DescribeType("选择夹", "Tab", 0x800101C0, 16, TabProperties, TabInterface)},
};

}  // namespace

std::vector<std::string>& ProbeLog() {
    static std::vector<std::string> log;
    return log;
}

std::string UnitData(const std::string& text, int32_t number, uint32_t version, int32_t flag, int32_t pick) {
    return Words({version, static_cast<uint32_t>(text.size())}) + text +
           Words({static_cast<uint32_t>(number), static_cast<uint32_t>(flag), static_cast<uint32_t>(pick)});
}

WindowDescription StandardWindow() {
    constexpr uint32_t Shown = RecordFlag::Visible | RecordFlag::TabStop;
    WindowDescription window;
    window.id = WindowId;
    window.records.push_back(RecordAt(WindowRecord, WindowType, {50, 50, 450, 350}, Shown, Words({1, 5}) + "probe"));
    RecordDescription tab = RecordAt(Tab, TabType, {10, 10, 310, 160}, Shown, Words({1, 0}));
    tab.childWords = {A, 0, B, 0};
    window.records.push_back(tab);
    RecordDescription a = RecordAt(A, UnitType, {5, 5, 105, 29}, Shown, UnitData("a", 1));
    a.parent = Tab;
    window.records.push_back(a);
    RecordDescription b = RecordAt(B, UnitType, {5, 40, 105, 64}, Shown, UnitData("b", 2));
    b.parent = Tab;
    window.records.push_back(b);
    window.records.push_back(RecordAt(C, UnitType, {10, 200, 130, 224}, 0, UnitData("c", 3)));
    RecordDescription d = RecordAt(D, UnitType, {150, 200, 270, 224}, Shown, UnitData("d", 4));
    d.eventSource = C;
    window.records.push_back(d);
    return window;
}

int32_t LiveProbeObjects() { return liveObjects; }

const LibraryInfo& ProbeLibrary() { return TheProbeLibrary.Info(); }

void StartProbeRuntime() { testprogram::Start(TheProbeLibrary.Info()); }

}  // namespace probe
