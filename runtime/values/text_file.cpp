#include "runtime/values/text_file.h"

#include <cstring>

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
    size_t replaced = 0;
    for (size_t at = 0; at < size;) {
        const Utf8Sequence sequence = Utf8SequenceAt(bytes, size, at);
        // A malformed sequence is a character the file lost before it came here.
        AppendCharacter(sequence.wellFormed ? sequence.codePoint : Replacement, text);
        replaced += sequence.wellFormed ? 0 : 1;
        at += sequence.length;
    }
    return replaced;
}

void AppendAsUtf8(uint32_t codePoint, std::string* bytes) {
    if (codePoint < 0x80) {
        bytes->push_back(static_cast<char>(codePoint));
        return;
    }
    const size_t length = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    static constexpr uint8_t LeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char out[4];
    for (size_t k = length - 1; k > 0; --k, codePoint >>= 6) out[k] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out[0] = static_cast<char>(LeadBits[length] | codePoint);
    bytes->append(out, length);
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
    WideString wide;
    wide.reserve(size / 2);
    for (size_t at = 0; at + 1 < size; at += 2)
        wide.push_back(static_cast<WideChar>(bigEndian ? (bytes[at] << 8) | bytes[at + 1]
                                                       : bytes[at] | (bytes[at + 1] << 8)));
    size_t replaced = LoneSurrogates(wide);
    AppendFromWide(wide.data(), wide.size(), text);
    if (size % 2 != 0) {
        AppendCharacter(Replacement, text);
        ++replaced;
    }
    return replaced;
}

void AppendAsUtf16(const char* text, size_t size, bool bigEndian, std::string* bytes) {
    for (const WideChar unit : WideFromText(text, size)) {
        const auto high = static_cast<char>(static_cast<uint16_t>(unit) >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes->push_back(bigEndian ? high : low);
        bytes->push_back(bigEndian ? low : high);
    }
}

bool HoldsZeroUnit(const uint8_t* bytes, size_t size) {
    for (size_t at = 2; at + 1 < size; at += 2)
        if (bytes[at] == 0 && bytes[at + 1] == 0) return true;
    return false;
}

bool ReadsAsUtf8(const Utf8Census& census) {
    const bool clean = census.malformed == 0 && !census.cutAtEnd && census.multiByte > 0;
    const bool mostlyClean = census.multiByte >= MinimumUtf8Sequences &&
                             census.malformed * MultiByteSequencesPerMalformed <= census.multiByte;
    return clean || mostlyClean;
}

}  // namespace

Utf8Census CountUtf8(const uint8_t* bytes, size_t size) {
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
    }
    return census;
}

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

TextFileKind KindOfTextFile(const uint8_t* bytes, size_t size) {
    const TextFileKind marked = KindByMark(bytes, size);
    if (marked == TextFileKind::Utf16Le || marked == TextFileKind::Utf16Be)
        return HoldsZeroUnit(bytes, size) ? TextFileKind::NotText : marked;
    if (size > 0 && std::memchr(bytes, 0, size) != nullptr) return TextFileKind::NotText;
    if (marked != TextFileKind::Gbk) return marked;
    return ReadsAsUtf8(CountUtf8(bytes, size)) ? TextFileKind::Utf8 : TextFileKind::Gbk;
}

size_t AppendFileText(TextFileKind kind, const uint8_t* bytes, size_t size, std::string* text) {
    switch (kind) {
    case TextFileKind::Utf8:
    case TextFileKind::Utf8Mark: return AppendUtf8(bytes, size, text);
    case TextFileKind::Utf16Le:
    case TextFileKind::Utf16Be: return AppendUtf16(bytes, size, kind == TextFileKind::Utf16Be, text);
    default: text->append(reinterpret_cast<const char*>(bytes), size); return 0;
    }
}

void AppendFileBytes(TextFileKind kind, const char* text, size_t size, std::string* bytes) {
    switch (kind) {
    case TextFileKind::Utf8:
    case TextFileKind::Utf8Mark:
        for (size_t at = 0; at < size;) {
            const TextCharacter c = CharacterAt(text, size, at);
            AppendAsUtf8(c.codePoint, bytes);
            at += c.bytes;
        }
        return;
    case TextFileKind::Utf16Le:
    case TextFileKind::Utf16Be: AppendAsUtf16(text, size, kind == TextFileKind::Utf16Be, bytes); return;
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

}  // namespace quillet
