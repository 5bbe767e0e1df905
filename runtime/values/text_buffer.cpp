#include "runtime/values/text_buffer.h"

#include <cstring>

#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"

namespace quillet {
namespace {
constexpr int32_t Slack = 128;       // room added whenever the buffer grows
constexpr int32_t MostIdle = 256;    // idle bytes tolerated before shrinking
}  // namespace

bool TextBuffer::Reserve(int32_t newLength) {
    if (data != nullptr && capacity >= newLength && capacity - newLength <= MostIdle) return true;
    void* storage = RawReallocate(data, static_cast<size_t>(newLength) + Slack);
    if (storage == nullptr) {
        RawFree(data);
        data = nullptr;
        capacity = length = 0;
        return false;
    }
    data = static_cast<char*>(storage);
    capacity = newLength + Slack;
    return true;
}

void TextBuffer::Append(const void* bytes, int32_t count) {
    if (count <= 0) return;
    if (capacity - length < count && !Reserve(length + count)) return;
    std::memcpy(data + length, bytes, static_cast<size_t>(count));
    length += count;
}

void TextBuffer::AppendByte(char byte) { Append(&byte, 1); }

void TextBuffer::AppendPair(char lead, char trail) {
    const char pair[2] = {lead, trail};
    Append(pair, 2);
}

void TextBuffer::AppendReference(const void* reference) { Append(&reference, sizeof reference); }

void TextBuffer::Release() {
    RawFree(data);
    data = nullptr;
    capacity = length = 0;
}

// As copy-text of the bytes: the result ends at the first 0 byte, if any.
char* TextBuffer::ToText() const {
    if (length == 0) return nullptr;
    const void* zero = std::memchr(data, 0, static_cast<size_t>(length));
    const int32_t bytes = zero != nullptr ? static_cast<int32_t>(static_cast<const char*>(zero) - data) : length;
    return CopyBytes(data, bytes);
}

}  // namespace quillet
