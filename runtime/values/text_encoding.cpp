#include "runtime/values/text_encoding.h"

#include <algorithm>
#include <iterator>

#include "runtime/values/block_writer.h"
#include "runtime/values/text.h"

namespace quillet {
namespace {

#include "runtime/values/text_tables.inc"

constexpr uint32_t Unassigned = 0xFFFFFFFF;
constexpr uint32_t ReplacementCharacter = 0xFFFD;
constexpr uint32_t QuestionMark = '?';
// Code page 936's two single bytes above ASCII.
constexpr unsigned char EuroByte = 0x80;
constexpr uint32_t EuroSign = 0x20AC;
constexpr unsigned char LastByte = 0xFF;
constexpr uint32_t LastByteCharacter = 0xF8F5;

// A four-byte code as one number: 81 30 81 30 is 0, each byte counting in
// its own range (126 first, 10 second, 126 third, 10 fourth bytes).
constexpr uint32_t LastBmpCodeIndex = 39419;         // 84 31 A4 39, U+FFFF
constexpr uint32_t FirstTwoByteOnlyIndex = LastBmpCodeIndex + 1;
constexpr uint32_t FirstSupplementaryIndex = 189000;  // 90 30 81 30, U+10000
constexpr uint32_t LastCodeIndex = FirstSupplementaryIndex + 0x10FFFF - 0x10000;

uint32_t CodeIndexOf(const unsigned char* b) {
    return ((static_cast<uint32_t>(b[0] - 0x81) * 10 + (b[1] - 0x30)) * 126 + (b[2] - 0x81)) * 10 + (b[3] - 0x30);
}

void WriteCodeIndex(uint32_t index, char out[4]) {
    out[3] = static_cast<char>(0x30 + index % 10);
    index /= 10;
    out[2] = static_cast<char>(0x81 + index % 126);
    index /= 126;
    out[1] = static_cast<char>(0x30 + index % 10);
    out[0] = static_cast<char>(0x81 + index / 10);
}

uint32_t CodePointOfIndex(uint32_t index) {
    if (index <= LastBmpCodeIndex) {
        // The ranges cover 0..LastBmpCodeIndex without a gap, in order.
        const FourByteRange* range =
            std::upper_bound(std::begin(BmpFourByteRanges), std::end(BmpFourByteRanges), index,
                             [](uint32_t wanted, const FourByteRange& r) { return wanted < r.index; }) -
            1;
        return range->first + (index - range->index);
    }
    if (index - FirstTwoByteOnlyIndex < std::size(TwoByteOnlyCharacters))
        return TwoByteOnlyCharacters[index - FirstTwoByteOnlyIndex];
    if (index >= FirstSupplementaryIndex && index <= LastCodeIndex) return 0x10000 + (index - FirstSupplementaryIndex);
    return Unassigned;
}

// Which of the characters GB18030 codes in two bytes (and the page lacks) a
// code point is, or -1.
int32_t TwoByteOnlyNumber(uint32_t codePoint) {
    const uint16_t* found =
        std::lower_bound(std::begin(TwoByteOnlyCharacters), std::end(TwoByteOnlyCharacters), codePoint);
    return found != std::end(TwoByteOnlyCharacters) && *found == codePoint
               ? static_cast<int32_t>(found - std::begin(TwoByteOnlyCharacters))
               : -1;
}

// GB18030's four-byte code index of a character of the Basic Multilingual
// Plane that it codes in four bytes.
uint32_t RangeCodeIndexOf(uint32_t codePoint) {
    const FourByteRange* range =
        std::upper_bound(std::begin(BmpFourByteRanges), std::end(BmpFourByteRanges), codePoint,
                         [](uint32_t wanted, const FourByteRange& r) { return wanted < r.first; }) -
        1;
    return range->index + (codePoint - range->first);
}

// The four-byte code index of a character of the Basic Multilingual Plane
// that code page 936 lacks.
uint32_t BmpCodeIndexOf(uint32_t codePoint) {
    const int32_t twoByteOnly = TwoByteOnlyNumber(codePoint);
    return twoByteOnly >= 0 ? FirstTwoByteOnlyIndex + static_cast<uint32_t>(twoByteOnly) : RangeCodeIndexOf(codePoint);
}

int32_t TrailPosition(unsigned char trail) {
    if (trail >= 0x40 && trail <= 0x7E) return trail - 0x40;
    if (trail >= 0x80 && trail <= 0xFE) return trail - 0x41;
    return -1;
}

// GB18030's euro sign, where code page 936 has U+E76C.
constexpr uint16_t Gb18030EuroCode = 0xA2E3;
constexpr uint8_t Gb18030Euro = 0xFF;

// A pair's place in the table: lead 0x81-0xFE, trail from TrailPosition.
inline uint32_t PairIndex(unsigned char lead, int32_t position) {
    return static_cast<uint32_t>(lead - 0x81) * 190 + static_cast<uint32_t>(position);
}

// Code page 936's code of each character of the Basic Multilingual Plane: a
// single byte, lead × 256 + trail, or 0 when the page lacks it; and what
// GB18030 reads at each pair where it is not the page's character. Worked out
// once from the tables.
struct Cp936Codes {
    uint16_t of[0x10000];
    // 0: the page's character; n + 1: TwoByteOnlyCharacters[n]; Gb18030Euro: the euro sign.
    uint8_t gb18030[126 * 190];
};

const Cp936Codes& Codes() {
    static const Cp936Codes* codes = [] {
        auto* made = new Cp936Codes{};
        for (uint32_t c = 1; c < 0x80; ++c) made->of[c] = static_cast<uint16_t>(c);
        made->of[EuroSign] = EuroByte;
        made->of[LastByteCharacter] = LastByte;
        for (uint32_t lead = 0x81; lead <= 0xFE; ++lead)
            for (uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
                const int32_t position = TrailPosition(static_cast<unsigned char>(trail));
                if (position >= 0) made->of[Cp936Pairs[(lead - 0x81) * 190 + position]] = static_cast<uint16_t>(lead << 8 | trail);
            }
        static_assert(std::size(TwoByteOnlyCodes) < Gb18030Euro);
        for (size_t n = 0; n < std::size(TwoByteOnlyCodes); ++n)
            made->gb18030[PairIndex(TwoByteOnlyCodes[n] >> 8, TrailPosition(TwoByteOnlyCodes[n] & 0xFF))] =
                static_cast<uint8_t>(n + 1);
        made->gb18030[PairIndex(Gb18030EuroCode >> 8, TrailPosition(Gb18030EuroCode & 0xFF))] = Gb18030Euro;
        return made;
    }();
    return *codes;
}

}  // namespace

TextCharacter CharacterAt(const char* text, size_t size, size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(text) + at;
    const size_t left = size - at;
    if (b[0] < 0x80) return {b[0], 1};
    if (b[0] == EuroByte) return {EuroSign, 1};
    if (b[0] == LastByte) return {LastByteCharacter, 1};
    // A lead byte: with the byte after it (unless that ends the text) a pair, or a four-byte code.
    if (left < 2 || b[1] == 0) return {QuestionMark, 1};
    if (left >= 4 && IsFourByteCode(text + at)) {
        const uint32_t codePoint = CodePointOfIndex(CodeIndexOf(b));
        if (codePoint != Unassigned) return {codePoint, 4};
    }
    const int32_t position = TrailPosition(b[1]);
    return {position < 0 ? QuestionMark : Cp936Pairs[(b[0] - 0x81) * 190 + position], 2};
}

namespace {

size_t Encode(const Cp936Codes& codes, uint32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint >= 0x10000) {
        WriteCodeIndex(FirstSupplementaryIndex + (std::min<uint32_t>(codePoint, 0x10FFFF) - 0x10000), out);
        return 4;
    }
    if (codePoint >= 0xD800 && codePoint < 0xE000) codePoint = ReplacementCharacter;
    const uint16_t code = codes.of[codePoint];
    if (code > 0xFF) {
        out[0] = static_cast<char>(code >> 8);
        out[1] = static_cast<char>(code & 0xFF);
        return 2;
    }
    if (code != 0) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    WriteCodeIndex(BmpCodeIndexOf(codePoint), out);
    return 4;
}

}  // namespace

