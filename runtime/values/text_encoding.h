#pragma once
// Runtime texts and UTF-16: the one converter between the two.
//
// A runtime text is bytes. A character that code page 936 has keeps its one
// or two bytes; every other character is a four-byte code in GB18030's form
// (first and third byte 0x81-0xFE, second and fourth 0x30-0x39): the Basic
// Multilingual Plane numbered as GB18030 numbers it, from 81 30 81 30 (U+0080)
// to 84 31 A4 39 (U+FFFF); the supplementary planes in order from 90 30 81 30
// (U+10000) to E3 32 9A 35 (U+10FFFF); and the 80 characters that GB18030
// codes in two bytes where code page 936 has private-use characters, from
// 84 31 A5 30 on, in code point order. Any other bytes convert as code page
// 936 converts them: 0x80 is the euro sign, 0xFF U+F8F5, a lead byte before a
// byte that is no trail byte, or at the end, is '?' (taking the trail with it).
//
// The controls and profile files of the platform take UTF-16 and the runtime
// works on bytes, so a text crosses here on its way in and on its way out, and
// what came in leaves exactly as it came. A text made only of characters that
// code page 936 has converts as the platform converts it.
//
// Files may also be GB18030 (the 2000 mapping, as Windows' code page 54936 has
// it), which the platform here cannot convert, so the program carries its own
// encoder and decoder. GB18030 is code page 936 but for these: the euro sign is
// A2 E3 (where the page has U+E76C), 0x80 and 0xFF alone are no character, and
// the 80 two-byte codes of the characters above that the page lacks hold those
// characters (the page's private-use points there have four-byte codes in
// GB18030). Its four-byte codes are the runtime's, but for the 80 characters'
// codes from 84 31 A5 30 on, which GB18030 leaves unassigned.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

// A UTF-16 unit: the platform's wide character on Windows; on the host build,
// where wchar_t has 32 bits, char16_t.
#ifdef _WIN32
using WideChar = wchar_t;
#else
using WideChar = char16_t;
#endif
static_assert(sizeof(WideChar) == 2);
using WideString = std::basic_string<WideChar>;

// One character of a runtime text.
struct TextCharacter {
    uint32_t codePoint;  // what the bytes convert to
    uint32_t bytes;      // how many bytes it takes: 1, 2 or 4
};

// The character at text[at]; at < size. Reads no byte at or past size.
TextCharacter CharacterAt(const char* text, size_t size, size_t at);

// The bytes of one code point (a surrogate half converts as U+FFFD): 1, 2 or 4
// of them in out.
size_t EncodeCharacter(uint32_t codePoint, char out[4]);

// UTF-16 units of a code point.
inline size_t WideUnits(uint32_t codePoint) { return codePoint >= 0x10000 ? 2 : 1; }

// Bytes to UTF-16, added to the end of *out.
void AppendWide(const char* text, size_t size, WideString* out);
WideString WideFromText(const char* text, size_t size);
WideString WideFromText(const char* text);  // up to the ending 0; null is empty

// Bytes to UTF-16 into out[0, room) without the heap, for code that must work
// once memory has run out (the fatal report). A character that does not fit
// whole ends it. Returns the units written.
size_t WideInto(const char* text, size_t size, WideChar* out, size_t room);

// UTF-16 to bytes, added to the end of *out. A surrogate that is not half of
// a pair becomes U+FFFD: no encoding can hold it, and it stays visible.
void AppendFromWide(const WideChar* wide, size_t units, std::string* out);
std::string TextFromWide(const WideChar* wide, size_t units);
std::string TextFromWide(const WideChar* wide);  // up to the ending 0; null is empty

// UTF-16 units of text[0, size).
size_t WideLength(const char* text, size_t size);

// UTF-16 units before byte offset `limit`: a character that begins before it
// counts whole, so an offset inside a character counts that character.
size_t WideOffsetOf(const char* text, size_t size, size_t limit);

// The byte offset after the characters whose UTF-16 units begin before
// `units`: a position inside a surrogate pair counts the whole character.
// At most size.
size_t ByteOffsetOf(const char* text, size_t size, size_t units);

// The last character boundary at or before `limit`, counting from text[0].
size_t CharacterBoundaryBefore(const char* text, size_t size, size_t limit);

// Whether text[0, size) comes back from UTF-16 exactly as it is: made of whole
// characters, each of them coded as this converter codes it.
bool KeepsItsBytes(const char* text, size_t size);

// GB18030's bytes for a code point (not a surrogate): 1, 2 or 4 of them in out.
size_t EncodeGb18030(uint32_t codePoint, char out[4]);

// The GB18030 sequence at bytes[at] (at < size): its code point and length; a malformed
// or unassigned sequence gives valid = false and the length of the part to skip (at least 1).
// A lead byte whose next byte begins no code is skipped alone (the next byte is read on its
// own: a digit or a line break after a stray byte stays); a four-byte code cut off by the
// end is skipped whole; a four-byte code that codes nothing is skipped whole. The code point
// of an invalid sequence is U+FFFD.
struct Gb18030Sequence { uint32_t codePoint; uint32_t length; bool valid; };
Gb18030Sequence Gb18030SequenceAt(const uint8_t* bytes, size_t size, size_t at);

// GB18030 bytes as a runtime text, appended to *text, each invalid sequence as U+FFFD;
// returns how many U+FFFD it put in.
size_t AppendFromGb18030(const uint8_t* bytes, size_t size, std::string* text);

// A runtime text as GB18030, appended to *bytes. Every character has a code; a place
// that reads as '?' (a lead byte that begins no character) is written as '?'.
void AppendAsGb18030(const char* text, size_t size, std::string* bytes);

}  // namespace quillet
