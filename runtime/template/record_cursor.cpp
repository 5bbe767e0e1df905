#include "runtime/template/record_cursor.h"

#include <cstring>

#include "runtime/units/property_kinds.h"

namespace quillet {
namespace {

// A .cur file: a 6-byte header, 16-byte entries (hot spot at 4 and 6, size at 8,
// offset at 12), then the images. The first image becomes the cursor.
HCURSOR CursorFromFileBytes(const uint8_t* file, uint32_t length) {
    if (length < 6 + 16) return nullptr;
    uint32_t size, offset;
    uint16_t hotX, hotY;
    std::memcpy(&hotX, file + 6 + 4, 2);
    std::memcpy(&hotY, file + 6 + 6, 2);
    std::memcpy(&size, file + 6 + 8, 4);
    std::memcpy(&offset, file + 6 + 12, 4);
    if (offset > length || size > length - offset || size == 0) return nullptr;
    // CreateIconFromResourceEx takes a cursor image with its hot spot in front.
    auto* resource = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size + 4));
    if (resource == nullptr) return nullptr;
    std::memcpy(resource, &hotX, 2);
    std::memcpy(resource + 2, &hotY, 2);
    std::memcpy(resource + 4, file + offset, size);
    HICON cursor = CreateIconFromResourceEx(resource, size + 4, FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
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

HCURSOR MakeRecordCursor(const uint8_t* data, uint32_t length) {
    uint32_t first = 0;
    if (length >= 4) {
        std::memcpy(&first, data, 4);
    } else if (length > 0) {
        first = CursorIdFromNumber(static_cast<int8_t>(data[0]));
    }
    if (first == 0) return nullptr;
    if (first == static_cast<uint32_t>(CursorFileNumber)) return length > 4 ? CursorFromFileBytes(data + 4, length - 4) : nullptr;
    return SystemCursorCopy(first);
}

void DestroyRecordCursor(HCURSOR cursor) {
    if (cursor != nullptr) DestroyCursor(cursor);
}

}  // namespace quillet
