#pragma once
// Texts: GBK bytes ended by a 0 byte. The empty text is null or a single 0 byte,
// and everything here accepts both. Lengths and positions count bytes.
#include <cstdint>

namespace quillet {

inline bool IsEmptyText(const char* text) { return text == nullptr || text[0] == '\0'; }

// Length in bytes; a null text has length 0.
int32_t TextByteCount(const char* text);

// A byte of 0x81-0xFE leads a two-byte GBK character (or a four-byte code).
// 0x80 (the euro sign) and 0xFF are characters of one byte in code page 936,
// so a walk steps over them alone and the byte after them starts anew.
inline bool IsLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

// A character that GBK lacks is held as four bytes: first and third 0x81-0xFE,
// second and fourth 0x30-0x39 (the text converter says which character). Only
// all four, before the ending 0, make one; reads stop at the first byte out of
// range, so never past the ending 0.
inline bool IsFourByteCode(const char* at) {
    const auto in = [](char byte, unsigned char low, unsigned char high) {
        return static_cast<unsigned char>(byte) >= low && static_cast<unsigned char>(byte) <= high;
    };
    return in(at[0], 0x81, 0xFE) && in(at[1], 0x30, 0x39) && in(at[2], 0x81, 0xFE) && in(at[3], 0x30, 0x39);
}

// A new heap copy of the text, or null when the text is empty.
char* CopyText(const char* text);

// A new heap text of the first count bytes followed by a 0 byte, or null when count < 1.
char* CopyBytes(const char* bytes, int32_t count);

// -1, 0 or 1: unsigned byte order, no locale, no case folding; null is the empty text.
int CompareTexts(const char* left, const char* right);

}  // namespace quillet
