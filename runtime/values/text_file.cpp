#include "runtime/values/text_file.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/block_writer.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr uint8_t Utf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr uint8_t LittleEndianMark[] = {0xFF, 0xFE};
constexpr uint8_t BigEndianMark[] = {0xFE, 0xFF};
constexpr uint32_t Replacement = 0xFFFD;

bool StartsWith(const uint8_t* bytes, size_t size, const uint8_t* mark, size_t markSize) {
    return size >= markSize && std::memcmp(bytes, mark, markSize) == 0;
}

// One UTF-8 sequence at bytes[at]. A malformed one is as long as the part of
// it that could still have begun a well-formed sequence (at least one byte),
// so each malformed stretch becomes one U+FFFD, as browsers decode it.
struct Utf8Sequence {
    size_t length;
    bool wellFormed;
    bool cut;  // the bytes end before the sequence does
    uint32_t codePoint;
};

Utf8Sequence Utf8SequenceAt(const uint8_t* bytes, size_t size, size_t at) {
    const uint8_t lead = bytes[at];
    if (lead < 0x80) return {1, true, false, lead};
    // The second byte's range rules out overlong forms, surrogates and code
    // points beyond U+10FFFF.
    size_t length;
    uint32_t value;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {1, false, false, 0};
    }
    for (size_t k = 1; k < length; ++k) {
        if (at + k == size) return {k, false, true, 0};
        const uint8_t next = bytes[at + k];
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return {k, false, false, 0};
        value = (value << 6) | (next & 0x3Fu);
    }
    return {length, true, false, value};
}

void AppendCharacter(uint32_t codePoint, std::string* text) {
    char encoded[4];
    text->append(encoded, EncodeCharacter(codePoint, encoded));
}

size_t AppendUtf8(const uint8_t* bytes, size_t size, std::string* text) {
    text->reserve(text->size() + size);
    BlockWriter<char> writer(text);
    size_t replaced = 0;
    for (size_t at = 0; at < size;) {
        char* room = writer.Room();
        if (bytes[at] < 0x80) {
            room[0] = static_cast<char>(bytes[at++]);
            writer.Took(1);
            continue;
        }
        const Utf8Sequence sequence = Utf8SequenceAt(bytes, size, at);
        // A malformed sequence is a character the file lost before it came here.
        writer.Took(EncodeCharacter(sequence.wellFormed ? sequence.codePoint : Replacement, room));
        replaced += sequence.wellFormed ? 0 : 1;
        at += sequence.length;
    }
    return replaced;
}

size_t Utf8Of(uint32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    const size_t length = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    static constexpr uint8_t LeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (size_t k = length - 1; k > 0; --k, codePoint >>= 6) out[k] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out[0] = static_cast<char>(LeadBits[length] | codePoint);
    return length;
}

void AppendAsUtf8(const char* text, size_t size, std::string* bytes) {
    bytes->reserve(bytes->size() + size + size / 2);
    BlockWriter<char> writer(bytes);
    for (size_t at = 0; at < size;) {
        char* room = writer.Room();
        uint32_t four;  // ASCII goes as it is, four bytes at a time
        if (at + 4 <= size && (std::memcpy(&four, text + at, 4), (four & 0x80808080u) == 0)) {
            std::memcpy(room, &four, 4);
            writer.Took(4);
            at += 4;
            continue;
        }
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            room[0] = text[at++];
            writer.Took(1);
            continue;
        }
        const TextCharacter c = CharacterAt(text, size, at);
        writer.Took(Utf8Of(c.codePoint, room));
        at += c.bytes;
    }
}

bool IsSurrogate(uint16_t unit, uint16_t first, uint16_t last) { return unit >= first && unit <= last; }

// Surrogates that are not half of a pair: each becomes U+FFFD.
size_t LoneSurrogates(const WideString& wide) {
    size_t lone = 0;
    for (size_t at = 0; at < wide.size(); ++at) {
        const auto unit = static_cast<uint16_t>(wide[at]);
        if (!IsSurrogate(unit, 0xD800, 0xDFFF)) continue;
        if (unit <= 0xDBFF && at + 1 < wide.size() && IsSurrogate(static_cast<uint16_t>(wide[at + 1]), 0xDC00, 0xDFFF))
            ++at;
        else
            ++lone;
    }
    return lone;
}

