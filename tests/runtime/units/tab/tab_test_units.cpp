#include "tests/runtime/units/tab/tab_test_units.h"

#include "framework/edit.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/unit_operation.h"
#include "tests/support/test_program.h"
#include "tests/support/test_units.h"

namespace tabtest {
namespace {

using namespace quillet;
using testunits::Block;
using testunits::Words;

HMENU ControlId(uint32_t id) { return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)); }

// ---- the field ----

class Field : public UnitObject<CEdit> {
public:
    Field(UnitId windowId, UnitId unitId) : UnitObject(windowId, unitId) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_REFLECT_BASE + WM_CTLCOLOREDIT:
        case WM_REFLECT_BASE + WM_CTLCOLORSTATIC: Note("ctlcolor"); return reinterpret_cast<LRESULT>(FieldBrush());
        case WM_REFLECT_BASE + WM_HSCROLL: Note("hscroll"); return 0;
        case WM_REFLECT_BASE + WM_VSCROLL: Note("vscroll"); return 0;
        case WM_REFLECT_BASE + WM_DRAWITEM: Note("drawitem"); return TRUE;
        case WM_REFLECT_BASE + WM_DELETEITEM: Note("deleteitem"); return TRUE;
        case WM_REFLECT_BASE + WM_COMPAREITEM: Note("compareitem"); return 0;
        default: return UnitObject::WindowProc(message, wParam, lParam);
        }
    }

private:
    void Note(const char* what) { FieldLog().push_back(std::string(what) + " " + std::to_string(UnitIdOf() & 0xFF)); }
};

void* CreateField(const void*, int32_t, uint32_t extraStyle, void* parent, uint32_t controlId, void*, int32_t left,
                  int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, uint32_t, int32_t) {
    auto* field = new Field(windowId, unitId);
    const RECT area = {left, top, left + width, top + height};
    if (!field->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | (extraStyle & ~WS_VISIBLE), area,
                       static_cast<HWND>(parent), controlId)) {
        delete field;
        return nullptr;
    }
    return static_cast<CWnd*>(field);
}

// ---- the note ----

class Note : public UnitObject<CWnd> {
public:
    Note(UnitId windowId, UnitId unitId) : UnitObject(windowId, unitId) {}
};

void* CreateNote(const void*, int32_t, uint32_t extraStyle, void* parent, uint32_t controlId, void*, int32_t left,
                 int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, uint32_t, int32_t) {
    auto* note = new Note(windowId, unitId);
    if (!note->CreateEx(0, L"STATIC", L"note", WS_CHILD | (extraStyle & ~WS_VISIBLE), left, top, width, height,
                        static_cast<HWND>(parent), ControlId(controlId))) {
        delete note;
        return nullptr;
    }
    return static_cast<CWnd*>(note);
}

// ---- the library ----

UnitOperation FieldInterface(int32_t number) {
    return number == InterfaceNumber::CreateUnit ? AsUnitOperation<CreateUnitOperation>(CreateField) : nullptr;
}
UnitOperation NoteInterface(int32_t number) {
    return number == InterfaceNumber::CreateUnit ? AsUnitOperation<CreateUnitOperation>(CreateNote) : nullptr;
}

const testunits::TestLibrary TestLibrary = {
    {0, FrameType(Frame::Captioned)},
    {4, DescribeType("编辑框", "Field", 0x80000040, 8, CommonProperties, FieldInterface)},
    {9, DescribeType("标签", "Note", 0x84012040, 8, CommonProperties, NoteInterface)},
    {20, quillet::TabType},
};

RecordDescription Unit(uint32_t id, uint32_t type, RECT area, uint32_t flags, uint32_t focusOrder,
                       uint32_t parent) {
    RecordDescription record = testunits::RecordAt(id, type, area, flags, Words({1}));
    record.focusOrder = focusOrder;
    record.parent = parent;
    return record;
}

}  // namespace

std::string PageListBytes(const std::vector<std::string>& pages) {
    std::string bytes;
    if (pages.size() < 0xFFFF) {
        const auto count = static_cast<uint16_t>(pages.size());
        bytes.append(reinterpret_cast<const char*>(&count), 2);
    } else {
        bytes += std::string("\xFF\xFF", 2) + Words({static_cast<uint32_t>(pages.size())});
    }
    for (const std::string& caption : pages) bytes += Block(caption);
    return bytes;
}

std::string TabBytes(const TabFields& fields) {
    std::string bytes = Words({fields.version, static_cast<uint32_t>(fields.tabPosition),
                               static_cast<uint32_t>(fields.multiLine), static_cast<uint32_t>(fields.currentPage)});
    if (fields.version >= 2) bytes += Words({static_cast<uint32_t>(fields.hideTabs)});
    if (fields.version >= 3) bytes += Words({static_cast<uint32_t>(fields.drawBackground), fields.backColor});
    return bytes + Block(fields.font) + PageListBytes(fields.pages);
}

WindowDescription StandardWindow(const TabFields& tabFields) {
    constexpr uint32_t Shown = RecordFlag::Visible | RecordFlag::TabStop;
    WindowDescription window = WindowOf(Unit(WindowRecord, WindowType, {40, 40, 540, 360}, Shown, 0, 0), {});
    RecordDescription tab = Unit(Tab, TabType, {10, 10, 470, 230}, RecordFlag::Visible, 0, 0);
    tab.typeData = TabBytes(tabFields);
    tab.childWords = {Field0a, Field0b, 0, Note1, Field1d, Field1h, Field1a, Field1b, 0, Field2a, 0};
    window.records.push_back(tab);
    window.records.push_back(Unit(Field0a, FieldType, {20, 40, 120, 64}, Shown, 5, Tab));
    window.records.push_back(Unit(Field0b, FieldType, {140, 40, 240, 64}, Shown, 2, Tab));
    window.records.push_back(Unit(Note1, NoteType, {20, 80, 120, 104}, RecordFlag::Visible, 1, Tab));
    window.records.push_back(
        Unit(Field1d, FieldType, {140, 80, 240, 104}, Shown | RecordFlag::Disabled, 3, Tab));
    window.records.push_back(Unit(Field1h, FieldType, {260, 80, 360, 104}, RecordFlag::TabStop, 6, Tab));
    window.records.push_back(Unit(Field1a, FieldType, {20, 120, 120, 144}, Shown, 7, Tab));
    window.records.push_back(Unit(Field1b, FieldType, {140, 120, 240, 144}, Shown, 8, Tab));
    window.records.push_back(Unit(Field2a, FieldType, {20, 160, 120, 184}, Shown, 4, Tab));
    window.records.push_back(Unit(FieldOut, FieldType, {10, 250, 200, 274}, Shown, 0, 0));
    return window;
}

void StartTabTestRuntime() { testprogram::Start(TestLibrary.Info()); }

std::vector<std::string>& FieldLog() {
    static std::vector<std::string> log;
    return log;
}

HBRUSH FieldBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    return brush;
}

}  // namespace tabtest
