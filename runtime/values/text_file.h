#pragma once
// The text of a file as a runtime text: what a file dropped on a box or read
// by a program holds, in whichever of the usual encodings it was saved. The
// kind is decided from the bytes alone: a byte-order mark first, then whether
// the bytes are UTF-8 with at least one character beyond ASCII; anything else
// is the code page's own (GBK) and keeps its bytes. Every character comes
// through, those GBK lacks as four-byte codes (text_encoding.h).
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

enum class TextFileKind {
    Gbk,       // no mark, not UTF-8 beyond ASCII (pure ASCII included)
    Utf8,      // no mark, every byte a well-formed UTF-8 sequence, some beyond ASCII
    Utf8Mark,  // EF BB BF first; a malformed sequence after it becomes U+FFFD
    Utf16Le,   // FF FE first; an odd last byte and lone surrogates become U+FFFD
    Utf16Be,   // FE FF first
    NotText,   // a 0 byte (a 0 unit in UTF-16): no text file holds one
};

TextFileKind KindOfTextFile(const uint8_t* bytes, size_t size);

// The file's text after any mark, appended to *text; false (and *text
// unchanged) for NotText.
bool DecodeTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileKind* kind = nullptr);

}  // namespace quillet
