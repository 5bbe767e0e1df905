#pragma once
// The cursor a record's mouse-pointer data stands for: its first word a system
// cursor id (0: the default pointer, no cursor of our own), or -1 followed by
// the bytes of a cursor file. Every cursor made here belongs to its record.
#include <windows.h>

#include <cstdint>

namespace quillet {

HCURSOR MakeRecordCursor(const uint8_t* data, uint32_t length);
void DestroyRecordCursor(HCURSOR cursor);

}  // namespace quillet