size_t AppendUtf16(const uint8_t* bytes, size_t size, bool bigEndian, std::string* text) {
    WideString wide(size / 2, WideChar());
    for (size_t unit = 0; unit < wide.size(); ++unit) {
        const uint8_t* b = bytes + 2 * unit;
        wide[unit] = static_cast<WideChar>(bigEndian ? (b[0] << 8) | b[1] : b[0] | (b[1] << 8));
    }
    size_t replaced = LoneSurrogates(wide);
    AppendFromWide(wide.data(), wide.size(), text);
    if (size % 2 != 0) {
        AppendCharacter(Replacement, text);
        ++replaced;
    }
    return replaced;
}

void AppendAsUtf16(const char* text, size_t size, bool bigEndian, std::string* bytes) {
    const WideString wide = WideFromText(text, size);
    const size_t from = bytes->size();
    bytes->resize(from + 2 * wide.size());
    char* out = bytes->data() + from;
    for (const WideChar unit : wide) {
        const auto high = static_cast<char>(static_cast<uint16_t>(unit) >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        *out++ = bigEndian ? high : low;
        *out++ = bigEndian ? low : high;
    }
}

bool HoldsZeroUnit(const uint8_t* bytes, size_t size) {
    for (size_t at = 2; at + 1 < size; at += 2)
        if (bytes[at] == 0 && bytes[at + 1] == 0) return true;
    return false;
}

// With `settle`, the census stops once the bytes left could not make the file
// UTF-8 by KindOfTextFile's rule: a GBK text is settled within its first fiftieth or so.
Utf8Census TakeCensus(const uint8_t* bytes, size_t size, bool settle) {
    Utf8Census census;
    for (size_t at = 0; at < size;) {
        const Utf8Sequence sequence = Utf8SequenceAt(bytes, size, at);
        if (sequence.wellFormed) {
            census.multiByte += sequence.length > 1 ? 1 : 0;
            census.threeOrFour += sequence.length > 2 ? 1 : 0;
        } else if (sequence.cut) {
            census.cutAtEnd = true;
        } else {
            ++census.malformed;
        }
        at += sequence.length;
        // Even if every byte left were half of a two-byte sequence.
        if (settle && census.malformed * MultiByteSequencesPerMalformed > census.multiByte + (size - at) / 2) break;
    }
    return census;
}

bool ReadsAsUtf8(const Utf8Census& census) {
    const bool clean = census.malformed == 0 && !census.cutAtEnd && census.multiByte > 0;
    const bool mostlyClean = census.multiByte >= MinimumUtf8Sequences &&
                             census.malformed * MultiByteSequencesPerMalformed <= census.multiByte;
    return clean || mostlyClean;
}

bool IsTrail(uint8_t byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// A GBK file read from the start as the runtime reads a text, up to the first
// four-byte code's form: whether it holds one, and the places before it that
// read as '?' though they are no '?' (a lead byte before a byte that is no
// trail byte, or at the end). Before such a form this walk and GB18030's stop
// at the same places (at a stray lead byte GB18030 skips it and then the byte
// after it, where the runtime takes both as one '?'), so the form found is the
// first GB18030 finds.
struct GbkScan {
    bool fourByteForm = false;
    size_t unknownPlaces = 0;
};

GbkScan ScanGbk(const uint8_t* bytes, size_t size) {
    GbkScan scan;
    for (size_t at = 0; at < size;) {
        if (bytes[at] < 0x81 || bytes[at] == 0xFF) {
            ++at;
            continue;
        }
        if (at + 1 < size && IsTrail(bytes[at + 1])) {
            at += 2;
            continue;
        }
        if (at + 3 < size && IsFourByteCode(reinterpret_cast<const char*>(bytes) + at)) {
            scan.fourByteForm = true;
            return scan;
        }
        ++scan.unknownPlaces;
        at += at + 1 < size && bytes[at + 1] != 0 ? 2 : 1;
    }
    return scan;
}

struct KindScan {
    TextFileKind kind;
    size_t unknownPlaces;  // GBK's
};

KindScan ScanKind(const uint8_t* bytes, size_t size) {
    const TextFileKind marked = KindByMark(bytes, size);
    if (marked == TextFileKind::Utf16Le || marked == TextFileKind::Utf16Be)
        return {HoldsZeroUnit(bytes, size) ? TextFileKind::NotText : marked, 0};
    if (size > 0 && std::memchr(bytes, 0, size) != nullptr) return {TextFileKind::NotText, 0};
    if (marked != TextFileKind::Gbk) return {marked, 0};
    if (ReadsAsUtf8(TakeCensus(bytes, size, true))) return {TextFileKind::Utf8, 0};
    const GbkScan gbk = ScanGbk(bytes, size);
    return gbk.fourByteForm ? KindScan{TextFileKind::Gb18030, 0} : KindScan{TextFileKind::Gbk, gbk.unknownPlaces};
}

constexpr const char* BreakBytes[] = {"\r\n", "\n", "\r"};

size_t BreakSize(LineBreak lineBreak) { return lineBreak == LineBreak::CrLf ? 2 : 1; }

const char* NextCr(const char* at, const char* end) {
    return static_cast<const char*>(std::memchr(at, '\r', static_cast<size_t>(end - at)));
}

bool HoldsCrLf(const char* text, size_t size) {
    const char* end = text + size;
    for (const char* cr = NextCr(text, end); cr != nullptr; cr = NextCr(cr + 1, end))
        if (cr + 1 != end && cr[1] == '\n') return true;
    return false;
}

// The break a text's lines end with; false when it has none.
bool LineBreakOf(const char* text, size_t size, LineBreak* lineBreak) {
    if (HoldsCrLf(text, size)) *lineBreak = LineBreak::CrLf;
    else if (std::memchr(text, '\n', size) != nullptr) *lineBreak = LineBreak::Lf;
    else if (std::memchr(text, '\r', size) != nullptr) *lineBreak = LineBreak::Cr;
    else return false;
    return true;
}

bool EndsWith(const char* text, size_t size, const char* end, size_t endSize) {
    return size >= endSize && std::memcmp(text + size - endSize, end, endSize) == 0;
}

// Each `mark` byte of the text from `from` on becomes CR LF, in place, from the end backwards.
void MakeBreaksCrLf(std::string* text, size_t from, char mark) {
    const auto added = static_cast<size_t>(std::count(text->begin() + static_cast<ptrdiff_t>(from), text->end(), mark));
    size_t read = text->size();
    text->resize(read + added);
    char* data = text->data();
    for (size_t write = text->size(); write != read;) {
        const char c = data[--read];
        if (c == mark) {
            data[--write] = '\n';
            data[--write] = '\r';
        } else {
            data[--write] = c;
        }
    }
}

// The text with each CR LF the given break, appended to *out.
// Written straight into the end of *out, grown once, a byte at a time: a
// million short lines, each found and appended on its own, cost five times
// as much.
void AppendWithBreak(const char* text, size_t size, LineBreak lineBreak, std::string* out) {
    const size_t start = out->size();
    out->resize(start + size);  // no break is longer than the CR LF it stands for
    char* to = out->data() + start;
    const char* breakBytes = BreakBytes[static_cast<int>(lineBreak)];
    const size_t breakSize = BreakSize(lineBreak);
    const char* end = text + size;
    for (const char* at = text; at < end; ++at) {
        if (*at != '\r' || at + 1 == end || at[1] != '\n') {
            *to++ = *at;
            continue;
        }
        for (size_t k = 0; k < breakSize; ++k) *to++ = breakBytes[k];
        ++at;
    }
    out->resize(static_cast<size_t>(to - out->data()));
}

// From a character boundary: the first four-byte code that begins before
// `until`, or size; *walked: a boundary at or after `until` when there is none.
size_t FourByteCodeBefore(const char* text, size_t size, size_t from, size_t until, size_t* walked) {
    const auto* b = reinterpret_cast<const uint8_t*>(text);
    size_t at = from;
    while (at < until) {
        if (b[at] < 0x81 || b[at] == 0xFF) {
            ++at;
        } else if (at + 1 < size && IsTrail(b[at + 1])) {
            at += 2;
        } else {
            const TextCharacter c = CharacterAt(text, size, at);
            if (c.bytes == 4) return at;
            at += c.bytes;
        }
    }
    *walked = at;
    return size;
}

// The first character the text holds as a four-byte code, or size. A code
// begins with a byte of 0x81-0xFE followed by a digit: only where such a pair
// stands is the text walked character by character, from its line's start
// (after an LF a walk is always at a boundary: no character ends in one or
// holds it inside). A text of GBK characters is then one quick look.
size_t FirstFourByteCode(const char* text, size_t size) {
    const auto* b = reinterpret_cast<const uint8_t*>(text);
    size_t boundary = 0;  // walked up to here
    for (size_t at = 0; at + 1 < size; ++at) {
        // Four bytes without a digit at once (a zero byte, after the xor, below 10).
        uint32_t four;
        while (at + 5 <= size && (std::memcpy(&four, b + at + 1, 4), four ^= 0x30303030u,
                                  ((four - 0x0A0A0A0Au) & ~four & 0x80808080u) == 0))
            at += 4;
        if (at + 1 >= size) break;
        if (static_cast<uint8_t>(b[at] - 0x81) > 0xFE - 0x81 || static_cast<uint8_t>(b[at + 1] - 0x30) > 9) continue;
        if (at < boundary) continue;
        size_t from = at;
        while (from > boundary && b[from - 1] != '\n') --from;
        const size_t found = FourByteCodeBefore(text, size, from, at + 1, &boundary);
        if (found < size) return found;
    }
    return size;
}

// The line of byte offset `limit`, from 1: the CR LF at character boundaries before it and one.
size_t LineAt(const char* text, size_t size, size_t limit) {
    size_t line = 1;
    for (size_t at = 0; at < limit;) {
        if (text[at] == '\r' && at + 1 < size && text[at + 1] == '\n') ++line;
        at += static_cast<unsigned char>(text[at]) < 0x80 ? 1 : CharacterAt(text, size, at).bytes;
    }
    return line;
}

void AppendMark(TextFileKind kind, std::string* bytes) {
    const uint8_t* mark = kind == TextFileKind::Utf8Mark  ? Utf8Mark
                          : kind == TextFileKind::Utf16Le ? LittleEndianMark
                                                          : BigEndianMark;
    bytes->append(reinterpret_cast<const char*>(mark), MarkSize(kind));
}

}  // namespace

Utf8Census CountUtf8(const uint8_t* bytes, size_t size) { return TakeCensus(bytes, size, false); }

TextFileKind KindByMark(const uint8_t* bytes, size_t size) {
    if (StartsWith(bytes, size, LittleEndianMark, sizeof LittleEndianMark)) return TextFileKind::Utf16Le;
    if (StartsWith(bytes, size, BigEndianMark, sizeof BigEndianMark)) return TextFileKind::Utf16Be;
    if (StartsWith(bytes, size, Utf8Mark, sizeof Utf8Mark)) return TextFileKind::Utf8Mark;
    return TextFileKind::Gbk;
}

size_t MarkSize(TextFileKind kind) {
    switch (kind) {
    case TextFileKind::Utf8Mark: return sizeof Utf8Mark;
    case TextFileKind::Utf16Le:
    case TextFileKind::Utf16Be: return 2;
    default: return 0;
    }
}

TextFileKind KindOfTextFile(const uint8_t* bytes, size_t size) { return ScanKind(bytes, size).kind; }

size_t AppendFileText(TextFileKind kind, const uint8_t* bytes, size_t size, std::string* text) {
    switch (kind) {
    case TextFileKind::Utf8:
    case TextFileKind::Utf8Mark: return AppendUtf8(bytes, size, text);
    case TextFileKind::Utf16Le:
    case TextFileKind::Utf16Be: return AppendUtf16(bytes, size, kind == TextFileKind::Utf16Be, text);
    case TextFileKind::Gb18030: return AppendFromGb18030(bytes, size, text);
    default: text->append(reinterpret_cast<const char*>(bytes), size); return 0;
    }
}

void AppendFileBytes(TextFileKind kind, const char* text, size_t size, std::string* bytes) {
    switch (kind) {
    case TextFileKind::Utf8:
    case TextFileKind::Utf8Mark: AppendAsUtf8(text, size, bytes); return;
    case TextFileKind::Utf16Le:
    case TextFileKind::Utf16Be: AppendAsUtf16(text, size, kind == TextFileKind::Utf16Be, bytes); return;
    case TextFileKind::Gb18030: AppendAsGb18030(text, size, bytes); return;
    default: bytes->append(text, size); return;
    }
}

bool DecodeTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileKind* kind, size_t* replaced) {
    const TextFileKind found = KindOfTextFile(bytes, size);
    if (kind != nullptr) *kind = found;
    if (found == TextFileKind::NotText) return false;
    const size_t mark = MarkSize(found);
    const size_t lost = AppendFileText(found, bytes + mark, size - mark, text);
    if (replaced != nullptr) *replaced = lost;
    return true;
}

