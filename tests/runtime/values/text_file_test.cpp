// A file's bytes as a runtime text: the encoding decided from the bytes, every
// character kept (GBK's as their bytes, others as four-byte codes), and files
// holding a 0 byte refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// A read appends to the text; writing the text read in the form read gives the file back (or not).
struct Read {
    std::string text = "kept\n";
    TextFileForm form;
    FileTextCounts counts;
};
Read ReadAndWriteBack(const std::string& file, bool comesBack = true) {
    Read read;
    EXPECT_TRUE(ReadTextFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &read.text, &read.form,
                             &read.counts));
    read.text.erase(0, 5);
    std::string written = "kept";
    MissingCharacter missing{};
    EXPECT_TRUE(WriteTextFile(read.text.data(), read.text.size(), read.form, &written, &missing));
    EXPECT_EQ(written == "kept" + file, comesBack) << file;
    return read;
}

bool SameForm(const TextFileForm& a, const TextFileForm& b) {
    return a.kind == b.kind && a.lineBreak == b.lineBreak && a.endsWithBreak == b.endsWithBreak;
}

// Kinds × breaks × the last line's break, in files of three lines, the middle one empty.
TEST(TextFileTest, EveryKindAndBreakReadsAsCrLfLinesAndWritesBackTheSameBytes) {
    const struct {
        TextFileKind kind;
        std::string mark, first, last, firstText, lastText;  // the lines in the file, and in the text
    } kinds[] = {
        {TextFileKind::Gbk, "", "\xD6\xD0\x80", "\xB0", "\xD6\xD0\x80", "\xB0"},  // the euro; a lead byte at the end
        {TextFileKind::Gb18030, "", "\xA2\xE3\x81\x30\x81\x30", "\xA8\xBF", "\x80\x81\x30\x81\x30", "\x84\x31\xA5\x30"},
        {TextFileKind::Utf8, "", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xD6\xD0", "\x94\x39\xFC\x36"},
        {TextFileKind::Utf8Mark, "\xEF\xBB\xBF", "a", "b", "a", "b"},
        {TextFileKind::Utf16Le, "\xFF\xFE", {"a\0", 2}, {"\x3D\xD8\0\xDE", 4}, "a", "\x94\x39\xFC\x36"},
        {TextFileKind::Utf16Be, "\xFE\xFF", {"\0a", 2}, "\x4E\x2D", "a", "\xD6\xD0"},
    };
    const char* breaks[] = {"\r\n", "\n", "\r"};
    for (const auto& k : kinds) {
        for (const LineBreak lineBreak : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr}) {
            std::string lineEnd;
            for (const char* c = breaks[static_cast<int>(lineBreak)]; *c != '\0'; ++c)
                lineEnd += k.kind == TextFileKind::Utf16Le   ? std::string{*c, '\0'}
                           : k.kind == TextFileKind::Utf16Be ? std::string{'\0', *c}
                                                             : std::string(1, *c);
            for (const bool endsWithBreak : {false, true}) {
                const std::string end = endsWithBreak ? lineEnd : "";
                const Read read = ReadAndWriteBack(k.mark + k.first + lineEnd + lineEnd + k.last + end);
                const std::string what = k.first + lineEnd + end;
                EXPECT_EQ(read.text, k.firstText + "\r\n\r\n" + k.lastText + (endsWithBreak ? "\r\n" : "")) << what;
                EXPECT_TRUE(SameForm(read.form, {k.kind, lineBreak, endsWithBreak})) << what;
                const size_t unknown = k.kind == TextFileKind::Gbk ? 1 : 0;
                EXPECT_TRUE(read.counts.replaced == 0 && read.counts.unknownBytes == unknown) << what;
            }
        }
    }
}

