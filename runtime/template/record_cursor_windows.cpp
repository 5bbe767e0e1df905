// Making and destroying the cursors of records' mouse-pointer data.
#include <windows.h>

#include <cstring>

#include "runtime/template/record_cursor.h"

namespace quillet {
namespace {

// The cursor id of each number 1..14, in number order: system cursors, but the
// hand is the program's own resource (the loader falls back to IDC_HAND).
LPCSTR CursorIdOf(int32_t number) {
    switch (number) {
    case 1: return IDC_ARROW;
    case 2: return IDC_CROSS;
    case 3: return IDC_IBEAM;
    case 4: return IDC_WAIT;
    case 5: return IDC_HELP;
    case 6: return IDC_APPSTARTING;
    case 7: return IDC_NO;
    case 8: return IDC_SIZEALL;
    case 9: return IDC_SIZENESW;
    case 10: return IDC_SIZENS;
    case 11: return IDC_SIZENWSE;
    case 12: return IDC_SIZEWE;
    case 13: return IDC_UPARROW;
    case 14: return MAKEINTRESOURCEA(HandCursorResource);
    default: return nullptr;
    }
}

int32_t FirstWord(const void* data) {
    int32_t word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

void SetFirstWord(void* data, int32_t word) { std::memcpy(data, &word, sizeof word); }

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
        shared = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(HandCursorResource));
        if (shared == nullptr) shared = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    } else {
        shared = LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
    }
    // A copy of our own, so that every record cursor can be destroyed alike.
    return shared != nullptr ? CopyIcon(shared) : nullptr;
}

}  // namespace

void* MakeRecordCursor(const uint8_t* data, uint32_t length) {
    uint32_t first = 0;
    if (length >= 4) {
        first = static_cast<uint32_t>(FirstWord(data));
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

uint32_t CursorIdFromNumber(int32_t number) {
    const LPCSTR cursor = CursorIdOf(number);
    return cursor != nullptr ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cursor))
                             : static_cast<uint32_t>(number);
}

int32_t CursorNumberFromId(uint32_t id) {
    for (int32_t number = 1; number <= HighestCursorNumber; ++number)
        if (reinterpret_cast<uintptr_t>(CursorIdOf(number)) == id) return number;
    return static_cast<int32_t>(id);
}

void TranslateCursorNumberToId(void* data, int32_t length) {
    if (data != nullptr && length >= 4) SetFirstWord(data, static_cast<int32_t>(CursorIdFromNumber(FirstWord(data))));
}

void TranslateCursorIdToNumber(void* data, int32_t length) {
    if (data != nullptr && length >= 4)
        SetFirstWord(data, CursorNumberFromId(static_cast<uint32_t>(FirstWord(data))));
}

}  // namespace quillet