bool ReadTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileForm* form, FileTextCounts* counts) {
    const KindScan scan = ScanKind(bytes, size);
    *form = TextFileForm{scan.kind};
    *counts = FileTextCounts{};
    if (scan.kind == TextFileKind::NotText) return false;
    const size_t from = text->size();
    const size_t mark = MarkSize(scan.kind);
    counts->replaced = AppendFileText(scan.kind, bytes + mark, size - mark, text);
    counts->unknownBytes = scan.unknownPlaces;
    const char* read = text->data() + from;
    const size_t readSize = text->size() - from;
    if (!LineBreakOf(read, readSize, &form->lineBreak)) return true;
    const size_t breakSize = BreakSize(form->lineBreak);
    form->endsWithBreak = EndsWith(read, readSize, BreakBytes[static_cast<int>(form->lineBreak)], breakSize);
    if (form->lineBreak != LineBreak::CrLf) MakeBreaksCrLf(text, from, form->lineBreak == LineBreak::Lf ? '\n' : '\r');
    return true;
}

bool WriteTextFile(const char* text, size_t size, const TextFileForm& form, std::string* bytes,
                   MissingCharacter* missing) {
    if (form.kind == TextFileKind::Gbk) {
        const size_t first = FirstFourByteCode(text, size);
        if (first < size) {
            *missing = {LineAt(text, size, first), first, CharacterAt(text, size, first).codePoint};
            return false;
        }
    }
    // The ending: the tools end every line with CR LF, the file's last line may have none.
    const bool endsWithCrLf = EndsWith(text, size, "\r\n", 2);
    const size_t body = !form.endsWithBreak && endsWithCrLf ? size - 2 : size;
    const bool addBreak = form.endsWithBreak && size > 0 && !endsWithCrLf;
    bytes->reserve(bytes->size() + size + 4);
    AppendMark(form.kind, bytes);
    if (form.lineBreak == LineBreak::CrLf) {
        AppendFileBytes(form.kind, text, body, bytes);
    } else if (form.kind == TextFileKind::Gbk) {
        AppendWithBreak(text, body, form.lineBreak, bytes);  // the bytes themselves: no second copy
    } else {
        std::string withBreak;
        AppendWithBreak(text, body, form.lineBreak, &withBreak);
        AppendFileBytes(form.kind, withBreak.data(), withBreak.size(), bytes);
    }
    if (addBreak)
        AppendFileBytes(form.kind, BreakBytes[static_cast<int>(form.lineBreak)], BreakSize(form.lineBreak), bytes);
    return true;
}

TextFileForm NewTextForm(const char* text, size_t size) {
    return {FirstFourByteCode(text, size) < size ? TextFileKind::Utf8 : TextFileKind::Gbk, LineBreak::CrLf,
            EndsWith(text, size, "\r\n", 2)};
}

}  // namespace quillet