size_t EncodeCharacter(uint32_t codePoint, char out[4]) { return Encode(Codes(), codePoint, out); }

void AppendWide(const char* text, size_t size, WideString* out) {
    out->reserve(out->size() + size);
    BlockWriter<WideChar> writer(out);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t at = 0; at < size;) {
        WideChar* room = writer.Room();
        if (bytes[at] < 0x80) {
            room[0] = bytes[at++];
            writer.Took(1);
            continue;
        }
        // A pair of the page, the most of what is not ASCII: its trail byte is never a digit,
        // so it cannot begin a four-byte code.
        if (IsLeadByte(static_cast<char>(bytes[at])) && at + 1 < size) {
            const int32_t position = TrailPosition(bytes[at + 1]);
            if (position >= 0) {
                room[0] = Cp936Pairs[(bytes[at] - 0x81) * 190 + position];
                writer.Took(1);
                at += 2;
                continue;
            }
        }
        const TextCharacter c = CharacterAt(text, size, at);
        at += c.bytes;
        if (c.codePoint < 0x10000) {
            room[0] = static_cast<WideChar>(c.codePoint);
            writer.Took(1);
        } else {
            const uint32_t v = c.codePoint - 0x10000;
            room[0] = static_cast<WideChar>(0xD800 + (v >> 10));
            room[1] = static_cast<WideChar>(0xDC00 + (v & 0x3FF));
            writer.Took(2);
        }
    }
}