TEST(TextFileTest, OddFilesReadAsTheRulesSayAndComeBack) {
    const std::string replacement = "\x84\x31\xA4\x37";  // U+FFFD
    const struct {
        const char* what;
        std::string file, text;
        TextFileForm form;
        FileTextCounts counts;
    } cases[] = {
        {"a lone CR in a CR LF file", "a\rb\r\nc", "a\rb\r\nc", {TextFileKind::Gbk, LineBreak::CrLf, false}, {}},
        {"a lone LF in a CR LF file", "a\r\nb\n", "a\r\nb\n", {TextFileKind::Gbk, LineBreak::CrLf, false}, {}},
        {"LF and CR, no CR LF", "a\rb\n\rc\n", "a\rb\r\n\rc\r\n", {TextFileKind::Gbk, LineBreak::Lf, true}, {}},
        {"empty", "", "", {}, {}},
        {"no break", "ab", "ab", {}, {}},
        {"only breaks", "\r\r", "\r\n\r\n", {TextFileKind::Gbk, LineBreak::Cr, true}, {}},
        {"only a mark", "\xEF\xBB\xBF", "", {TextFileKind::Utf8Mark}, {}},
        {"GBK: lead bytes before CR, a digit, the end", "\xB0\r\n\xB0" "1\xB0", "\xB0\r\n\xB0" "1\xB0", {}, {0, 3}},
        {"GBK: a lead byte before LF", "\xB0\nb\n", "\xB0\r\nb\r\n", {TextFileKind::Gbk, LineBreak::Lf, true}, {0, 1}},
        {"GB18030: U+FFFD itself", "\x84\x31\xA4\x37", replacement, {TextFileKind::Gb18030}, {}},
    };
    for (const auto& c : cases) {
        const Read read = ReadAndWriteBack(c.file);
        EXPECT_TRUE(read.text == c.text && SameForm(read.form, c.form)) << c.what;
        const FileTextCounts& n = read.counts;
        EXPECT_TRUE(n.replaced == c.counts.replaced && n.unknownBytes == c.counts.unknownBytes) << c.what;
    }
    // Malformed GB18030 cannot come back: 0x80 alone, a code GB18030 leaves unassigned, a code cut off.
    const Read read = ReadAndWriteBack("\x81\x30\x81\x30\x80\r\n\x84\x31\xA5\x30\r\n\x81\x30", false);
    EXPECT_EQ(read.text, "\x81\x30\x81\x30" + replacement + "\r\n" + replacement + "\r\n" + replacement);
    EXPECT_TRUE(read.counts.replaced == 3 && read.form.kind == TextFileKind::Gb18030);
}

// How a text is written in each form, its ending included, the fuzz target checks by reading it back.
TEST(TextFileTest, WritingGbkNamesTheFirstCharacterGbkLacks) {
    const struct {
        std::string text;
        MissingCharacter first;
    } missing[] = {
        {"a\r\nb\xD6\xD0\r\nxy\x94\x39\xFC\x36z\x81\x30\x81\x30", {3, 10, 0x1F600}},
        {"\xB0\r\n\x81\x30\x81\x30", {1, 3, 0x80}},  // the tools read B0 0D as one character
    };
    for (const auto& m : missing) {
        std::string bytes = "as it was";
        MissingCharacter found{};
        EXPECT_FALSE(WriteTextFile(m.text.data(), m.text.size(), {}, &bytes, &found));
        EXPECT_TRUE(bytes == "as it was" && found.line == m.first.line && found.offset == m.first.offset &&
                    found.codePoint == m.first.codePoint)
            << m.text;
    }
    // A new text: GBK unless it holds a character GBK lacks.
    EXPECT_TRUE(SameForm(NewTextForm("", 0), {}));
    EXPECT_TRUE(SameForm(NewTextForm("\xD6\xD0\x80\xB0\r\n", 6), {TextFileKind::Gbk, LineBreak::CrLf, true}));
    EXPECT_TRUE(SameForm(NewTextForm("a\x84\x31\xA5\x30\r\nb", 8), {TextFileKind::Utf8}));
}

}  // namespace
}  // namespace quillet
