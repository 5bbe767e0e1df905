#pragma once
// Texts: GBK bytes ended by a 0 byte. The empty text is null or a single 0 byte,
// and everything here accepts both. Lengths and positions count bytes.
#include <cstdint>

namespace quillet {

inline bool IsEmptyText(const char* text) { return text == nullptr || text[0] == '\0'; }

// Length in bytes; a null text has length 0.
int32_t TextLength(const char* text);

// A byte of 0x80 or above leads a two-byte GBK character.
inline bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// A new heap copy of the text, or null when the text is empty.
char* CopyText(const char* text);

// A new heap text of the first count bytes followed by a 0 byte, or null when count < 1.
char* CopyBytes(const char* bytes, int32_t count);

// -1, 0 or 1: unsigned byte order, no locale, no case folding; null is the empty text.
int CompareTexts(const char* left, const char* right);

}  // namespace quillet
