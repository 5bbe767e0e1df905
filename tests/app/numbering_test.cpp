// The second page, "增加序号", run by its button on the real window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/numbering.h"
#include "runtime/services/compiled_code.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;

class NumberingTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
};

NumberingOptions Options(const std::string& start, bool zeroFill, bool skipBlank, const std::string& prefix = "",
                         const std::string& suffix = "") {
    return NumberingOptions{prefix, start, suffix, zeroFill, skipBlank};
}

// "nx" and a line break, n with one leading zero when asked.
std::string Line(int n, bool zero) {
    char line[24];
    std::snprintf(line, sizeof line, zero ? "0%dx\r\n" : "%dx\r\n", n);
    return line;
}

// Lines "x" joined by CR LF, no final one.
std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += i == 0 ? "x" : "\r\nx";
    return text;
}

TEST_F(NumberingTest, NumbersEveryLineFromTheStartNumber) {
    EXPECT_EQ(RunNumbering("a\r\nb\r\nc", Options("1", true, true)), "1a\r\n2b\r\n3c\r\n");
    EXPECT_EQ(RunNumbering("a\r\nb", Options("abc", false, false)), "0a\r\n1b\r\n");  // no number: 0
    EXPECT_EQ(RunNumbering("a\r\nb", Options(" 12ab", false, false)), "12a\r\n13b\r\n");
    EXPECT_EQ(RunNumbering("a", Options("\xA3\xB1\xA3\xB2", false, false)), "12a\r\n");  // full-width 12
    EXPECT_EQ(RunNumbering("", Options("1", true, true)), "");
}

