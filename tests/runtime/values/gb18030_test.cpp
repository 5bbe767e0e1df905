// GB18030: where it differs from code page 936 (the runtime's bytes), and, in
// the host build, every code point and every two- and four-byte sequence
// against Python's gb18030 codec (gb18030_reference.py, run by the build).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

std::string Gb18030Of(uint32_t codePoint) {
    char out[4];
    return std::string(out, EncodeGb18030(codePoint, out));
}

std::string RuntimeOf(uint32_t codePoint) {
    char out[4];
    return std::string(out, EncodeCharacter(codePoint, out));
}

// The character and the bytes each way, and a text of it converted each way.
void ExpectBothWays(uint32_t codePoint, const std::string& gb18030, const std::string& runtime, const char* what) {
    EXPECT_EQ(Gb18030Of(codePoint), gb18030) << what;
    const auto* bytes = reinterpret_cast<const uint8_t*>(gb18030.data());
    const Gb18030Sequence read = Gb18030SequenceAt(bytes, gb18030.size(), 0);
    EXPECT_TRUE(read.valid && read.codePoint == codePoint && read.length == gb18030.size()) << what;
    EXPECT_EQ(RuntimeOf(codePoint), runtime) << what;
    std::string text, file;
    EXPECT_EQ(AppendFromGb18030(bytes, gb18030.size(), &text), 0u) << what;
    AppendAsGb18030(runtime.data(), runtime.size(), &file);
    EXPECT_TRUE(text == runtime && file == gb18030) << what;
}

TEST(Gb18030Test, WhereItDiffersFromCodePage936) {
    const struct {
        const char* what;
        uint32_t codePoint;
        const char* gb18030;
        const char* runtime;  // code page 936's bytes, a four-byte code where it lacks the character
    } differences[] = {
        {"the euro sign", 0x20AC, "\xA2\xE3", "\x80"},
        {"U+E76C, the page's A2 E3", 0xE76C, "\x83\x36\xC7\x39", "\xA2\xE3"},
        {"U+F8F5, the page's 0xFF", 0xF8F5, "\x83\x39\xFE\x30", "\xFF"},
        {"U+01F9, the first of the 80", 0x01F9, "\xA8\xBF", "\x84\x31\xA5\x30"},
        {"U+E7C8, the page's A8 BF", 0xE7C8, "\x83\x36\xC8\x30", "\xA8\xBF"},
        {"U+4DAE, the last of the 80", 0x4DAE, "\xFE\x9F", "\x84\x31\xAC\x39"},
        {"U+E863, the page's FE 9F", 0xE863, "\x83\x36\xCF\x39", "\xFE\x9F"},
        {"A8 BC is U+E7C7 (later editions: U+1E3F)", 0xE7C7, "\xA8\xBC", "\xA8\xBC"},
        {"U+1E3F", 0x1E3F, "\x81\x35\xF4\x37", "\x81\x35\xF4\x37"},
        {"U+E5E5 (A3 A0) as in the page", 0xE5E5, "\xA3\xA0", "\xA3\xA0"},
    };
    for (const auto& d : differences) ExpectBothWays(d.codePoint, d.gb18030, d.runtime, d.what);

    // Bytes that are no character in GB18030, and how much of them is skipped.
    const struct {
        std::string bytes;
        uint32_t length;
    } invalid[] = {{"\x80", 1},      {"\xFF", 1},      {"\x84\x31\xA5\x30", 4}, {"\xFE\x39\xFE\x39", 4},
                   {"\xE3\x32\x9A\x36", 4}, {"\x81\x7F", 1}, {"\x81\x30\x20\x30", 1}, {"\x81\x30\x81", 3},
                   {"\x81", 1},      {"\x81\x30", 2}};
    for (const auto& c : invalid) {
        const Gb18030Sequence read = Gb18030SequenceAt(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), 0);
        EXPECT_TRUE(!read.valid && read.codePoint == 0xFFFD && read.length == c.length) << c.bytes;
    }
}

#ifdef QUILLET_GB18030_REFERENCE
TEST(Gb18030Test, AgreesWithPythonsCodecEverywhere) {
    std::ifstream file(QUILLET_GB18030_REFERENCE, std::ios::binary);
    const std::vector<char> data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    constexpr size_t CodePoints = 0x110000, Pairs = 0x10000, FourByteForms = 126 * 10 * 126 * 10;
    ASSERT_EQ(data.size(), 8 * CodePoints + 4 * (Pairs + FourByteForms));
    const auto word = [&](size_t at) {
        uint32_t value;
        std::memcpy(&value, data.data() + at, 4);
        return value;
    };
    int failures = 0;
    const auto expect = [&](bool holds, uint32_t what, const char* part) {
        if (!holds && failures++ < 20) ADD_FAILURE() << part << " " << std::hex << what;
        return failures < 20;
    };
    for (uint32_t c = 0; c < CodePoints && failures < 20; ++c) {
        const std::string code(data.data() + 8 * c, word(8 * c + 4));
        if (code.empty()) continue;  // a surrogate
        expect(Gb18030Of(c) == code, c, "code point");
        std::string text, back;
        AppendFromGb18030(reinterpret_cast<const uint8_t*>(code.data()), code.size(), &text);
        AppendAsGb18030(text.data(), text.size(), &back);
        expect(text == RuntimeOf(c) && back == code, c, "code point's text converted each way");
    }
    const auto expectRead = [&](const uint8_t* bytes, size_t size, uint32_t want, uint32_t what) {
        const Gb18030Sequence read = Gb18030SequenceAt(bytes, size, 0);
        return expect(want == 0xFFFFFFFF ? !(read.valid && read.length == size)
                                         : read.valid && read.length == size && read.codePoint == want,
                      what, size == 2 ? "two bytes" : "four-byte code index");
    };
    for (uint32_t pair = 0; pair < Pairs; ++pair) {
        const uint8_t bytes[] = {static_cast<uint8_t>(pair >> 8), static_cast<uint8_t>(pair)};
        if (!expectRead(bytes, 2, word(8 * CodePoints + 4 * pair), pair)) return;
    }
    for (uint32_t index = 0; index < FourByteForms; ++index) {
        const uint8_t bytes[] = {static_cast<uint8_t>(0x81 + index / 12600), static_cast<uint8_t>(0x30 + index / 1260 % 10),
                                 static_cast<uint8_t>(0x81 + index / 10 % 126), static_cast<uint8_t>(0x30 + index % 10)};
        if (!expectRead(bytes, 4, word(8 * CodePoints + 4 * (Pairs + index)), index)) return;
    }
}
#endif

}  // namespace
}  // namespace quillet
