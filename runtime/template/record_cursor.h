#pragma once
// The cursor a record's mouse-pointer data stands for: its first word a system
// cursor id (0: the default pointer, no cursor of our own), or -1 followed by
// the bytes of a cursor file. Every cursor made here belongs to its record.
// Cursors travel as plain pointers (HCURSOR), as in the record's cursor slot:
// reading the data needs no <windows.h>, only making the cursor does
// (record_cursor_windows.cpp).
#include <cstdint>

namespace quillet {

// The first image of the cursor file that mouse-pointer data carries: its
// bytes, which lie within the data, and its hot spot.
struct CursorFileImage {
    const uint8_t* bytes;
    uint32_t size;
    uint16_t hotX, hotY;
};

// False when the data carries no cursor file (its first word is not -1), or
// the file's first image does not lie within the data.
bool FindCursorFileImage(const uint8_t* data, uint32_t length, CursorFileImage* image);

void* MakeRecordCursor(const uint8_t* data, uint32_t length);
void DestroyRecordCursor(void* cursor);

}  // namespace quillet
