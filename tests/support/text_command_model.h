#pragma once
// The text commands' rules written out plainly on std::string, no speed in
// mind: the reference the model test and the fuzz target compare the commands
// with.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/holds.h"

namespace quillet::text_test {

using Pieces = std::vector<std::string>;  // a split's elements

inline unsigned char At(const std::string& t, int64_t i) {
    return i < static_cast<int64_t>(t.size()) ? static_cast<unsigned char>(t[static_cast<size_t>(i)]) : 0;
}
inline bool Between(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }
// 0x80 (the euro sign) and 0xFF are characters of one byte, as ASCII is.
inline bool Lead(unsigned char byte) { return Between(byte, 0x81, 0xFE); }
// Bytes of the character at i: a four-byte code takes all four, in their ranges.
inline int64_t Width(const std::string& t, int64_t i) {
    if (!Lead(At(t, i))) return 1;
    const bool four = Between(At(t, i + 1), 0x30, 0x39) && Lead(At(t, i + 2)) && Between(At(t, i + 3), 0x30, 0x39);
    return four ? 4 : 2;
}
inline unsigned char Lower(unsigned char byte) { return byte >= 'A' && byte <= 'Z' ? byte + 32 : byte; }

inline bool SameAt(const std::string& t, int64_t at, const std::string& s, bool fold) {
    for (size_t k = 0; k < s.size(); ++k) {
        unsigned char a = At(t, at + static_cast<int64_t>(k));
        unsigned char b = static_cast<unsigned char>(s[k]);
        if (fold) a = Lower(a), b = Lower(b);
        if (a != b) return false;
    }
    return true;
}

inline int64_t StartOf(std::optional<int32_t> start) {
    return start ? std::max<int64_t>(static_cast<int64_t>(*start) - 1, 0) : 0;
}

inline std::string ModelLeft(const std::string& t, int32_t count) {
    return count < 1 ? "" : t.substr(0, std::min<size_t>(static_cast<size_t>(count), t.size()));
}

inline std::string ModelRight(const std::string& t, int32_t count) {
    if (count < 1) return "";
    return t.substr(t.size() - std::min<size_t>(static_cast<size_t>(count), t.size()));
}

inline std::string ModelCharFromCode(int32_t code) {
    const char byte = static_cast<char>(code & 0xFF);
    return byte == 0 ? "" : std::string(1, byte);
}

inline int32_t ModelFind(const std::string& t, const std::string& s, std::optional<int32_t> start, bool fold) {
    const int64_t length = static_cast<int64_t>(t.size());
    const int64_t n = static_cast<int64_t>(s.size());
    const int64_t from = StartOf(start);
    const int64_t areaStart = from < 1 ? 0 : from;
    const int64_t areaLength = from < 1 ? length : (from < length ? length - from : 0);
    if (n == 0) return areaLength > 0 ? 1 : -1;
    int64_t pos = areaStart;
    while (areaStart + areaLength - pos >= n) {
        if (SameAt(t, pos, s, fold)) return static_cast<int32_t>(pos + 1);
        if (Lead(At(t, pos)) && At(t, pos + 1) == 0) return -1;
        pos += Width(t, pos);
    }
    return -1;
}

inline std::string ModelReplace(const std::string& t, const std::string& s, const std::string& r,
                         std::optional<int32_t> start, std::optional<int32_t> count, uint32_t flagWord) {
    const int64_t length = static_cast<int64_t>(t.size());
    const int64_t n = static_cast<int64_t>(s.size());
    const int64_t from = StartOf(start);
    int64_t c = count ? *count : -1;
    const bool fold = flagWord == 0;
    if (length == 0 || n == 0 || from >= length || c == 0) return t;
    std::string out = t.substr(0, static_cast<size_t>(from));
    int64_t pos = from;
    while (length - pos >= n) {
        if (SameAt(t, pos, s, fold)) {
            out += r;
            pos += n;
            if (c != -1 && --c == 0) break;
            continue;
        }
        const unsigned char byte = At(t, pos);
        if (!Lead(byte)) {
            out += static_cast<char>(byte);
            pos += 1;
        } else if (At(t, pos + 1) != 0) {
            out += t.substr(static_cast<size_t>(pos), static_cast<size_t>(Width(t, pos)));
            pos += Width(t, pos);
        } else {
            pos += 1;   // the lone lead byte is dropped
            break;
        }
    }
    return out + t.substr(static_cast<size_t>(std::min(pos, length)));
}

inline Pieces ModelSplit(const std::string& t, std::optional<std::string> delimiter, std::optional<int32_t> maximum) {
    const std::string d = delimiter ? *delimiter : ",";
    int64_t m = maximum ? std::max(*maximum, 0) : -1;
    const int64_t length = static_cast<int64_t>(t.size());
    const int64_t n = static_cast<int64_t>(d.size());
    if (length == 0 || m == 0) return {};
    if (n == 0) return {t};
    Pieces pieces;
    int64_t pieceStart = 0;
    int64_t pos = 0;
    while (length - pos >= n) {
        if (t.compare(static_cast<size_t>(pos), static_cast<size_t>(n), d) == 0) {
            pieces.push_back(t.substr(static_cast<size_t>(pieceStart), static_cast<size_t>(pos - pieceStart)));
            pos += n;
            pieceStart = pos;
            if (m != -1 && --m == 0) break;
            continue;
        }
        if (Lead(At(t, pos)) && At(t, pos + 1) == 0) break;
        pos += Width(t, pos);
    }
    if (pieceStart != length && m != 0) pieces.push_back(t.substr(static_cast<size_t>(pieceStart)));
    return pieces;
}

// The trimming commands, seen as lists of characters rather than bytes.
// Spaces GBK lacks, as GB18030 codes them: U+00A0, U+2000-U+200A, U+202F, U+205F;
// and the invisible ones that only removal takes, U+200B and U+FEFF.
inline constexpr const char* WideSpaces[] = {
    "\x81\x30\x84\x32", "\x81\x36\xA3\x36", "\x81\x36\xA3\x37", "\x81\x36\xA3\x38", "\x81\x36\xA3\x39",
    "\x81\x36\xA4\x30", "\x81\x36\xA4\x31", "\x81\x36\xA4\x32", "\x81\x36\xA4\x33", "\x81\x36\xA4\x34",
    "\x81\x36\xA4\x35", "\x81\x36\xA4\x36", "\x81\x36\xA7\x32", "\x81\x36\xAB\x35",
};
inline constexpr const char* InvisibleSpaces[] = {"\x81\x36\xA4\x37", "\x84\x31\x95\x33"};

// Each entry one four-byte code, as Width steps it: a mistyped byte would make
// the model miss that space and blame the command for it.
constexpr bool IsOneFourByteCode(const char* text) {
    const auto byte = [text](int i) { return static_cast<unsigned char>(text[i]); };
    return byte(0) >= 0x81 && byte(0) <= 0xFE && byte(1) >= 0x30 && byte(1) <= 0x39 && byte(2) >= 0x81 &&
           byte(2) <= 0xFE && byte(3) >= 0x30 && byte(3) <= 0x39 && byte(4) == 0;
}
static_assert(std::size(WideSpaces) == 14 &&
              std::all_of(std::begin(WideSpaces), std::end(WideSpaces), IsOneFourByteCode));
static_assert(std::all_of(std::begin(InvisibleSpaces), std::end(InvisibleSpaces), IsOneFourByteCode));

inline bool IsOneOf(const std::string& bytes, const char* const* list, size_t count) {
    return std::find(list, list + count, bytes) != list + count;
}

struct Character {
    std::string bytes;
    bool truncated;   // a lead byte with nothing after it
    bool IsSpace() const {
        return bytes == " " || bytes == "\xA1\xA1" || IsOneOf(bytes, WideSpaces, std::size(WideSpaces));
    }
    bool IsRemovedSpace() const { return IsSpace() || IsOneOf(bytes, InvisibleSpaces, std::size(InvisibleSpaces)); }
};

inline std::vector<Character> Characters(const std::string& t) {
    std::vector<Character> characters;
    for (size_t i = 0; i < t.size();) {
        const auto width = static_cast<size_t>(Width(t, static_cast<int64_t>(i)));
        characters.push_back({t.substr(i, width), i + width > t.size()});
        i += width;
    }
    return characters;
}

inline std::string Joined(const std::vector<Character>& characters, size_t from, size_t to) {
    ASSERT_HOLDS(from <= to && to <= characters.size(), "a range of the characters");
    std::string text;
    for (size_t i = from; i < to; ++i) text += characters[i].bytes;
    return text;
}

inline std::string ModelTrim(const std::string& t) {
    const std::vector<Character> characters = Characters(t);
    size_t first = 0;
    while (first < characters.size() && characters[first].IsSpace()) ++first;
    size_t end = characters.size();
    if (end > first && characters[end - 1].truncated) return Joined(characters, first, end - 1);
    while (end > first && characters[end - 1].IsSpace()) --end;
    return Joined(characters, first, end);
}

inline std::string ModelRemoveSpaces(const std::string& t) {
    std::string text;
    for (const Character& character : Characters(t))
        if (!character.IsRemovedSpace() && !character.truncated) text += character.bytes;
    return text;
}

// atoi's reading of a text: white space, a sign, digits; wrapping around beyond 32 bits.
inline int32_t Atoi(const std::string& text) {
    size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos) return 0;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace quillet::text_test
