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

// Cursor numbers, as a record's data and the mouse-pointer property carry
// them: 0 the default cursor, 1..14 the system cursors (14, the hand, comes
// from the program's own cursor resource HandCursorResource), -1 a cursor file
// after the first word. Numbers and ids outside the table pass unchanged, so
// data that already holds an id (or a number) survives either translation.
constexpr int32_t CursorFileNumber = -1;
constexpr int32_t HighestCursorNumber = 14;
constexpr int32_t HandCursorResource = 1032;
uint32_t CursorIdFromNumber(int32_t number);
int32_t CursorNumberFromId(uint32_t id);

// In place, on cursor data of 4 bytes or more; shorter data holds its number in
// its first byte and is left as it is.
void TranslateCursorNumberToId(void* data, int32_t length);
void TranslateCursorIdToNumber(void* data, int32_t length);

void* MakeRecordCursor(const uint8_t* data, uint32_t length);
void DestroyRecordCursor(void* cursor);

}  // namespace quillet
