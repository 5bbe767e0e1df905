#include "tests/runtime/units/unit_test_window.h"

#include <array>
#include <cstring>

#include "framework/wnd.h"
#include "runtime/events/common_events.h"
#include "runtime/template/window_loader.h"
#include "runtime/template/window_table.h"
#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/library_info.h"
#include "runtime/units/unit_object.h"

namespace unittest {
namespace {

using namespace quillet;

constexpr char TestWindowClass[] = "QuilletUnitTestWindow";

// The window: a plain frame whose pre-translation raises the common events,
// as the window unit's last stage does.
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
    types[9] = quillet::LabelType;
    types[10] = quillet::ButtonType;
    types[11] = quillet::CheckBoxType;
    return types;
}
const std::array<UnitTypeDescriptor, LibraryTypeSlotCount> TestTypes = MakeTypes();

LibraryInfo MakeLibrary() {
    LibraryInfo library = UnitLibrary();
    library.types = TestTypes.data();
    return library;
}
const LibraryInfo TestLibrary = MakeLibrary();

}  // namespace

void StartUnitTestRuntime() { testprogram::Start(TestLibrary); }

RecordDescription UnitAt(uint32_t id, uint32_t type, RECT area, const std::string& typeData,
                             std::vector<EventBinding> bindings) {
    RecordDescription record;
    record.id = id;
    record.type = type;
    record.left = area.left;
    record.top = area.top;
    record.width = area.right - area.left;
    record.height = area.bottom - area.top;
    record.flags = RecordFlag::Visible | RecordFlag::TabStop;
    record.typeData = typeData;
    record.bindings = std::move(bindings);
    return record;
}

WindowDescription WindowWith(std::vector<RecordDescription> units) {
    WindowDescription window;
    window.id = WindowId;
    RecordDescription own;
    own.id = WindowRecord;
    own.type = WindowType;
    own.left = 40;
    own.top = 40;
    own.width = 400;
    own.height = 300;
    own.flags = RecordFlag::Visible;
    own.typeData = Words({1});
    window.records.push_back(own);
    uint32_t serial = 1;
    for (RecordDescription& unit : units) {
        if (unit.id == 0) unit.id = 0x16010000 + serial;
        ++serial;
        window.records.push_back(unit);
    }
    return window;
}

bool LoadWindowOf(const WindowDescription& window) {
    if (!testprogram::UseTemplate({window})) return false;
    const bool loaded = testprogram::Load(WindowId) == 1;
    testprogram::Pump();
    return loaded;
}

void* UnitObjectOf(uint32_t unitId) {
    WindowTemplate* window = ProgramWindows().Find(WindowId);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = window->working.IndexOf(unitId);
    return index < 0 ? nullptr : window->working.RecordAt(index).Object();
}

HWND UnitHandle(uint32_t unitId) { return testprogram::HandleOf(WindowId, unitId); }

std::string Words(std::initializer_list<uint32_t> words) {
    std::string bytes;
    for (uint32_t word : words) bytes.append(reinterpret_cast<const char*>(&word), 4);
    return bytes;
}

std::string Block(const std::string& bytes) { return Words({static_cast<uint32_t>(bytes.size())}) + bytes; }

const UnitTypeDescriptor& TypeOf(uint32_t typeRef) { return TestTypes[(typeRef & 0xFFFF) - 1]; }

std::string BitmapFile(int32_t width, int32_t height, PixelColor colorAt) {
    const int32_t stride = (width * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixelBytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom row first
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = pixelBytes;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int32_t row = height - 1; row >= 0; --row) {
        std::string line(static_cast<size_t>(stride), '\0');
        for (int32_t x = 0; x < width; ++x) {
            const COLORREF color = colorAt(x, row);
            line[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(color));
            line[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(color));
            line[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(color));
        }
        bytes += line;
    }
    return bytes;
}

}  // namespace unittest
