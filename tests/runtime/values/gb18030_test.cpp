// GB18030: where it differs from code page 936 (the runtime's bytes), and, in
// the host build, every code point and every two- and four-byte sequence
// against Python's gb18030 codec (gb18030_reference.py, run by the build).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

Gb18030Sequence FirstSequence(const std::string& bytes) {
    return Gb18030SequenceAt(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
}

std::string RuntimeOf(uint32_t codePoint) {
    char out[4];
    return std::string(out, EncodeCharacter(codePoint, out));
}

// GB18030 codes the character as `code`, read and written, and a text of it converts both ways.
bool CodesAs(uint32_t codePoint, const std::string& code) {
    char out[4];
    const Gb18030Sequence read = FirstSequence(code);
    std::string text, back;
    AppendFromGb18030(reinterpret_cast<const uint8_t*>(code.data()), code.size(), &text);
    AppendAsGb18030(text.data(), text.size(), &back);
    return std::string(out, EncodeGb18030(codePoint, out)) == code && read.valid && read.codePoint == codePoint &&
           read.length == code.size() && text == RuntimeOf(codePoint) && back == code;
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
    };
    for (const auto& d : differences)
        EXPECT_TRUE(CodesAs(d.codePoint, d.gb18030) && RuntimeOf(d.codePoint) == d.runtime) << d.what;

    // Bytes that are no character in GB18030, and how much of them is skipped.
    const struct {
        std::string bytes;
        uint32_t length;
    } invalid[] = {
        {"\x80", 1}, {"\xFF", 1}, {"\x84\x31\xA5\x30", 4}, {"\xFE\x39\xFE\x39", 4}, {"\xE3\x32\x9A\x36", 4},
        {"\x81\x7F", 1}, {"\x81\x30\x20\x30", 1}, {"\x81\x30\x81", 3}, {"\x81", 1}, {"\x81\x30", 2},  // cut off
    };
    for (const auto& c : invalid) {
        const Gb18030Sequence read = FirstSequence(c.bytes);
        EXPECT_TRUE(!read.valid && read.codePoint == 0xFFFD && read.length == c.length) << c.bytes;
    }
}

#ifdef QUILLET_GB18030_REFERENCE
TEST(Gb18030Test, AgreesWithPythonsCodecEverywhere) {
    constexpr uint32_t CodePoints = 0x110000, Pairs = 0x10000, FourByteForms = 126 * 10 * 126 * 10;
    std::vector<uint32_t> words(2 * CodePoints + Pairs + FourByteForms + 1);  // one more: the file is no longer
    std::ifstream file(QUILLET_GB18030_REFERENCE, std::ios::binary);
    file.read(reinterpret_cast<char*>(words.data()), static_cast<std::streamsize>(4 * words.size()));
    ASSERT_EQ(file.gcount(), static_cast<std::streamsize>(4 * (words.size() - 1)));
    int failures = 0;
    const auto expect = [&](bool holds, const char* part, uint32_t what) {
        if (!holds && failures++ < 20) ADD_FAILURE() << part << " " << std::hex << what;
    };
    for (uint32_t c = 0; c < CodePoints; ++c) {
        const std::string code(reinterpret_cast<const char*>(&words[2 * c]), words[2 * c + 1]);
        expect(code.empty() || CodesAs(c, code), "code point", c);  // empty: a surrogate
    }
    // What Python reads as one character from all of the bytes, or none.
    const auto expectRead = [&](const std::string& bytes, uint32_t want, const char* part, uint32_t what) {
        const Gb18030Sequence read = FirstSequence(bytes);
        const bool whole = read.valid && read.length == bytes.size();
        expect(want == 0xFFFFFFFF ? !whole : whole && read.codePoint == want, part, what);
    };
    const uint32_t* pairs = &words[2 * CodePoints];
    for (uint32_t pair = 0; pair < Pairs; ++pair)
        expectRead({static_cast<char>(pair >> 8), static_cast<char>(pair)}, pairs[pair], "pair", pair);
    for (uint32_t index = 0; index < FourByteForms; ++index) {
        const auto byte = [index](uint32_t low, uint32_t every, uint32_t count) {
            return static_cast<char>(low + index / every % count);
        };
        expectRead({byte(0x81, 12600, 126), byte(0x30, 1260, 10), byte(0x81, 10, 126), byte(0x30, 1, 10)},
                   pairs[Pairs + index], "four-byte code index", index);
    }
}
#endif

}  // namespace
}  // namespace quillet
