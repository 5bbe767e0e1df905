// The converter between runtime texts and UTF-16: every scalar value comes
// back, code page 936's characters keep the platform's bytes, other bytes
// convert as the platform converts them, and positions map both ways.
#include <gtest/gtest.h>

#include <string>

#include "runtime/values/text_encoding.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quillet {
namespace {

std::string Encoded(uint32_t codePoint) {
    char bytes[4];
    return std::string(bytes, EncodeCharacter(codePoint, bytes));
}

WideString Utf16(uint32_t codePoint) {
    if (codePoint < 0x10000) return WideString(1, static_cast<WideChar>(codePoint));
    const uint32_t v = codePoint - 0x10000;
    return {static_cast<WideChar>(0xD800 + (v >> 10)), static_cast<WideChar>(0xDC00 + (v & 0x3FF))};
}

WideString Units(std::initializer_list<uint16_t> units) {
    WideString wide;
    for (uint16_t unit : units) wide.push_back(static_cast<WideChar>(unit));
    return wide;
}

bool IsFourByteShape(const std::string& b) {
    auto in = [](char c, int lo, int hi) { return static_cast<unsigned char>(c) >= lo && static_cast<unsigned char>(c) <= hi; };
    return b.size() == 4 && in(b[0], 0x81, 0xFE) && in(b[1], 0x30, 0x39) && in(b[2], 0x81, 0xFE) && in(b[3], 0x30, 0x39);
}

TEST(TextEncodingTest, EveryScalarValueComesBack) {
    for (uint32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        const std::string bytes = Encoded(c);
        ASSERT_TRUE(bytes.size() <= 2 || IsFourByteShape(bytes)) << std::hex << c;
        const TextCharacter back = CharacterAt(bytes.data(), bytes.size(), 0);
        ASSERT_EQ(back.codePoint, c) << std::hex << c;
        ASSERT_EQ(back.bytes, bytes.size()) << std::hex << c;
        const WideString wide = Utf16(c);
        ASSERT_EQ(TextFromWide(wide.data(), wide.size()), bytes) << std::hex << c;
        ASSERT_EQ(WideFromText(bytes.data(), bytes.size()), wide) << std::hex << c;
    }
}

TEST(TextEncodingTest, FourByteCodesAreGb18030sWhereItHasThem) {
    const struct {
        uint32_t codePoint;
        const char* bytes;
    } anchors[] = {
        {0x0080, "\x81\x30\x81\x30"},   {0x00A0, "\x81\x30\x84\x32"},  {0xFFFD, "\x84\x31\xA4\x37"},
        {0xFFFF, "\x84\x31\xA4\x39"},   {0x10000, "\x90\x30\x81\x30"}, {0x1F600, "\x94\x39\xFC\x36"},
        {0x20BB7, "\x95\x34\xB2\x35"},  {0x10FFFF, "\xE3\x32\x9A\x35"}, {0x3400, "\x81\x39\xEE\x39"},
        {0xD55C, "\x83\x36\x84\x33"},  // Hangul
        {0x01F9, "\x84\x31\xA5\x30"},   // the first character GB18030 codes in two bytes and the page lacks
        {0x20AC, "\x80"},               {0x3000, "\xA1\xA1"},          {0xE5E5, "\xA3\xA0"},
    };
    for (const auto& anchor : anchors) {
        EXPECT_EQ(Encoded(anchor.codePoint), anchor.bytes) << std::hex << anchor.codePoint;
        EXPECT_EQ(WideFromText(anchor.bytes), Utf16(anchor.codePoint)) << std::hex << anchor.codePoint;
    }
}

// Four-byte shapes that code nothing, and codes cut short, are pairs and bytes
// of the page ('?' each); whatever they were, one pass makes them a text that
// keeps its bytes.
TEST(TextEncodingTest, MalformedBytesConvertAsThePageAndAreStableAfterOnePass) {
    const struct {
        const char* bytes;
        size_t questionMarks;
    } cases[] = {{"\xFE\x39\xFE\x39", 2}, {"\x84\x31\xAD\x30", 2}, {"\xE3\x32\x9A\x36", 2}, {"\x81\x30\x81", 2},
                 {"\x90\x30", 1}};
    for (const auto& c : cases) {
        const std::string text(c.bytes);
        const WideString wide = WideFromText(text.data(), text.size());
        EXPECT_EQ(wide, WideString(c.questionMarks, static_cast<WideChar>('?'))) << text;
        EXPECT_FALSE(KeepsItsBytes(text.data(), text.size())) << text;
        const std::string once = TextFromWide(wide.data(), wide.size());
        EXPECT_TRUE(KeepsItsBytes(once.data(), once.size())) << text;
    }
}

#ifdef _WIN32
// The platform's conversions, with which the table must agree.
std::wstring PlatformWide(const std::string& bytes) {
    wchar_t wide[8] = {};
    const int n = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide, 8);
    return std::wstring(wide, static_cast<size_t>(n > 0 ? n : 0));
}

