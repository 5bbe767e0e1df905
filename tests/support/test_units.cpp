#include "tests/support/test_units.h"

#include <cstdio>

#include "framework/wnd.h"
#include "runtime/template/window_table.h"
#include "tests/support/test_program.h"

namespace testunits {

using namespace quillet;

TestLibrary::TestLibrary(std::initializer_list<Slot> slots) : info_(UnitLibrary()) {
    for (const Slot& slot : slots) {
        const auto index = static_cast<size_t>(slot.first);
        EXPECT_LT(index, types_.size()) << "type slot " << slot.first << " is beyond the library's slots";
        if (index < types_.size()) types_[index] = slot.second;
    }
    info_.types = types_.data();
}

RecordDescription RecordAt(uint32_t id, uint32_t type, RECT area, uint32_t flags, const std::string& typeData) {
    RecordDescription record;
    record.id = id;
    record.type = type;
    record.left = area.left;
    record.top = area.top;
    record.width = area.right - area.left;
    record.height = area.bottom - area.top;
    record.flags = flags;
    record.typeData = typeData;
    return record;
}

RecordDescription& RecordOf(WindowDescription& window, uint32_t id) {
    for (RecordDescription& record : window.records)
        if (record.id == id) return record;
    ADD_FAILURE() << "no record " << Hex(id) << " in window " << Hex(window.id);
    if (window.records.empty()) window.records.emplace_back();
    return window.records.front();
}

bool LoadWindowOf(const WindowDescription& window) {
    if (!testprogram::UseTemplate({window})) return false;
    const bool loaded = testprogram::Load(window.id) == 1;
    testprogram::Pump();
    return loaded;
}

void* UnitObjectOf(uint32_t windowId, uint32_t unitId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = window->working.IndexOf(unitId);
    return index < 0 ? nullptr : window->working.RecordAt(index).Object();
}

void RegisterTestWindowClass(const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    AfxRegisterClass(&windowClass);
    WNDCLASSW registered{};
    EXPECT_TRUE(GetClassInfoW(windowClass.hInstance, name, &registered)) << "window class registered";
}

std::string Hex(uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(id));
    return text;
}

std::string TakenBytes(void* memory) {
    auto block = static_cast<HGLOBAL>(memory);
    if (block == nullptr) return "<none>";
    std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

std::string Words(std::initializer_list<uint32_t> words) {
    std::string bytes;
    for (uint32_t word : words) bytes.append(reinterpret_cast<const char*>(&word), 4);
    return bytes;
}

std::string Block(const std::string& bytes) { return Words({static_cast<uint32_t>(bytes.size())}) + bytes; }

std::string BitmapFile(int32_t width, int32_t height, PixelColor colorAt) {
    const int32_t stride = (width * 3 + 3) / 4 * 4;  // rows are padded to whole words
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

const char* TextOffers::Answer(const char* text, uint32_t flags, uintptr_t context) {
    auto* offers = reinterpret_cast<TextOffers*>(context);
    offers->offered.push_back({text, flags});
    const auto renamed = offers->renames_.find(text);
    if (renamed != offers->renames_.end()) return renamed->second.c_str();
    if ((flags & quillet::EnumTextFlag::FontName) != 0 && !offers->faceName_.empty()) return offers->faceName_.c_str();
    return nullptr;
}

void PrintTo(const OfferedText& offer, std::ostream* out) { *out << offer.flags << ":" << offer.text; }

}  // namespace testunits