size_t WideInto(const char* text, size_t size, WideChar* out, size_t room) {
    size_t units = 0;
    for (size_t at = 0; at < size;) {
        const TextCharacter c = CharacterAt(text, size, at);
        const size_t width = WideUnits(c.codePoint);
        if (units + width > room) break;
        if (width == 1) {
            out[units++] = static_cast<WideChar>(c.codePoint);
        } else {
            const uint32_t v = c.codePoint - 0x10000;
            out[units++] = static_cast<WideChar>(0xD800 + (v >> 10));
            out[units++] = static_cast<WideChar>(0xDC00 + (v & 0x3FF));
        }
        at += c.bytes;
    }
    return units;
}

WideString WideFromText(const char* text, size_t size) {
    WideString wide;
    AppendWide(text, size, &wide);
    return wide;
}

WideString WideFromText(const char* text) {
    return text == nullptr ? WideString() : WideFromText(text, std::char_traits<char>::length(text));
}

void AppendFromWide(const WideChar* wide, size_t units, std::string* out) {
    out->reserve(out->size() + units);
    const Cp936Codes& codes = Codes();
    BlockWriter<char> writer(out);
    for (size_t at = 0; at < units;) {
        char* room = writer.Room();
        const uint32_t unit = static_cast<uint16_t>(wide[at++]);
        if (unit < 0x80) {
            room[0] = static_cast<char>(unit);
            writer.Took(1);
            continue;
        }
        uint32_t codePoint = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && at < units) {
            const uint32_t low = static_cast<uint16_t>(wide[at]);
            if (low >= 0xDC00 && low < 0xE000) {
                codePoint = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++at;
            }
        }
        writer.Took(Encode(codes, codePoint, room));
    }
}

std::string TextFromWide(const WideChar* wide, size_t units) {
    std::string text;
    AppendFromWide(wide, units, &text);
    return text;
}

std::string TextFromWide(const WideChar* wide) {
    return wide == nullptr ? std::string() : TextFromWide(wide, std::char_traits<WideChar>::length(wide));
}

