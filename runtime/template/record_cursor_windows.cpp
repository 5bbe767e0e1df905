// Making and destroying the cursors of records' mouse-pointer data.
#include <windows.h>

#include <cstring>

#include "runtime/template/record_cursor.h"
#include "runtime/units/property_kinds.h"

namespace quillet {
namespace {

// CreateIconFromResourceEx takes a cursor image with its hot spot in front.
HCURSOR CursorFromImage(const CursorFileImage& image) {
    auto* resource = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, image.size + 4));
    if (resource == nullptr) return nullptr;
    std::memcpy(resource, &image.hotX, 2);
    std::memcpy(resource + 2, &image.hotY, 2);
    std::memcpy(resource + 4, image.bytes, image.size);
    HICON cursor = CreateIconFromResourceEx(resource, image.size + 4, FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
    HeapFree(GetProcessHeap(), 0, resource);
    return cursor;
}

HCURSOR SystemCursorCopy(uint32_t id) {
    HCURSOR shared = nullptr;
    if (id == static_cast<uint32_t>(HandCursorResource)) {
        shared = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(HandCursorResource));
        if (shared == nullptr) shared = LoadCursorA(nullptr, IDC_HAND);
    } else {
        shared = LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    }
    // A copy of our own, so that every record cursor can be destroyed alike.
    return shared != nullptr ? CopyIcon(shared) : nullptr;
}

}  // namespace

void* MakeRecordCursor(const uint8_t* data, uint32_t length) {
    uint32_t first = 0;
    if (length >= 4) {
        std::memcpy(&first, data, 4);
    } else if (length > 0) {
        first = CursorIdFromNumber(static_cast<int8_t>(data[0]));
    }
    if (first == 0) return nullptr;
    if (first != static_cast<uint32_t>(CursorFileNumber)) return SystemCursorCopy(first);
    CursorFileImage image;
    return FindCursorFileImage(data, length, &image) ? CursorFromImage(image) : nullptr;
}

void DestroyRecordCursor(void* cursor) {
    if (cursor != nullptr) DestroyCursor(static_cast<HCURSOR>(cursor));
}

}  // namespace quillet
