#pragma once
// Positions in an edit box's text. The runtime counts bytes of its text, as
// everywhere in the runtime; the control counts UTF-16 units. Every position
// that crosses between the two is converted here.
#include <windows.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

// A selection as the runtime sees it.
struct EditSelection {
    int32_t start;   // bytes before the selection
    int32_t length;  // bytes selected
};

// A selection as the control gives it (EM_GETSEL).
struct ControlSelection {
    DWORD start;  // UTF-16 units
    DWORD end;
};

// The control's end, whatever its length: positions past it are clamped.
constexpr WPARAM ControlEnd = INT_MAX;

// The control's position for a byte offset of its text; an offset inside a
// character counts that whole character.
WPARAM ControlPosition(const std::string& text, size_t byteOffset);

// The byte offset of a position of the control, at most the text's length.
int32_t ByteOffset(const std::string& text, DWORD position);

// The control's selection in bytes of its text.
EditSelection SelectionInBytes(const std::string& text, ControlSelection selection);

}  // namespace quillet
