#pragma once
// The text of a file as a runtime text: what a file dropped on a box or read
// by a program holds, in whichever of the usual encodings it was saved. The
// kind is decided from the bytes alone: a byte-order mark first, then whether
// the bytes read as UTF-8 (KindOfTextFile says how sure that must be), then
// whether they hold a GB18030 four-byte code; anything else is the code page's
// own (GBK) and keeps its bytes. Every character comes through, those GBK
// lacks as four-byte codes (text_encoding.h).
//
// ReadTextFile and WriteTextFile go further: they keep what else a file's bytes
// say (its line break, whether its last line ends with one), so that a file
// read and written again is the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

enum class TextFileKind {
    Gbk,       // no mark, not UTF-8 by the reader's rule, no four-byte code (pure ASCII included)
    Gb18030,   // no mark, not UTF-8, a four-byte code; an invalid sequence becomes U+FFFD
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
// Otherwise it is GB18030 when the file, read from the start as GB18030 reads
// it, holds four bytes of a four-byte code's form, whether or not GB18030
// assigns them (those that code nothing become U+FFFD): so the text of a GBK
// file never holds a four-byte code, and goes back to the same bytes.
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
// *bytes (Gbk and NotText keep the bytes; in the others a place the text
// shows as '?' is a '?').
void AppendFileBytes(TextFileKind kind, const char* text, size_t size, std::string* bytes);

enum class LineBreak : uint8_t { CrLf, Lf, Cr };

// All a save needs, besides the text, to give a file back byte for byte.
struct TextFileForm {
    TextFileKind kind = TextFileKind::Gbk;
    LineBreak lineBreak = LineBreak::CrLf;
    bool endsWithBreak = false;  // the file's last line ends with its break
};

struct FileTextCounts {
    size_t replaced = 0;      // U+FFFD put in for malformed sequences (UTF-8, UTF-16, GB18030)
    size_t unknownBytes = 0;  // GBK: places the box shows as '?' that were no character in the file (kept as they are)
};

// The text a box shows for a whole file (any mark taken off), appended to *text; false for NotText
// (nothing appended). The break is CR LF if the file holds any, else LF if it holds any, else CR if
// it holds any, else CR LF. Without CR LF in the file, each of its breaks is CR LF in the text, so
// that its lines are lines to the tools; with CR LF, a lone CR or LF stays as it is. Breaks are
// found byte by byte in the text (CR and LF are never part of a character), in UTF-16 among the
// decoded characters.
//
// Round trip: WriteTextFile of the text and form read gives back the file's bytes, GBK files with
// bytes that are no character included; not so for a UTF-8, UTF-16 or GB18030 file whose
// malformed sequences became U+FFFD (counts->replaced > 0): those bytes are gone.
bool ReadTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileForm* form, FileTextCounts* counts);

// The first character a file's encoding lacks.
struct MissingCharacter {
    size_t line;         // from 1, lines broken at CR LF as the tools break them
    size_t offset;       // byte offset of the character in the text
    uint32_t codePoint;
};

// The file's bytes (mark included) for a runtime text of CR LF lines, appended to *bytes;
// false, with *missing set and *bytes as it was, when the encoding lacks a character.
// Every CR LF becomes the form's break (a lone CR or LF stays as it is), and the text's last
// line ends with a break exactly when form.endsWithBreak says: one ending CR LF is taken off or
// one added (an empty text stays empty; one that ends in an empty line keeps the break of the
// line before, so it reads back as ending with a break). GBK lacks every character the text holds as a
// four-byte code and keeps every other byte as it is; the other kinds have a code for every
// character, and write a place the text shows as '?' as '?'.
bool WriteTextFile(const char* text, size_t size, const TextFileForm& form, std::string* bytes,
                   MissingCharacter* missing);

// The form of a text that has no file yet: GBK when every character has a GBK code, UTF-8 otherwise;
// CR LF; endsWithBreak as the text ends.
TextFileForm NewTextForm(const char* text, size_t size);

}  // namespace quillet
