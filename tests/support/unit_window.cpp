#include "tests/support/unit_window.h"

#include "runtime/events/common_events.h"
#include "runtime/events/property_access.h"
#include "runtime/events/window_loader.h"
#include "runtime/template/window_table.h"
#include "runtime/units/unit_operation.h"
#include "runtime/values/array_block.h"
#include "runtime/values/command_arg.h"
#include "runtime/values/runtime_heap.h"

namespace unitwindow {
namespace {

using namespace quillet;

template <DWORD FrameStyle>
void* CreateFrame(const void*, int32_t, uint32_t extraStyle, void* parent, uint32_t, void* menu, int32_t left,
                  int32_t top, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, uint32_t, int32_t) {
    constexpr wchar_t FrameClass[] = L"QuilletTestFrame";
    testunits::RegisterTestWindowClass(FrameClass);
    auto* frame = new TestFrame(windowId, unitId);
    const DWORD style = (extraStyle & ~WS_VISIBLE) | WS_POPUP | WS_CLIPCHILDREN | FrameStyle;
    if (!frame->CreateEx(0, FrameClass, L"", style, left, top, width, height, static_cast<HWND>(parent),
                         static_cast<HMENU>(menu))) {
        delete frame;
        return nullptr;
    }
    return static_cast<CWnd*>(frame);
}

template <DWORD FrameStyle>
UnitOperation FrameInterface(int32_t number) {
    return number == InterfaceNumber::CreateUnit ? AsUnitOperation<CreateUnitOperation>(CreateFrame<FrameStyle>)
                                                 : nullptr;
}

}  // namespace

BOOL TestFrame::PreTranslateMessage(MSG* message) {
    WindowTemplate* window = ProgramWindows().Find(WindowId());
    return window != nullptr && RaiseCommonEvent(*window, message) ? TRUE : FALSE;
}

void TestFrame::PostNcDestroy() {
    NotifyRuntime(ServiceCode::UnitDestroyed, WindowId(), 0);
    delete this;
}

const PropertyDescriptor CommonProperties[8] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
};

UnitTypeDescriptor FrameType(Frame frame) {
    return DescribeType("窗口", "window", 0x800000D0, 8, CommonProperties,
                        frame == Frame::Captioned ? FrameInterface<WS_CAPTION> : FrameInterface<0>);
}

RecordDescription ShownRecord(uint32_t id, uint32_t type, RECT area, const std::string& typeData,
                              std::vector<EventBinding> bindings, uint32_t focusOrder) {
    RecordDescription record =
        testunits::RecordAt(id, type, area, RecordFlag::Visible | RecordFlag::TabStop, typeData);
    record.bindings = std::move(bindings);
    record.focusOrder = focusOrder;
    return record;
}

WindowDescription WindowOf(RecordDescription own, std::vector<RecordDescription> units) {
    WindowDescription window;
    window.id = WindowId;
    window.records.push_back(std::move(own));
    for (RecordDescription& unit : units) window.records.push_back(std::move(unit));
    return window;
}

void LoadProgramWindow() {
    WindowTemplate* window = ProgramWindows().Find(WindowId);
    ASSERT_NE(window, nullptr) << "the program's template has no window " << WindowId;
    ASSERT_EQ(LoadWindow(*window, nullptr, false), 1);
}

HWND Handle(uint32_t unitId) { return testprogram::HandleOf(WindowId, unitId); }

void* ObjectOf(uint32_t unitId) { return testunits::UnitObjectOf(WindowId, unitId); }

std::string SavedFrom(void* object, const UnitTypeDescriptor& type) {
    auto save = FindOperation<SavePropertiesOperation>(type, InterfaceNumber::SaveProperties);
    EXPECT_NE(save, nullptr) << "the type saves its properties";
    return save != nullptr ? testunits::TakenBytes(save(object)) : "<none>";
}

uint32_t Read(uint32_t unitId, int32_t index, int32_t element) {
    return ReadUnitProperty(WindowId, unitId, index, element).low;
}

void Write(uint32_t unitId, int32_t index, uint32_t value, int32_t element) {
    WriteUnitProperty(WindowId, unitId, index, element, value, 0);
}

std::string ReadText(uint32_t unitId, int32_t index) {
    auto* text = reinterpret_cast<char*>(static_cast<uintptr_t>(Read(unitId, index)));
    std::string copy = text != nullptr ? text : "";
    FreeBlock(text);
    return copy;
}

void WriteText(uint32_t unitId, int32_t index, const std::string& text) {
    Write(unitId, index, Word(text.c_str()));
}

std::string ReadBytes(uint32_t unitId, int32_t index) {
    auto* byteSet = reinterpret_cast<void*>(static_cast<uintptr_t>(Read(unitId, index)));
    std::string copy = byteSet != nullptr ? std::string(ByteSetBytes(byteSet), ByteSetLength(byteSet)) : "";
    FreeBlock(byteSet);
    return copy;
}

void WriteBytes(uint32_t unitId, int32_t index, const std::string& bytes) {
    void* byteSet = NewByteSet(bytes.data(), static_cast<int32_t>(bytes.size()));
    Write(unitId, index, Word(byteSet));
    FreeBlock(byteSet);
}

}  // namespace unitwindow