namespace {

// How far a walk over the characters from the start has come.
struct WalkPlace {
    size_t bytes;  // of the text
    size_t units;  // UTF-16 units of the characters walked
};

// Walks whole characters while goOn(place) holds, up to the end.
template <typename GoOn>
WalkPlace WalkWhile(const char* text, size_t size, GoOn goOn) {
    WalkPlace place{0, 0};
    while (place.bytes < size && goOn(place)) {
        if (static_cast<unsigned char>(text[place.bytes]) < 0x80) {
            ++place.bytes;
            ++place.units;
            continue;
        }
        const TextCharacter c = CharacterAt(text, size, place.bytes);
        place.bytes += c.bytes;
        place.units += WideUnits(c.codePoint);
    }
    return place;
}

}  // namespace

size_t WideLength(const char* text, size_t size) {
    return WalkWhile(text, size, [](const WalkPlace&) { return true; }).units;
}

size_t WideOffsetOf(const char* text, size_t size, size_t limit) {
    return WalkWhile(text, size, [limit](const WalkPlace& place) { return place.bytes < limit; }).units;
}

size_t ByteOffsetOf(const char* text, size_t size, size_t units) {
    return WalkWhile(text, size, [units](const WalkPlace& place) { return place.units < units; }).bytes;
}

size_t CharacterBoundaryBefore(const char* text, size_t size, size_t limit) {
    limit = std::min(limit, size);
    size_t at = 0;
    while (at < limit) {
        const size_t next = at + (static_cast<unsigned char>(text[at]) < 0x80 ? 1 : CharacterAt(text, size, at).bytes);
        if (next > limit) break;
        at = next;
    }
    return at;
}

bool KeepsItsBytes(const char* text, size_t size) {
    char bytes[4];
    for (size_t at = 0; at < size;) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const TextCharacter c = CharacterAt(text, size, at);
        // Every pair of the page comes back; a '?' from two bytes is a pair it lacks.
        if (c.bytes == 2 && c.codePoint != QuestionMark) {
            at += 2;
            continue;
        }
        if (EncodeCharacter(c.codePoint, bytes) != c.bytes || !std::equal(bytes, bytes + c.bytes, text + at))
            return false;
        at += c.bytes;
    }
    return true;
}

