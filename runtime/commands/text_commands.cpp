// The text commands: length, left and right parts, one-character text, search,
// replacement, splitting and space removal. Each borrows its arguments, returns
// a new block (null for the empty text) and never fails towards its caller.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/commands/command_list.h"
#include "runtime/commands/gbk_search.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/text_buffer.h"
#include "runtime/values/text_encoding.h"

namespace quillet::commands {
namespace {

// A borrowed text and its length.
struct TextView {
    const char* bytes;
    int32_t length;
};

TextView ViewOf(const char* text) { return TextView{text, TextByteCount(text)}; }

// Anything but a text record reads as the empty text.
TextView TextValue(const CommandArg& arg) { return ViewOf(TextArgument(arg)); }

int32_t Clamped(double value) {
    if (std::isnan(value)) return 0;
    constexpr double Low = std::numeric_limits<int32_t>::min();
    constexpr double High = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), Low, High));
}

// An integer argument read by its own type, so a byte or a double also counts.
int32_t IntValue(const CommandArg& arg) {
    switch (arg.type) {
    case DataType::Byte: return static_cast<int32_t>(arg.low & 0xFF);
    case DataType::Short: return static_cast<int16_t>(arg.low & 0xFFFF);
    case DataType::Long:
        return static_cast<int32_t>(std::clamp<int64_t>(AsInt64(arg), std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    case DataType::Float: return Clamped(AsFloat(arg));
    case DataType::Double: return Clamped(AsDouble(arg));
    default: return static_cast<int32_t>(arg.low);
    }
}

// A 1-based start position turned into a byte offset of at least 0; 0 when left out.
int64_t StartOffset(const CommandArg& arg) {
    return IsOmitted(arg) ? 0 : std::max<int64_t>(static_cast<int64_t>(IntValue(arg)) - 1, 0);
}

// A new text (null for the empty text) or array block, handed to the caller.
void SetBlock(CommandArg* result, const void* block) {
    result->low = Word(block);
    result->high = 0;
}

void SetInt(CommandArg* result, int32_t value) {
    result->low = static_cast<uint32_t>(value);
    result->high = 0;
}

// TextBuffer adds a fixed slack when it grows; results whose size is not known
// in advance grow here by doubling, so building them stays linear. A buffer that
// cannot grow is the runtime's fatal allocation error, never a cut result.
void EnsureRoom(TextBuffer& buffer, int32_t count) {
    if (buffer.capacity - buffer.length >= count) return;
    constexpr int64_t Largest = std::numeric_limits<int32_t>::max() - 256;
    const int64_t needed = static_cast<int64_t>(buffer.length) + count;
    if (needed > Largest) ReportAllocationFailure(std::numeric_limits<int32_t>::max());
    const int64_t doubled = 2 * static_cast<int64_t>(buffer.capacity);
    const int32_t wanted = static_cast<int32_t>(std::min(std::max(needed, doubled), Largest));
    if (!buffer.Reserve(wanted)) ReportAllocationFailure(wanted);
}

void AppendBytes(TextBuffer& buffer, const char* bytes, int32_t count) {
    if (count <= 0) return;
    EnsureRoom(buffer, count);
    buffer.Append(bytes, count);
}

void AppendElement(TextBuffer& references, char* element) {
    EnsureRoom(references, ReferenceSize);
    references.AppendReference(element);
}

// The bytes before the ending 0, counted no further than limit.
int32_t BoundedLength(const char* text, int32_t limit) {
    int32_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return length;
}

void* TextArrayOf(const TextBuffer& references) {
    const int32_t count = references.length / ReferenceSize;
    void* array = NewArray(count, ReferenceSize);
    if (count > 0) std::memcpy(ArrayReferences(array), references.data, static_cast<size_t>(references.length));
    return array;
}

// Spaces that GBK lacks, held as four-byte codes: text from web pages is full
// of no-break spaces. Trimming and removal treat them as the full-width space;
// removal also takes the invisible zero-width space and a stray byte-order mark.
bool IsWideSpace(uint32_t codePoint) {
    return codePoint == 0x00A0 || (codePoint >= 0x2000 && codePoint <= 0x200A) || codePoint == 0x202F ||
           codePoint == 0x205F;
}
bool IsInvisibleSpace(uint32_t codePoint) { return codePoint == 0x200B || codePoint == 0xFEFF; }

enum class Invisible { Kept, Spaces };

// Bytes of the space at `at`: 1 for the ASCII space, 2 for the full-width
// space, 4 for a space GBK lacks; 0 when the character there is no space.
int32_t SpaceWidth(const char* text, int32_t at, Invisible invisible) {
    if (text[at] == ' ') return 1;
    if (IsFullWidthSpace(text, at)) return 2;
    if (!IsFourByteCode(text + at)) return 0;
    const uint32_t codePoint = CharacterAt(text + at, 4, 0).codePoint;
    const bool space = IsWideSpace(codePoint) || (invisible == Invisible::Spaces && IsInvisibleSpace(codePoint));
    return space ? 4 : 0;
}

}  // namespace

void TextLength(CommandArg* result, int32_t argCount, CommandArg* args) {
    SetInt(result, TextValue(ArgumentAt(argCount, args, 0)).length);
}

void LeftText(CommandArg* result, int32_t argCount, CommandArg* args) {
    const char* text = TextArgument(ArgumentAt(argCount, args, 0));
    const int32_t count = IntValue(ArgumentAt(argCount, args, 1));
    if (count < 1) return SetBlock(result, nullptr);
    // Only the bytes asked for are looked at: a short left part of a long text is cheap.
    SetBlock(result, CopyBytes(text, BoundedLength(text, count)));
}

void RightText(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    const int32_t count = IntValue(ArgumentAt(argCount, args, 1));
    if (count < 1) return SetBlock(result, nullptr);
    const int32_t taken = std::min(count, text.length);
    SetBlock(result, CopyBytes(text.bytes + text.length - taken, taken));
}

void CharFromCode(CommandArg* result, int32_t argCount, CommandArg* args) {
    const CommandArg& code = ArgumentAt(argCount, args, 0);
    const char byte = IsOmitted(code) ? '\0' : static_cast<char>(code.low & 0xFF);
    SetBlock(result, CopyBytes(&byte, byte != '\0' ? 1 : 0));
}

void FindText(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    const TextView search = TextValue(ArgumentAt(argCount, args, 1));
    const int64_t start = StartOffset(ArgumentAt(argCount, args, 2));
    const CommandArg& ignoreCase = ArgumentAt(argCount, args, 3);
    const bool foldCase = !IsOmitted(ignoreCase) && ignoreCase.low != 0;

    if (start >= text.length) return SetInt(result, -1);   // nothing left to search
    if (search.length == 0) return SetInt(result, 1);
    const SubtextFinder finder(text.bytes, text.length, search.bytes, search.length, foldCase);
    const int32_t found = finder.Next(static_cast<int32_t>(start));
    SetInt(result, found < 0 ? -1 : found + 1);
}

void ReplaceSubtext(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    const TextView search = TextValue(ArgumentAt(argCount, args, 1));
    const TextView replacement = TextValue(ArgumentAt(argCount, args, 2));
    const int64_t start = StartOffset(ArgumentAt(argCount, args, 3));
    const CommandArg& countArg = ArgumentAt(argCount, args, 4);
    int32_t left = IsOmitted(countArg) ? -1 : IntValue(countArg);   // below 0: no limit
    // The flag's value word counts even without a type word: a left-out flag is false.
    const bool caseSensitive = ArgumentAt(argCount, args, 5).low != 0;

    if (text.length == 0 || search.length == 0 || start >= text.length || left == 0)
        return SetBlock(result, CopyText(text.bytes));

    const char* t = text.bytes;
    const int32_t length = text.length;
    TextBuffer built;
    // The result is no longer than the text unless replacements are longer than the search.
    if (!built.Reserve(length)) ReportAllocationFailure(length);
    int32_t at = static_cast<int32_t>(start);
    AppendBytes(built, t, at);   // copied as is, even when this cuts a character

    const SubtextFinder finder(t, length, search.bytes, search.length, !caseSensitive);
    bool countUsedUp = false;
    for (int32_t found; !countUsedUp && (found = finder.Next(at)) >= 0;) {
        AppendBytes(built, t + at, found - at);
        AppendBytes(built, replacement.bytes, replacement.length);
        at = found + search.length;   // never rescans the replacement
        if (left > 0) countUsedUp = --left == 0;
    }
    int32_t end = length;
    // A one-byte search still looks at the last byte; a lone lead byte there is dropped.
    if (!countUsedUp && search.length == 1 && at < length && IsTruncatedCharacter(t, length - 1) &&
        WalkReaches(t, at, length - 1))
        end = length - 1;
    AppendBytes(built, t + at, end - at);
    SetBlock(result, built.ToText());
}

void SplitText(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    const CommandArg& delimiterArg = ArgumentAt(argCount, args, 1);
    const TextView delimiter = IsOmitted(delimiterArg) ? ViewOf(",") : TextValue(delimiterArg);
    const CommandArg& maximumArg = ArgumentAt(argCount, args, 2);
    int32_t left = IsOmitted(maximumArg) ? -1 : std::max(IntValue(maximumArg), 0);   // -1: no limit

    TextBuffer pieces;   // element references, gathered before the one array block is made
    if (text.length == 0 || left == 0) return SetBlock(result, TextArrayOf(pieces));
    if (delimiter.length == 0) {
        AppendElement(pieces, CopyText(text.bytes));
        return SetBlock(result, TextArrayOf(pieces));
    }

    const char* t = text.bytes;
    const SubtextFinder finder(t, text.length, delimiter.bytes, delimiter.length, false);
    int32_t pieceStart = 0;
    bool maximumReached = false;
    for (int32_t found; !maximumReached && (found = finder.Next(pieceStart)) >= 0;) {
        AppendElement(pieces, CopyBytes(t + pieceStart, found - pieceStart));
        pieceStart = found + delimiter.length;
        if (left > 0) maximumReached = --left == 0;
    }
    // No empty last piece after a trailing delimiter; the rest is dropped at the maximum.
    if (!maximumReached && pieceStart < text.length)
        AppendElement(pieces, CopyBytes(t + pieceStart, text.length - pieceStart));
    SetBlock(result, TextArrayOf(pieces));
}

void TrimBothEnds(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    const char* t = text.bytes;
    int32_t first = 0;
    for (int32_t width; (width = SpaceWidth(t, first, Invisible::Kept)) > 0;) first += width;
    int32_t end = text.length;
    int32_t spacesFrom = -1;   // where the current run of spaces began, or -1
    for (int32_t at = first; at < text.length;) {
        if (IsTruncatedCharacter(t, at)) {
            end = at;   // cut before the half character; spaces before it stay
            spacesFrom = -1;
            break;
        }
        const bool space = SpaceWidth(t, at, Invisible::Kept) > 0;
        if (!space) spacesFrom = -1;
        else if (spacesFrom < 0) spacesFrom = at;
        at += CharacterWidth(t, at);
    }
    if (spacesFrom >= 0) end = spacesFrom;
    SetBlock(result, CopyBytes(t + first, end - first));
}

void RemoveAllSpaces(CommandArg* result, int32_t argCount, CommandArg* args) {
    const TextView text = TextValue(ArgumentAt(argCount, args, 0));
    if (text.length == 0) return SetBlock(result, nullptr);
    const char* t = text.bytes;
    TextBuffer kept;
    if (!kept.Reserve(text.length)) ReportAllocationFailure(text.length);
    int32_t runStart = 0;   // the characters since the last space are copied as one run
    int32_t at = 0;
    while (at < text.length) {
        if (IsTruncatedCharacter(t, at)) break;   // dropped, and the copy ends
        const int32_t width = CharacterWidth(t, at);
        if (SpaceWidth(t, at, Invisible::Spaces) > 0) {
            AppendBytes(kept, t + runStart, at - runStart);
            runStart = at + width;
        }
        at += width;
    }
    AppendBytes(kept, t + runStart, at - runStart);
    SetBlock(result, kept.ToText());
}

}  // namespace quillet::commands
