#include "runtime/template/record_cursor.h"

#include <cstring>

namespace quillet {

// After the first word, a .cur file: a 6-byte header, 16-byte entries (hot spot
// at 4 and 6, size at 8, offset at 12), then the images.
bool FindCursorFileImage(const uint8_t* data, uint32_t length, CursorFileImage* image) {
    constexpr uint32_t FirstEntry = 4 + 6;
    uint32_t first = 0, size = 0, offset = 0;
    if (length < FirstEntry + 16) return false;
    std::memcpy(&first, data, 4);
    if (first != static_cast<uint32_t>(CursorFileNumber)) return false;
    std::memcpy(&image->hotX, data + FirstEntry + 4, 2);
    std::memcpy(&image->hotY, data + FirstEntry + 6, 2);
    std::memcpy(&size, data + FirstEntry + 8, 4);
    std::memcpy(&offset, data + FirstEntry + 12, 4);
    // The offset counts from the file's start, after the first word.
    const uint32_t fileLength = length - 4;
    if (offset > fileLength || size > fileLength - offset || size == 0) return false;
    image->bytes = data + 4 + offset;
    image->size = size;
    return true;
}

}  // namespace quillet
