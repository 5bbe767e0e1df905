#include "runtime/values/text_file.h"

#include <cstring>

#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr uint8_t Utf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr uint32_t Replacement = 0xFFFD;

bool StartsWith(const uint8_t* bytes, size_t size, const uint8_t* mark, size_t markSize) {
    return size >= markSize && std::memcmp(bytes, mark, markSize) == 0;
}

// One well-formed UTF-8 sequence at bytes[at] (shortest form, no surrogate,
// at most U+10FFFF): its length and code point, or 0.
size_t Utf8SequenceAt(const uint8_t* bytes, size_t size, size_t at, uint32_t* codePoint) {
    const uint8_t lead = bytes[at];
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    size_t length;
    uint32_t value;
    uint32_t lowest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, lowest = 0x10000;
    } else {
        return 0;
    }
    if (size - at < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        const uint8_t next = bytes[at + k];
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *codePoint = value;
    return length;
}

bool IsUtf8BeyondAscii(const uint8_t* bytes, size_t size) {
    bool beyondAscii = false;
    uint32_t codePoint = 0;
    for (size_t at = 0; at < size;) {
        const size_t length = Utf8SequenceAt(bytes, size, at, &codePoint);
        if (length == 0) return false;
        beyondAscii = beyondAscii || length > 1;
        at += length;
    }
    return beyondAscii;
}

void AppendCharacter(uint32_t codePoint, std::string* text) {
    char encoded[4];
    text->append(encoded, EncodeCharacter(codePoint, encoded));
}

void AppendUtf8(const uint8_t* bytes, size_t size, std::string* text) {
    for (size_t at = 0; at < size;) {
        uint32_t codePoint = 0;
        const size_t length = Utf8SequenceAt(bytes, size, at, &codePoint);
        // A malformed byte is one character the file lost before it came here.
        AppendCharacter(length == 0 ? Replacement : codePoint, text);
        at += length == 0 ? 1 : length;
    }
}

void AppendUtf16(const uint8_t* bytes, size_t size, bool bigEndian, std::string* text) {
    WideString wide;
    wide.reserve(size / 2);
    for (size_t at = 0; at + 1 < size; at += 2)
        wide.push_back(static_cast<WideChar>(bigEndian ? (bytes[at] << 8) | bytes[at + 1]
                                                       : bytes[at] | (bytes[at + 1] << 8)));
    AppendFromWide(wide.data(), wide.size(), text);
    if (size % 2 != 0) AppendCharacter(Replacement, text);
}

bool HoldsZeroUnit(const uint8_t* bytes, size_t size) {
    for (size_t at = 2; at + 1 < size; at += 2)
        if (bytes[at] == 0 && bytes[at + 1] == 0) return true;
    return false;
}

}  // namespace

TextFileKind KindOfTextFile(const uint8_t* bytes, size_t size) {
    static constexpr uint8_t LittleEndianMark[] = {0xFF, 0xFE};
    static constexpr uint8_t BigEndianMark[] = {0xFE, 0xFF};
    if (StartsWith(bytes, size, LittleEndianMark, 2) || StartsWith(bytes, size, BigEndianMark, 2)) {
        if (HoldsZeroUnit(bytes, size)) return TextFileKind::NotText;
        return bytes[0] == 0xFF ? TextFileKind::Utf16Le : TextFileKind::Utf16Be;
    }
    if (size > 0 && std::memchr(bytes, 0, size) != nullptr) return TextFileKind::NotText;
    if (StartsWith(bytes, size, Utf8Mark, sizeof Utf8Mark)) return TextFileKind::Utf8Mark;
    return IsUtf8BeyondAscii(bytes, size) ? TextFileKind::Utf8 : TextFileKind::Gbk;
}

bool DecodeTextFile(const uint8_t* bytes, size_t size, std::string* text, TextFileKind* kind) {
    const TextFileKind found = KindOfTextFile(bytes, size);
    if (kind != nullptr) *kind = found;
    switch (found) {
    case TextFileKind::NotText: return false;
    case TextFileKind::Gbk: text->append(reinterpret_cast<const char*>(bytes), size); return true;
    case TextFileKind::Utf8: AppendUtf8(bytes, size, text); return true;
    case TextFileKind::Utf8Mark: AppendUtf8(bytes + sizeof Utf8Mark, size - sizeof Utf8Mark, text); return true;
    case TextFileKind::Utf16Le: AppendUtf16(bytes + 2, size - 2, false, text); return true;
    case TextFileKind::Utf16Be: AppendUtf16(bytes + 2, size - 2, true, text); return true;
    }
    return false;
}

}  // namespace quillet