// A line break after the euro sign 0x80 or after 0xFF ends the line: neither leads a pair.
TEST_F(NumberingTest, ALineEndingInAOneByteCharacterIsALine) {
    const struct {
        std::string text, expected;
    } cases[] = {
        {"价格 100€\r\n下一行", "1价格 100€\r\n2下一行\r\n"},
        {"\xFF\r\n\r\n€\r\n€", "1\xFF\r\n\r\n2€\r\n3€\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(RunNumbering(c.text, Options("1", false, true)), c.expected) << c.text;
}

TEST_F(NumberingTest, ZeroFillPadsToTheWidestNumber) {
    std::string twelve;
    for (int i = 1; i <= 12; ++i) twelve += Line(i, i < 10);
    EXPECT_EQ(RunNumbering(Lines(12), Options("1", true, true)), twelve);
    EXPECT_EQ(RunNumbering(Lines(5), Options("8", true, true)), "08x\r\n09x\r\n10x\r\n11x\r\n12x\r\n");
    EXPECT_EQ(RunNumbering(Lines(3), Options("98", true, true)), "098x\r\n099x\r\n100x\r\n");
    // Without zero fill the numbers stay as they are.
    EXPECT_EQ(RunNumbering(Lines(3), Options("8", false, true)), "8x\r\n9x\r\n10x\r\n");
}

TEST_F(NumberingTest, TheWidthCountsEveryLineNumberedOrNot) {
    // 102 lines, only three of them numbered: the width is that of 102.
    std::string text = "a\r\nb";
    for (int i = 0; i < 99; ++i) text += "\r\n";
    text += "\r\nc";
    std::string expected = "001a\r\n002b\r\n";
    for (int i = 0; i < 99; ++i) expected += "\r\n";
    expected += "003c\r\n";
    EXPECT_EQ(RunNumbering(text, Options("1", true, false)), expected);
}

TEST_F(NumberingTest, EmptyLines) {
    EXPECT_EQ(RunNumbering("a\r\n\r\nb", Options("1", false, true)), "1a\r\n\r\n2b\r\n");
    EXPECT_EQ(RunNumbering("a\r\n\r\nb", Options("1", false, false)), "1a\r\n2\r\n3b\r\n");
    // Zero fill leaves empty lines unnumbered whatever the other box says.
    EXPECT_EQ(RunNumbering("a\r\n\r\nb", Options("1", true, false)), "1a\r\n\r\n2b\r\n");
    // A line holding a space is not empty.
    EXPECT_EQ(RunNumbering("a\r\n \r\nb", Options("1", true, true)), "1a\r\n2 \r\n3b\r\n");
    // An empty last line between the two final line breaks is lost.
    EXPECT_EQ(RunNumbering("a\r\nb\r\n\r\n", Options("1", true, true)), "1a\r\n2b\r\n");
    EXPECT_EQ(RunNumbering("a\r\n\r\n\r\nb\r\n\r\n", Options("1", false, true)), "1a\r\n\r\n\r\n2b\r\n");
}

TEST_F(NumberingTest, PrefixAndSuffix) {
    EXPECT_EQ(RunNumbering("a\r\nb", Options("1", true, true, "(", ")")), "(1)a\r\n(2)b\r\n");
    EXPECT_EQ(RunNumbering("a\r\nb", Options("1", true, true, "第", "章 ")), "第1章 a\r\n第2章 b\r\n");
}

TEST_F(NumberingTest, AnEmptyStartNumberMakesNoNumbers) {
    EXPECT_EQ(RunNumbering("a\r\n\r\nb", Options("", true, true, "[", "]")), "[]a\r\n[]\r\n[]b\r\n");
    EXPECT_EQ(RunNumbering("a\r\n\r\nb", Options("", true, true)), "a\r\n\r\nb\r\n");
}

TEST_F(NumberingTest, NegativeStartsAreLongerThanTheWidthAndGetNoZeros) {
    EXPECT_EQ(RunNumbering(Lines(5), Options("-2", true, true)), "-2x\r\n-1x\r\n0x\r\n1x\r\n2x\r\n");
    // From -5 over 16 lines the width is 2: -5 to -1 fit it, 0 to 9 get one zero.
    std::string expected;
    for (int n = -5; n <= 10; ++n) expected += Line(n, n >= 0 && n < 10);
    EXPECT_EQ(RunNumbering(Lines(16), Options("-5", true, true)), expected);
}

// A box changed in the middle of a run, by a timer as by any handler run from
// the run's ProcessEvents.
struct BoxChange {
    UnitId box;
    const char* text;  // for an edit box; null for a check box
    bool checked;
    bool done;
};
BoxChange change;

void CALLBACK ChangeTheBoxDuringTheRun(HWND, UINT, UINT_PTR, DWORD) {
    if (!quillet::app::ToolRunning || change.done) return;
    change.done = true;
    using namespace quillet::compiled;
    if (change.text != nullptr)
        WriteText(quillet::app::MainWindow, change.box, Property::EditContent, change.text);
    else
        WriteInt(quillet::app::MainWindow, change.box, Property::Checked, change.checked ? 1 : 0);
}

// What the numbering makes of the lines with these options.
std::string Numbered(const std::vector<std::string>& lines, const NumberingOptions& options) {
    int n = std::stoi(options.start);
    const size_t width = std::to_string(n + static_cast<int>(lines.size()) - 1).size();
    std::string result;
    for (const std::string& line : lines) {
        if (!line.empty() || !(options.zeroFill || options.skipBlank)) {
            std::string number = std::to_string(n++);
            if (options.zeroFill) number.insert(0, width - number.size(), '0');
            result += options.prefix + number + options.suffix;
        }
        result += line + "\r\n";
    }
    return result;
}

// The options are read once, when the run starts: a box the user changes
// while it runs (it stays the user's) changes nothing of it, and half the
// lines are not numbered one way and half another.
TEST_F(NumberingTest, ABoxChangedDuringARunChangesNothingOfIt) {
    const NumberingOptions plain{"(", "1", ")", false, true};
    const NumberingOptions filled{"(", "1", ")", true, true};
    const struct {
        const char* what;
        NumberingOptions before;
        BoxChange change;
    } cases[] = {
        {"prefix", filled, {Unit::PrefixBox, "第", false, false}},
        {"suffix", filled, {Unit::SuffixBox, "、", false, false}},
        {"zero fill ticked", plain, {Unit::ZeroFillBox, nullptr, true, false}},
        {"zero fill unticked", filled, {Unit::ZeroFillBox, nullptr, false, false}},
        {"blank lines numbered", plain, {Unit::SkipBlankBox, nullptr, false, false}},
        {"start number", filled, {Unit::StartNumberBox, "500", false, false}},
    };
    std::vector<std::string> lines;
    std::string text;
    for (int i = 1; i <= 12000; ++i) {
        lines.push_back(i % 3 == 2 ? "" : "x");
        text += (i > 1 ? "\r\n" : "") + lines.back();
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunNumbering("", c.before);  // sets the boxes
        SetText(Unit::MainBox, text);
        change = c.change;
        // Due before the click; a run of this many lines sees it at one of its
        // first ProcessEvents.
        const UINT_PTR timer = SetTimer(nullptr, 0, 1, ChangeTheBoxDuringTheRun);
        Sleep(30);
        Click(Unit::NumberingButton);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(change.done) << "the box changed during the run";
        EXPECT_EQ(Text(Unit::MainBox), Numbered(lines, c.before));
    }
}

TEST(PadTextTest, OneToFiveZerosAndOtherwiseTheTextBefore) {
    using quillet::app::NextPadText;
    const char* const before = "previous";
    EXPECT_STREQ(NextPadText(0, before), "");
    EXPECT_STREQ(NextPadText(1, before), "0");
    EXPECT_STREQ(NextPadText(2, before), "00");
    EXPECT_STREQ(NextPadText(3, before), "000");
    EXPECT_STREQ(NextPadText(4, before), "0000");
    EXPECT_STREQ(NextPadText(5, before), "00000");
    EXPECT_STREQ(NextPadText(5 + 5e-8, before), "00000");  // within the tolerance
    // Six and more (a number six digits shorter than the widest), or negative.
    EXPECT_EQ(NextPadText(6, before), before);
    EXPECT_EQ(NextPadText(7, before), before);
    EXPECT_EQ(NextPadText(-1, before), before);
    EXPECT_EQ(NextPadText(2.5, before), before);
    EXPECT_EQ(NextPadText(5 + 1e-6, before), before);
    // The zeros are constants of the program, which the free entry leaves alone.
    const char* zeros = NextPadText(3, before);
    const char* start = quillet::app::ConstantDataStart;
    EXPECT_TRUE(zeros >= start && zeros < start + quillet::app::ConstantDataSize);
}

}  // namespace
