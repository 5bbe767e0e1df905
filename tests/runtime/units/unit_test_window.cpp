#include "tests/runtime/units/unit_test_window.h"

#include <array>
#include <cstring>

#include "runtime/template/window_table.h"
#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/library_info.h"
#include "runtime/units/property_data.h"
#include "runtime/units/window/window_data.h"
#include "runtime/units/window/window_type.h"

namespace unittest {
namespace {

using namespace quillet;

std::array<UnitTypeDescriptor, LibraryTypeSlotCount> MakeTypes() {
    std::array<UnitTypeDescriptor, LibraryTypeSlotCount> types{};
    types[0] = quillet::WindowType;
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
    // A plain frame where the template puts it: no caption, not centred.
    WindowOptions options;
    options.borderStyle = WindowBorder::None;
    options.windowState = 0;
    PropertyDataWriter writer;
    WriteWindowData(options, writer);
    own.typeData = writer.Data();
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
