#pragma once
// Reads template data front to back through a memory file and a loading archive
// (4096-byte buffer), never past its end: every read says whether the bytes
// were there.
#include <cstdint>
#include <string>

#include "framework/archive.h"
#include "framework/mem_file.h"

namespace quillet {

class TemplateSource {
public:
    TemplateSource(const uint8_t* data, uint32_t size) : file_(data, size), archive_(&file_, CArchive::load) {}

    uint32_t Remaining() const { return archive_.BytesLeft(); }

    bool Bytes(void* into, uint32_t count) { return archive_.Read(into, count) == count && !archive_.IsFailed(); }
    bool Word(uint32_t* word) { return Bytes(word, 4); }
    // A 32-bit length and that many bytes, no terminator.
    bool CountedText(std::string* text) {
        uint32_t length = 0;
        if (!Word(&length) || length > Remaining()) return false;
        text->resize(length);
        return Bytes(text->data(), length);
    }

private:
    CMemFile file_;
    CArchive archive_;
};

}  // namespace quillet
