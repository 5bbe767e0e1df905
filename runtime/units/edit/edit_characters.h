#pragma once
// Characters of the ANSI text an edit box is given: which bytes lead a
// double-byte character, where characters begin, and whether a text is made
// of whole characters that the control keeps as they are.
#include <cstddef>
#include <cstdint>

namespace quillet {

// Whether EDIT controls of this process count positions in characters (Wine's
// do, as they keep their text in UTF-16) or in bytes of the ANSI text.
bool ControlCountsCharacters();

// Whether the byte leads a double-byte character in the ANSI code page.
bool IsLeadByte(unsigned char byte);

// The last character boundary at or before `limit` in text[0, size), counting
// from text[0], which must begin a character.
size_t CharacterBoundaryBefore(const char* text, size_t size, size_t limit);

// Characters in text[0, size) (a double-byte character counts once; a lone
// lead byte at the end counts once too).
int32_t CharacterCount(const char* text, size_t size);

// True when the text is made of whole characters that a control converts to
// Unicode and back without change (no lead byte at the end, no pair that names
// no character or another pair's character). Only single-byte code pages and
// code page 936 are known well enough; for other double-byte code pages the
// answer is false.
bool KeepsItsBytes(const char* text, size_t size);

}  // namespace quillet
