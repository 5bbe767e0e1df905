#include "runtime/units/edit/edit_positions.h"

#include "runtime/values/text_encoding.h"

namespace quillet {

WPARAM ControlPosition(const std::string& text, size_t byteOffset) {
    return WideOffsetOf(text.data(), text.size(), byteOffset);
}

int32_t ByteOffset(const std::string& text, DWORD position) {
    return static_cast<int32_t>(ByteOffsetOf(text.data(), text.size(), position));
}

EditSelection SelectionInBytes(const std::string& text, ControlSelection selection) {
    const int32_t start = ByteOffset(text, selection.start);
    const int32_t end = ByteOffset(text, selection.end);
    return {start, end - start};
}

}  // namespace quillet
