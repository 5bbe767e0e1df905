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

}  // namespace
}  // namespace quillet
