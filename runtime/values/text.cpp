#include "runtime/values/text.h"

#include <cstring>

#include "runtime/values/runtime_heap.h"

namespace quillet {

int32_t TextByteCount(const char* text) {
    return text == nullptr ? 0 : static_cast<int32_t>(std::strlen(text));
}

char* CopyText(const char* text) {
    return IsEmptyText(text) ? nullptr : CopyBytes(text, TextByteCount(text));
}

char* CopyBytes(const char* bytes, int32_t count) {
    if (count < 1) return nullptr;
    char* copy = static_cast<char*>(AllocateBlock(count + 1));
    std::memcpy(copy, bytes, static_cast<size_t>(count));
    copy[count] = '\0';
    return copy;
}

int CompareTexts(const char* left, const char* right) {
    const int order = std::strcmp(left != nullptr ? left : "", right != nullptr ? right : "");
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace quillet
