#pragma once
// Reads template data front to back and never past its end: every read says
// whether the bytes were there.
#include <cstdint>
#include <cstring>
#include <string>

namespace quillet {

class TemplateSource {
public:
    TemplateSource(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}

    uint32_t Remaining() const { return size_ - position_; }

    bool Bytes(void* into, uint32_t count) {
        if (count > Remaining()) return false;
        if (count != 0) std::memcpy(into, data_ + position_, count);
        position_ += count;
        return true;
    }
    bool Word(uint32_t* word) { return Bytes(word, 4); }
    // A 32-bit length and that many bytes, no terminator.
    bool CountedText(std::string* text) {
        uint32_t length = 0;
        if (!Word(&length) || length > Remaining()) return false;
        text->assign(reinterpret_cast<const char*>(data_ + position_), length);
        position_ += length;
        return true;
    }

private:
    const uint8_t* data_;
    uint32_t size_;
    uint32_t position_ = 0;
};

}  // namespace quillet