// The page's bytes for a character it has (an exact round trip, best fit off), else empty.
std::string PlatformBytes(wchar_t c) {
    char bytes[4] = {};
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, 4, nullptr, &lossy);
    if (lossy || n <= 0) return std::string();
    const std::string made(bytes, static_cast<size_t>(n));
    return PlatformWide(made) == std::wstring(1, c) ? made : std::string();
}

TEST(TextEncodingTest, ThePagesCharactersKeepThePlatformsBytesAndNoOthersDo) {
    int pageCharacters = 0;
    for (uint32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        const std::string bytes = Encoded(c);
        const std::string page = PlatformBytes(static_cast<wchar_t>(c));
        if (!page.empty()) ++pageCharacters;
        ASSERT_TRUE(page.empty() ? IsFourByteShape(bytes) : bytes == page) << std::hex << c;
    }
    EXPECT_EQ(pageCharacters, 127 + 2 + 23940);  // ASCII, 0x80 and 0xFF, the pairs
}

TEST(TextEncodingTest, OtherBytesConvertAsThePageConvertsThem) {
    // Every byte alone, and every lead-range byte before every byte.
    for (int first = 1; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        ASSERT_EQ(WideFromText(one.data(), 1), PlatformWide(one)) << first;
        if (first < 0x80) continue;
        for (int second = 0; second < 256; ++second) {
            const std::string two{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(WideFromText(two.data(), 2), PlatformWide(two)) << first << ' ' << second;
        }
    }
    // Four-byte shapes that code nothing, and codes cut short.
    for (const char* bytes : {"\xFE\x39\xFE\x39", "\x84\x31\xAD\x30", "\xE3\x32\x9A\x36", "\x81\x30\x81", "\x90\x30"}) {
        const std::string text(bytes);
        EXPECT_EQ(WideFromText(text.data(), text.size()), PlatformWide(text)) << text;
    }
}
#endif

TEST(TextEncodingTest, LoneSurrogatesBecomeTheReplacementCharacter) {
    const WideString lone = Units({'a', 0xD83D, 'b', 0xDE00, 0xDE00, 0xD83D});
    EXPECT_EQ(TextFromWide(lone.data(), lone.size()),
              "a\x84\x31\xA4\x37" "b\x84\x31\xA4\x37\x84\x31\xA4\x37\x84\x31\xA4\x37");
    const WideString pair = Units({0xD83D, 0xDE00});
    EXPECT_EQ(TextFromWide(pair.data(), pair.size()), "\x94\x39\xFC\x36");
}

TEST(TextEncodingTest, PositionsMapBetweenBytesAndUtf16Units) {
    // a, U+1F600 (4 bytes, 2 units), D6 D0 (2 bytes, 1 unit), U+3400 (4 bytes, 1 unit), a lone lead byte at the end.
    const std::string text = "a\x94\x39\xFC\x36\xD6\xD0\x81\x39\xEE\x39\x81";
    const size_t size = text.size();
    EXPECT_EQ(WideLength(text.data(), size), 6u);
    const struct {
        size_t bytes;
        size_t units;  // units before the byte offset, a character begun counting whole
    } offsets[] = {{0, 0}, {1, 1}, {2, 3}, {5, 3}, {6, 4}, {7, 4}, {8, 5}, {11, 5}, {12, 6}, {99, 6}};
    for (const auto& o : offsets) EXPECT_EQ(WideOffsetOf(text.data(), size, o.bytes), o.units) << o.bytes;
    const struct {
        size_t units;
        size_t bytes;  // after the characters begun before the position
    } positions[] = {{0, 0}, {1, 1}, {2, 5}, {3, 5}, {4, 7}, {5, 11}, {6, 12}, {99, 12}};
    for (const auto& p : positions) EXPECT_EQ(ByteOffsetOf(text.data(), size, p.units), p.bytes) << p.units;
    EXPECT_EQ(CharacterBoundaryBefore(text.data(), size, 4), 1u);
    EXPECT_EQ(CharacterBoundaryBefore(text.data(), size, 6), 5u);
    EXPECT_EQ(CharacterBoundaryBefore(text.data(), size, 100), size);
    EXPECT_FALSE(KeepsItsBytes(text.data(), size));       // the lone lead byte comes back as '?'
    EXPECT_TRUE(KeepsItsBytes(text.data(), size - 1));
    EXPECT_TRUE(KeepsItsBytes("\x81\x30\x81\x30", 4));  // U+0080
    // The four-byte code of a character the page has is not how that character is kept.
    const std::string pageCharacterAsFour = "\x83\x36\xC9\x34";  // U+E815, the page's FE 50
    EXPECT_EQ(WideFromText(pageCharacterAsFour.data(), 4), Units({0xE815}));
    EXPECT_FALSE(KeepsItsBytes(pageCharacterAsFour.data(), 4));
}

}  // namespace
}  // namespace quillet