namespace {

bool InRange(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// GB18030's character at a four-byte code: the runtime's, but for the codes
// only the runtime gives to the characters GB18030 codes in two bytes.
uint32_t Gb18030CodePointOfIndex(uint32_t index) {
    return index - FirstTwoByteOnlyIndex < std::size(TwoByteOnlyCharacters) ? Unassigned : CodePointOfIndex(index);
}

size_t WritePair(uint16_t code, char* out) {
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return 2;
}

size_t EncodeGb18030With(const Cp936Codes& codes, uint32_t codePoint, char* out) {
    if (codePoint < 0x80 || codePoint >= 0x10000) return Encode(codes, codePoint, out);
    if (codePoint >= 0xD800 && codePoint < 0xE000) codePoint = ReplacementCharacter;
    if (codePoint == EuroSign) return WritePair(Gb18030EuroCode, out);
    const uint16_t code = codes.of[codePoint];
    // The page's pair, unless GB18030 gives it to another character.
    if (code > 0xFF && codes.gb18030[PairIndex(code >> 8, TrailPosition(code & 0xFF))] == 0)
        return WritePair(code, out);
    const int32_t twoByteOnly = TwoByteOnlyNumber(codePoint);
    if (twoByteOnly >= 0) return WritePair(TwoByteOnlyCodes[twoByteOnly], out);
    WriteCodeIndex(RangeCodeIndexOf(codePoint), out);
    return 4;
}

}  // namespace

size_t EncodeGb18030(uint32_t codePoint, char out[4]) { return EncodeGb18030With(Codes(), codePoint, out); }

Gb18030Sequence Gb18030SequenceAt(const uint8_t* bytes, size_t size, size_t at) {
    const uint8_t* b = bytes + at;
    const size_t left = size - at;
    constexpr Gb18030Sequence StrayByte{ReplacementCharacter, 1, false};
    if (b[0] < 0x80) return {b[0], 1, true};
    if (b[0] == EuroByte || b[0] == LastByte || left < 2) return StrayByte;
    const int32_t position = TrailPosition(b[1]);
    if (position >= 0) {
        const uint32_t index = PairIndex(b[0], position);
        const uint8_t other = Codes().gb18030[index];
        const uint32_t codePoint = other == 0             ? Cp936Pairs[index]
                                   : other == Gb18030Euro ? EuroSign
                                                          : TwoByteOnlyCharacters[other - 1];
        return {codePoint, 2, true};
    }
    if (!InRange(b[1], 0x30, 0x39)) return StrayByte;
    // A four-byte code: first and third byte 0x81-0xFE, second and fourth 0x30-0x39.
    if (left >= 4 && InRange(b[2], 0x81, 0xFE) && InRange(b[3], 0x30, 0x39)) {
        const uint32_t codePoint = Gb18030CodePointOfIndex(CodeIndexOf(b));
        return codePoint == Unassigned ? Gb18030Sequence{ReplacementCharacter, 4, false}
                                       : Gb18030Sequence{codePoint, 4, true};
    }
    // Cut off by the end: one character lost, not three.
    if (left < 4 && (left == 2 || InRange(b[2], 0x81, 0xFE)))
        return {ReplacementCharacter, static_cast<uint32_t>(left), false};
    return StrayByte;
}

size_t AppendFromGb18030(const uint8_t* bytes, size_t size, std::string* text) {
    text->reserve(text->size() + size);
    const Cp936Codes& codes = Codes();
    BlockWriter<char> writer(text);
    size_t replaced = 0;
    for (size_t at = 0; at < size;) {
        char* room = writer.Room();
        const uint8_t first = bytes[at];
        if (first < 0x80) {
            room[0] = static_cast<char>(first);
            writer.Took(1);
            ++at;
            continue;
        }
        // Most of what is not ASCII: a pair that is the page's too, so the runtime's bytes.
        if (at + 1 < size && first != EuroByte && first != LastByte) {
            const int32_t position = TrailPosition(bytes[at + 1]);
            if (position >= 0 && codes.gb18030[PairIndex(first, position)] == 0) {
                room[0] = static_cast<char>(first);
                room[1] = static_cast<char>(bytes[at + 1]);
                writer.Took(2);
                at += 2;
                continue;
            }
        }
        const Gb18030Sequence sequence = Gb18030SequenceAt(bytes, size, at);
        replaced += sequence.valid ? 0 : 1;
        writer.Took(Encode(codes, sequence.codePoint, room));
        at += sequence.length;
    }
    return replaced;
}

void AppendAsGb18030(const char* text, size_t size, std::string* bytes) {
    bytes->reserve(bytes->size() + size);
    const Cp936Codes& codes = Codes();
    BlockWriter<char> writer(bytes);
    const auto* b = reinterpret_cast<const unsigned char*>(text);
    for (size_t at = 0; at < size;) {
        char* room = writer.Room();
        if (b[at] < 0x80) {
            room[0] = static_cast<char>(b[at++]);
            writer.Took(1);
            continue;
        }
        if (IsLeadByte(static_cast<char>(b[at])) && at + 1 < size) {
            const int32_t position = TrailPosition(b[at + 1]);
            if (position >= 0 && codes.gb18030[PairIndex(b[at], position)] == 0) {
                room[0] = static_cast<char>(b[at]);
                room[1] = static_cast<char>(b[at + 1]);
                writer.Took(2);
                at += 2;
                continue;
            }
        }
        const TextCharacter c = CharacterAt(text, size, at);
        writer.Took(EncodeGb18030With(codes, c.codePoint, room));
        at += c.bytes;
    }
}

}  // namespace quillet
