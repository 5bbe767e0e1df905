#pragma once
// The text of a file as a runtime text: what a file dropped on a box or read
// by a program holds, in whichever of the usual encodings it was saved. The
// kind is decided from the bytes alone: a byte-order mark first, then whether
// the bytes read as UTF-8 (KindOfTextFile says how sure that must be); anything
// else is the code page's own (GBK) and keeps its bytes. Every character comes
// through, those GBK lacks as four-byte codes (text_encoding.h).
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

enum class TextFileKind {
    Gbk,       // no mark, not UTF-8 by the reader's rule (pure ASCII included)
    Utf8,      // no mark, UTF-8 by the reader's rule; a malformed sequence becomes U+FFFD
    Utf8Mark,  // EF BB BF first; a malformed sequence after it becomes U+FFFD
    Utf16Le,   // FF FE first; an odd last byte and lone surrogates become U+FFFD
    Utf16Be,   // FE FF first
    NotText,   // a 0 byte (a 0 unit in UTF-16): no text file holds one
};

// What the bytes of a file without a mark hold, read as UTF-8.
struct Utf8Census {
    size_t multiByte = 0;    // well-formed sequences of two to four bytes
    size_t threeOrFour = 0;  // of them, those of three or four bytes
    size_t malformed = 0;    // malformed sequences, each one U+FFFD when decoded
    bool cutAtEnd = false;   // the bytes end inside a sequence well-formed so far
};
Utf8Census CountUtf8(const uint8_t* bytes, size_t size);

// The kind a byte-order mark at the start gives; Gbk for no mark.
TextFileKind KindByMark(const uint8_t* bytes, size_t size);
size_t MarkSize(TextFileKind kind);

// The kind of a text file loaded into a box. Without a mark it is UTF-8 when
// every sequence is well-formed and some go beyond ASCII, or when it holds at
// least MinimumUtf8Sequences well-formed multi-byte sequences and at most one
// malformed sequence per MultiByteSequencesPerMalformed of them: one stray
// byte, or a last character cut short, does not make a whole UTF-8 text
// GBK mojibake. A sequence cut off at the very end counts as neither.
constexpr size_t MinimumUtf8Sequences = 4;
constexpr size_t MultiByteSequencesPerMalformed = 100;
TextFileKind KindOfTextFile(const uint8_t* bytes, size_t size);

// The file's text after any mark, appended to *text; false (and *text
// unchanged) for NotText. *replaced: how many U+FFFD stand for bytes that were
// no character.
bool DecodeTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileKind* kind = nullptr,
                    size_t* replaced = nullptr);

// The bytes of a file of this kind after its mark, as a runtime text appended
// to *text (Gbk and NotText keep the bytes); how many U+FFFD it put in.
size_t AppendFileText(TextFileKind kind, const uint8_t* bytes, size_t size, std::string* text);

// A runtime text as a file of this kind holds it after its mark, appended to
// *bytes (Gbk and NotText keep the bytes).
void AppendFileBytes(TextFileKind kind, const char* text, size_t size, std::string* bytes);

}  // namespace quillet
