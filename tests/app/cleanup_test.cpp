// The first page, "去除空行", run by its button on the real window: every
// pass, their fixed order, the line model and undo.
#include <gtest/gtest.h>

#include "tests/app/tool_window.h"

namespace {

using namespace tool;

// One pass alone.
CleanupOptions Only(bool CleanupOptions::*pass) {
    CleanupOptions options{false, false, false, false, false};
    options.*pass = true;
    return options;
}

class CleanupTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
};

TEST_F(CleanupTest, DefaultOptionsRemoveSpacesAndTabsAndKeepTheLine) {
    // Two spaces, a, space, b, full-width space, c, tab.
    EXPECT_EQ(RunCleanup("  a b\xA1\xA1" "c\t", {}), "abc\r\n");
    // The passes in between: spaces removed first, the tab still there.
    EXPECT_EQ(RunCleanup("  a b\xA1\xA1" "c\t", Only(&CleanupOptions::removeSpaces)), "abc\t\r\n");
}

// The euro sign 0x80 and 0xFF are characters of one byte: never the lead of a
// pair with the byte after them, so never a half character dropped at the end.
TEST_F(CleanupTest, TheEuroSignAnd0xFFAreCharactersOfOneByte) {
    const struct {
        std::string text;
        CleanupOptions options;
        std::string expected;
    } cases[] = {
        {"x\r\n100€", {}, "x\r\n100€\r\n"},
        {"€ \xFF\t€\xA1\xA1!", {}, "€\xFF€!\r\n"},
        {"\xFF \r\n €", Only(&CleanupOptions::trim), "\xFF\r\n€\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(RunCleanup(c.text, c.options), c.expected) << c.text;
}

TEST_F(CleanupTest, BlankLinesAreThoseOfAsciiSpacesAndTabsOnly) {
    const CleanupOptions blank = Only(&CleanupOptions::removeBlankLines);
    EXPECT_EQ(RunCleanup(" \t \r\n\xA1\xA1\xA1\xA1\r\n a \r\n\r\nb", blank), "\xA1\xA1\xA1\xA1\r\n a \r\nb\r\n");
    EXPECT_EQ(RunCleanup("\r\n\r\n \r\n\t", blank), "");
}

TEST_F(CleanupTest, TrimmingStopsAtATab) {
    const CleanupOptions trim = Only(&CleanupOptions::trim);
    EXPECT_EQ(RunCleanup("\t a \r\n a \t\r\n\xA1\xA1 x y \xA1\xA1", trim), "\t a\r\na \t\r\nx y\r\n");
}

TEST_F(CleanupTest, JoiningMakesParagraphsAndCountsEmptyLines) {
    const CleanupOptions join = Only(&CleanupOptions::joinLines);
    EXPECT_EQ(RunCleanup("a\r\nb\r\n\r\nc\r\nd", join), "ab\r\n\r\ncd\r\n");
    // k empty lines between paragraphs or at the end become 2k - 1, at the start 2k.
    EXPECT_EQ(RunCleanup("a\r\n\r\n\r\nb", join), "a\r\n\r\n\r\n\r\nb\r\n");
    EXPECT_EQ(RunCleanup("\r\n\r\na\r\nb", join), "\r\n\r\n\r\n\r\nab\r\n");
    EXPECT_EQ(RunCleanup("a\r\n\r\n", join), "a\r\n\r\n");
    // A line of spaces is not empty: it is joined like any other.
    EXPECT_EQ(RunCleanup("a\r\n \r\nb", join), "a b\r\n");
}

TEST_F(CleanupTest, RemovingBlankLinesBeforeJoiningGivesOneLine) {
    CleanupOptions both = Only(&CleanupOptions::removeBlankLines);
    both.joinLines = true;
    EXPECT_EQ(RunCleanup("a\r\n\r\nb \r\n \t\r\n\r\nc", both), "ab c\r\n");
}

TEST_F(CleanupTest, ThePassesRunInTheirFixedOrder) {
    // Trimming before tab removal: " \tx\t " loses only its outer spaces, then
    // its tabs; the other way round it would lose everything but x.
    CleanupOptions trimAndTabs = Only(&CleanupOptions::trim);
    trimAndTabs.removeTabs = true;
    EXPECT_EQ(RunCleanup(" \t x \t ", trimAndTabs), " x \r\n");
    // Tab removal before blank-line removal: a line of tabs is gone either way,
    // but full-width spaces survive both.
    CleanupOptions everything{true, true, true, true, true};
    EXPECT_EQ(RunCleanup(" a \r\n\t\r\n\r\n b\tc \r\n\xA1\xA1", everything), "abc\r\n");
}

TEST_F(CleanupTest, OnlyCrLfSeparatesLinesAndNoEmptyLastLineIsAdded) {
    const CleanupOptions spaces = Only(&CleanupOptions::removeSpaces);
    EXPECT_EQ(RunCleanup("a\rb\nc\r\n\r\n", spaces), "a\rb\nc\r\n\r\n");
    EXPECT_EQ(RunCleanup("a\r\nb", spaces), "a\r\nb\r\n");  // a CR LF after the last line
    EXPECT_EQ(RunCleanup("\r\na", spaces), "\r\na\r\n");    // an empty first line stays
    EXPECT_EQ(RunCleanup("", spaces), "");
    EXPECT_EQ(RunCleanup("", {true, true, true, true, true}), "");
}

TEST_F(CleanupTest, WithNoBoxTickedNothingChangesAndUndoRestoresTheSame) {
    const std::string text = "  a\r\n\r\nb\t";
    EXPECT_EQ(RunCleanup(text, {false, false, false, false, false}), text);
    SetText(Unit::MainBox, "something else");
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), text);
}

}  // namespace
