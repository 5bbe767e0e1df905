// A file's bytes as a runtime text: the encoding decided from the bytes, every
// character kept (GBK's as their bytes, others as four-byte codes), and files
// holding a 0 byte refused.
#include <gtest/gtest.h>

#include <string>

#include "runtime/values/text_file.h"

namespace quillet {
namespace {

TEST(TextFileTest, EachKindIsFoundAndDecodedToTheRuntimesText) {
    struct Case {
        const char* what;
        std::string bytes;
        TextFileKind kind;
        std::string text;  // GBK bytes, four-byte codes for what GBK lacks
    };
    const std::string smiley = "\x94\x39\xFC\x36";      // U+1F600
    const std::string replacement = "\x84\x31\xA4\x37";  // U+FFFD
    const Case cases[] = {
        {"empty", "", TextFileKind::Gbk, ""},
        {"ASCII", "a b\r\nc", TextFileKind::Gbk, "a b\r\nc"},
        {"GBK", "\xC4\xE3\xBA\xC3\r\n", TextFileKind::Gbk, "\xC4\xE3\xBA\xC3\r\n"},
        {"GBK with a byte no character", "\xD6\xD0\x80\xFF", TextFileKind::Gbk, "\xD6\xD0\x80\xFF"},
        {"UTF-8", "\xE4\xB8\xAD\xE6\x96\x87", TextFileKind::Utf8, "\xD6\xD0\xCE\xC4"},
        {"UTF-8 beyond GBK", "x\xF0\x9F\x98\x80", TextFileKind::Utf8, "x" + smiley},
        {"overlong UTF-8 is GBK", "\xC0\xAF", TextFileKind::Gbk, "\xC0\xAF"},
        {"a surrogate in UTF-8 is GBK", "\xED\xA0\x80", TextFileKind::Gbk, "\xED\xA0\x80"},
        {"UTF-8 cut in a sequence is GBK", "\xE4\xB8", TextFileKind::Gbk, "\xE4\xB8"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" "a\xE4\xB8\xAD", TextFileKind::Utf8Mark, "a\xD6\xD0"},
        {"a mark and ASCII", "\xEF\xBB\xBF" "ab", TextFileKind::Utf8Mark, "ab"},
        {"a mark and a malformed byte", "\xEF\xBB\xBF\xFF" "a", TextFileKind::Utf8Mark, replacement + "a"},
        {"UTF-16LE", std::string("\xFF\xFE" "a\0\x2D\x4E\x3D\xD8\x00\xDE", 10), TextFileKind::Utf16Le,
         "a\xD6\xD0" + smiley},
        {"UTF-16BE", std::string("\xFE\xFF\0a\x4E\x2D", 6), TextFileKind::Utf16Be, "a\xD6\xD0"},
        {"UTF-16 with an odd last byte", std::string("\xFF\xFE" "a\0b", 5), TextFileKind::Utf16Le,
         "a" + replacement},
        {"UTF-16 with a lone surrogate", std::string("\xFF\xFE\x3D\xD8" "a\0", 6), TextFileKind::Utf16Le,
         replacement + "a"},
    };
    for (const Case& c : cases) {
        std::string text = "kept|";
        TextFileKind kind = TextFileKind::NotText;
        const auto* bytes = reinterpret_cast<const uint8_t*>(c.bytes.data());
        EXPECT_TRUE(DecodeTextFile(bytes, c.bytes.size(), &text, &kind)) << c.what;
        EXPECT_EQ(kind, c.kind) << c.what;
        EXPECT_EQ(text, "kept|" + c.text) << c.what;
    }
}

TEST(TextFileTest, AZeroByteOrUnitIsNoTextAndLeavesTheTextAlone) {
    const std::string files[] = {
        std::string("ab\0cd", 5),
        std::string("\xEF\xBB\xBF" "a\0", 5),
        std::string("\xFF\xFE" "a\0\0\0b\0", 8),
        std::string("\xFE\xFF\0\0", 4),
        std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16),
    };
    for (const std::string& file : files) {
        std::string text = "as it was";
        TextFileKind kind = TextFileKind::Gbk;
        EXPECT_FALSE(DecodeTextFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &text, &kind));
        EXPECT_EQ(kind, TextFileKind::NotText);
        EXPECT_EQ(text, "as it was");
    }
}

// A file without a mark with some malformed UTF-8 is still UTF-8 when it holds
// at least 4 well-formed multi-byte sequences and at most 1 malformed per 100
// of them; a sequence cut off at the very end counts as neither. Each malformed
// sequence (a stray byte, or a sequence broken off before a space) is one U+FFFD.
TEST(TextFileTest, AFewMalformedSequencesLeaveAUtf8FileUtf8) {
    const struct {
        size_t wellFormed, malformed;
        bool cut;
        TextFileKind kind;
    } cases[] = {
        {1, 0, false, TextFileKind::Utf8},   {4, 0, true, TextFileKind::Utf8},    {3, 0, true, TextFileKind::Gbk},
        {100, 1, false, TextFileKind::Utf8}, {99, 1, false, TextFileKind::Gbk},   {200, 2, true, TextFileKind::Utf8},
        {199, 2, false, TextFileKind::Gbk},  {100, 2, false, TextFileKind::Gbk},  {4, 1, false, TextFileKind::Gbk},
    };
    const std::string replacement = "\x84\x31\xA4\x37";  // U+FFFD
    for (const auto& c : cases) {
        std::string bytes, utf8Text;
        for (size_t k = 0; k < c.wellFormed; ++k) bytes += "\xE4\xB8\xAD ", utf8Text += "\xD6\xD0 ";
        for (size_t k = 0; k < c.malformed; ++k) bytes += k % 2 ? "\xE4\xB8 " : "\xFF ", utf8Text += replacement + " ";
        if (c.cut) bytes += "\xE4\xB8", utf8Text += replacement;
        std::string text;
        TextFileKind kind = TextFileKind::NotText;
        size_t replaced = 0;
        const std::string what = std::to_string(c.wellFormed) + " well-formed, " + std::to_string(c.malformed) +
                                 " malformed" + (c.cut ? ", cut" : "");
        ASSERT_TRUE(DecodeTextFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &text, &kind,
                                   &replaced));
        EXPECT_EQ(kind, c.kind) << what;
        EXPECT_TRUE(text == (c.kind == TextFileKind::Utf8 ? utf8Text : bytes)) << what;
        EXPECT_EQ(replaced, c.kind == TextFileKind::Utf8 ? c.malformed + (c.cut ? 1 : 0) : 0u) << what;
    }
}

}  // namespace
}  // namespace quillet
