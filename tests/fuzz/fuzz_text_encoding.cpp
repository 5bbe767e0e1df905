// Fuzz target: the text converter. Any bytes, read as a runtime text, convert
// to UTF-16 and back; a text that keeps its bytes comes back exactly, any
// other is stable after one pass. The same bytes, read as UTF-16 units, come
// back exactly where they are well-formed, a lone surrogate as U+FFFD. The
// position walks agree with the conversion. The same bytes as a file: refused
// exactly when they hold a 0 byte (a 0 unit in UTF-16), kept as they are when
// they are GBK, and otherwise a text of well-formed characters.
#include <cstdint>
#include <string>

#include "runtime/values/text_encoding.h"
#include "runtime/values/text_file.h"
#include "tests/support/holds.h"


namespace {

using namespace quillet;

void CheckBytes(const std::string& text) {
    const WideString wide = WideFromText(text.data(), text.size());
    const std::string once = TextFromWide(wide.data(), wide.size());
    ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()) == (once == text),
                 "KeepsItsBytes says whether the text comes back");
    ASSERT_HOLDS(KeepsItsBytes(once.data(), once.size()), "one pass gives a text that keeps its bytes");
    ASSERT_HOLDS(WideFromText(once.data(), once.size()) == wide, "one pass keeps the characters");
    ASSERT_HOLDS(WideLength(text.data(), text.size()) == wide.size(), "WideLength counts the units");

    // The walks from the start, at about 32 character boundaries (each walk is linear).
    const size_t every = text.size() / 32 + 1;
    size_t units = 0;
    for (size_t at = 0, index = 0; at < text.size(); ++index) {
        const TextCharacter c = CharacterAt(text.data(), text.size(), at);
        ASSERT_HOLDS(c.bytes >= 1 && c.bytes <= 4 && at + c.bytes <= text.size(), "a character lies within the text");
        if (index % every == 0) {
            ASSERT_HOLDS(WideOffsetOf(text.data(), text.size(), at) == units, "WideOffsetOf at a boundary");
            ASSERT_HOLDS(ByteOffsetOf(text.data(), text.size(), units) == at, "ByteOffsetOf of a boundary's units");
            ASSERT_HOLDS(CharacterBoundaryBefore(text.data(), text.size(), at + c.bytes - 1) == at,
                         "CharacterBoundaryBefore inside a character");
        }
        units += WideUnits(c.codePoint);
        at += c.bytes;
    }
}

void CheckUnits(const WideString& wide) {
    WideString expected;  // lone surrogates as U+FFFD
    for (size_t at = 0; at < wide.size(); ++at) {
        const uint32_t unit = static_cast<uint16_t>(wide[at]);
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        if (high && at + 1 < wide.size() && static_cast<uint16_t>(wide[at + 1]) >= 0xDC00 &&
            static_cast<uint16_t>(wide[at + 1]) < 0xE000) {
            expected += wide[at];
            expected += wide[++at];
        } else {
            expected += unit >= 0xD800 && unit < 0xE000 ? static_cast<WideChar>(0xFFFD) : wide[at];
        }
    }
    const std::string text = TextFromWide(wide.data(), wide.size());
    ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()), "a converted text keeps its bytes");
    ASSERT_HOLDS(WideFromText(text.data(), text.size()) == expected, "UTF-16 comes back");
}

void CheckFile(const uint8_t* bytes, size_t size) {
    const bool utf16 = size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
    bool zero = false;
    for (size_t at = utf16 ? 2 : 0; at < size && !zero; at += utf16 ? 2 : 1)
        zero = bytes[at] == 0 && (!utf16 || (at + 1 < size && bytes[at + 1] == 0));
    std::string text;
    TextFileKind kind = TextFileKind::NotText;
    const bool read = DecodeTextFile(bytes, size, &text, &kind);
    ASSERT_HOLDS(read == !zero && (kind == TextFileKind::NotText) == zero, "refused exactly for a 0 byte or unit");
    if (!read) {
        ASSERT_HOLDS(text.empty(), "a refused file leaves the text alone");
    } else if (kind == TextFileKind::Gbk) {
        ASSERT_HOLDS(text == std::string(reinterpret_cast<const char*>(bytes), size), "GBK keeps its bytes");
    } else {
        ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()), "decoded text is well-formed characters");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckBytes(std::string(reinterpret_cast<const char*>(data), size));
    CheckFile(data, size);
    WideString wide;
    for (size_t at = 0; at + 1 < size; at += 2) wide += static_cast<WideChar>(data[at] | data[at + 1] << 8);
    CheckUnits(wide);
    return 0;
}
