#pragma once
// A growable byte buffer in which a command builds its result before copying it
// once into an exact-size block. It keeps 128 bytes of slack when it grows and
// gives memory back only when more than 256 bytes would lie idle.
#include <cstdint>

namespace quillet {

struct TextBuffer {
    char* data = nullptr;   // storage from the process heap; null until the first reserve
    int32_t capacity = 0;   // bytes of storage
    int32_t length = 0;     // bytes used

    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { Release(); }

    // Makes room for a total length of newLength bytes. False when the heap
    // refused; the buffer is then empty (capacity and length 0).
    bool Reserve(int32_t newLength);

    void AppendByte(char byte);
    void AppendPair(char lead, char trail);          // one double-byte character
    void AppendReference(const void* reference);     // one 4-byte element reference
    void Append(const void* bytes, int32_t count);

    void Release();

    // The result text: a copy of the bytes, or null when nothing was appended.
    char* ToText() const;
};

}  // namespace quillet
