// The text commands at their edges: clamping, empty and missing arguments,
// double-byte characters, matches that would begin on a trail byte, and a lead
// byte directly followed by the ending 0 byte.
#include <gtest/gtest.h>

#include <string>

#include "runtime/services/compiled_code.h"
#include "tests/runtime/commands/text_command_calls.h"

namespace quillet::text_test {
namespace {

// Two GBK characters: 中 (D6 D0) and 文 (CE C4); the full-width space A1 A1.
const std::string Zhong = "\xD6\xD0";
const std::string Wen = "\xCE\xC4";
const std::string Wide = "\xA1\xA1";
const std::string Half = "\xB0";   // a lead byte: at the end of a text, a truncated character

TEST(TextLengthTest, CountsBytes) {
    EXPECT_EQ(CallInt(commands::TextLength, {T("abc")}), 3);
    EXPECT_EQ(CallInt(commands::TextLength, {T("")}), 0);
    EXPECT_EQ(CallInt(commands::TextLength, {T(Zhong + Wen)}), 4);
    EXPECT_EQ(CallInt(commands::TextLength, {T("ab" + Half)}), 3);
    EXPECT_EQ(CallInt(commands::TextLength, {}), 0);
    EXPECT_EQ(CallInt(commands::TextLength, {Rec(0x1234, 0, DataType::Int)}), 0) << "not a text: the empty text";
}

TEST(LeftRightTextTest, ClampTheCount) {
    EXPECT_EQ(CallText(commands::LeftText, {T("abc"), I(0)}), "");
    EXPECT_EQ(CallText(commands::LeftText, {T("abc"), I(-5)}), "");
    EXPECT_EQ(CallText(commands::LeftText, {T("abc"), I(2)}), "ab");
    EXPECT_EQ(CallText(commands::LeftText, {T("abc"), I(10)}), "abc");
    EXPECT_EQ(CallText(commands::LeftText, {T(""), I(3)}), "");
    EXPECT_EQ(CallText(commands::LeftText, {T("abc")}), "") << "a missing count is 0";

    EXPECT_EQ(CallText(commands::RightText, {T("abc"), I(10)}), "abc");
    EXPECT_EQ(CallText(commands::RightText, {T("abc"), I(1)}), "c");
    EXPECT_EQ(CallText(commands::RightText, {T("abc"), I(0)}), "");
    EXPECT_EQ(CallText(commands::RightText, {T("abc"), I(-1)}), "");
    EXPECT_EQ(CallText(commands::RightText, {T(""), I(2)}), "");
}

TEST(LeftRightTextTest, CountBytesAndCutCharacters) {
    EXPECT_EQ(CallText(commands::LeftText, {T(Zhong + Wen), I(3)}), Zhong + "\xCE");
    EXPECT_EQ(CallText(commands::RightText, {T(Zhong + Wen), I(3)}), "\xD0" + Wen);
    EXPECT_EQ(CallText(commands::LeftText, {T("ab" + Half), I(3)}), "ab" + Half);
    EXPECT_EQ(CallText(commands::RightText, {T("ab" + Half), I(1)}), Half);
}

TEST(LeftRightTextTest, TakeTheCountFromOtherNumericTypes) {
    EXPECT_EQ(CallText(commands::LeftText, {T("abcdef"), Rec(0x302, 0, DataType::Byte)}), "ab");
    EXPECT_EQ(CallText(commands::LeftText, {T("abcdef"), Rec(0xFFFF, 0, DataType::Short)}), "") << "short -1";
    const CommandArg three = compiled::DoubleArg(3.7);
    EXPECT_EQ(CallText(commands::RightText, {T("abcdef"), Rec(three.low, three.high, DataType::Double)}), "def");
    EXPECT_EQ(CallText(commands::LeftText, {T("abcdef"), Rec(4, 1, DataType::Long)}), "abcdef") << "2^32+4 clamps high";
}

TEST(CharFromCodeTest, TakesTheLowByte) {
    EXPECT_EQ(CallText(commands::CharFromCode, {I('A')}), "A");
    EXPECT_EQ(CallText(commands::CharFromCode, {I(0x141)}), "A");
    EXPECT_EQ(CallText(commands::CharFromCode, {I(0)}), "");
    EXPECT_EQ(CallText(commands::CharFromCode, {I(0x100)}), "");
    EXPECT_EQ(CallText(commands::CharFromCode, {I(0xB0)}), Half) << "a lone lead byte is still one byte";
    EXPECT_EQ(CallText(commands::CharFromCode, {Rec(0x41, 0, DataType::Byte)}), "A");
    EXPECT_EQ(CallText(commands::CharFromCode, {Omit}), "");
    EXPECT_EQ(CallText(commands::CharFromCode, {}), "");
}

TEST(FindTextTest, EmptySearchAndStartPositions) {
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T("")}), 1);
    EXPECT_EQ(CallInt(commands::FindText, {T(""), T("")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T(""), I(3)}), 1) << "the start does not move the 1";
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T(""), I(4)}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T("c"), I(9)}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T("c"), I(3)}), 3);
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), T("c"), I(4)}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("abcb"), T("b"), I(3)}), 4);
    EXPECT_EQ(CallInt(commands::FindText, {T("abcb"), T("b"), I(0)}), 2);
    EXPECT_EQ(CallInt(commands::FindText, {T("abcb"), T("b"), I(-2147483647 - 1)}), 2) << "no overflow below 1";
    EXPECT_EQ(CallInt(commands::FindText, {T("ab"), T("abc")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T(""), T("a")}), -1);
}

TEST(FindTextTest, IgnoresCaseOfAsciiLettersOnlyWhenAsked) {
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("a")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("a"), Omit, B(true)}), 1);
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("a"), Omit, B(false)}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("xAbC"), T("aBc"), I(1), B(true)}), 2);
    EXPECT_EQ(CallInt(commands::FindText, {T("[@]"), T("`"), Omit, B(true)}), -1) << "@ and ` are not letters";
    // A left-out flag is known by its type word, whatever its value word holds.
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("a"), Omit, Rec(1, 0, 0)}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("b"), Rec(7, 0, 0), Omit}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("ABC"), T("B"), Rec(7, 0, 0), Omit}), 2) << "left-out start is 0";
}

TEST(FindTextTest, NeverMatchesFromATrailByte) {
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0\xA1"), T("\xA1")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0\xA1"
                                             "b"),
                                           T("\xA1"
                                             "b")}),
              -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0\xA1\xA1\xB0"), T("\xA1\xA1")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("a\xA1\xA1\xB0\xA1"), T("\xA1\xA1")}), 2);
    // A trail byte in the letter range is not folded into a match either.
    EXPECT_EQ(CallInt(commands::FindText, {T("\x81"
                                             "A"),
                                           T("a"), Omit, B(true)}),
              -1);
    // A start that points into a character is taken at its word.
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0\xA1"
                                             "b"),
                                           T("\xA1"), I(2)}),
              2);
    // A repeated pattern whose first occurrence sits on a trail byte: the next one counts.
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0\xB0\xB0\xB0\xB0"), T("\xB0\xB0")}), 1);
    EXPECT_EQ(CallInt(commands::FindText, {T("a\xB0\xB0\xB0\xB0\xB0"), T("\xB0\xB0\xB0")}), 2);
    EXPECT_EQ(CallInt(commands::FindText, {T("\xB0"
                                             "a"
                                             "\xC1\xB0\xB0\xB0"),
                                           T("\xB0\xB0")}),
              5);
}

TEST(FindTextTest, LoneLeadByteAtTheEnd) {
    EXPECT_EQ(CallInt(commands::FindText, {T("ab" + Half), T(Half)}), 3);
    EXPECT_EQ(CallInt(commands::FindText, {T("ab" + Half), T("b" + Half)}), 2);
    EXPECT_EQ(CallInt(commands::FindText, {T("ab" + Half), T("x")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T(Zhong + Half), T(Half)}), 3);
    EXPECT_EQ(CallInt(commands::FindText, {T("\xD6" + Half), T(Half)}), -1) << "D6 B0 is one character";
}

TEST(FindTextTest, LongSelfOverlappingPatterns) {
    const std::string many(5000, 'a');
    EXPECT_EQ(CallInt(commands::FindText, {T(many), T(many.substr(0, 1000) + "b")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T(many + "b"), T(many.substr(0, 1000) + "b")}), 4001);
    // A whole run of lead bytes: only character-aligned starts count.
    const std::string leads(4001, '\xB0');
    EXPECT_EQ(CallInt(commands::FindText, {T("x" + leads + "y"), T(leads.substr(0, 1000) + "y")}), -1);
    EXPECT_EQ(CallInt(commands::FindText, {T("x" + leads + "y"), T(leads.substr(0, 999) + "y")}), 3004);
}

// ReplaceSubtext(text, search, replacement, start, count, case-sensitive flag).
TEST(ReplaceSubtextTest, StartCountAndDefaults) {
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), T(""), I(3), I(1), B(true)}), "a,bc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), T(""), Omit, Omit, B(true)}), "abc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), Omit, Omit, Omit, B(true)}), "abc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), T(";"), I(-3), I(-7), B(true)}), "a;b;c");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), T(";"), I(0), I(2), B(true)}), "a;b;c");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b,c"), T(","), T(";"), I(1), I(1), B(true)}), "a;b,c");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abcabc"), T("abc"), T("x"), I(2), Omit, B(true)}), "abcx");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("aaa"), T("a"), T("bb"), Omit, Omit, B(true)}), "bbbbbb");
}

TEST(ReplaceSubtextTest, MatchesDoNotOverlapNorRescanTheReplacement) {
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("aaaa"), T("aa"), T("a"), Omit, Omit, B(true)}), "aa");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("aaa"), T("aa"), T("b"), Omit, Omit, B(true)}), "ba");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("aa"), T("a"), T("aa"), Omit, Omit, B(true)}), "aaaa");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abab"), T("ab"), T("b"), Omit, Omit, B(true)}), "bb");
}

TEST(ReplaceSubtextTest, UnchangedCopies) {
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abc"), T(""), T("x"), Omit, Omit, B(true)}), "abc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abc"), T("b"), T("x"), I(4), Omit, B(true)}), "abc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abc"), T("b"), T("x"), Omit, I(0), B(true)}), "abc");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T(""), T("b"), T("x"), Omit, Omit, B(true)}), "");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a"), T("a"), T(""), Omit, Omit, B(true)}), "");
}

TEST(ReplaceSubtextTest, TheFlagIsReadEvenWithoutItsTypeWord) {
    // Case-sensitive only with a non-zero value word; a left-out flag folds letters.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ABC"), T("b"), T("x"), Omit, Omit, B(true)}), "ABC");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ABC"), T("b"), T("x"), Omit, Omit, B(false)}), "AxC");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ABC"), T("b"), T("x"), Omit, Omit, Omit}), "AxC");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ABC"), T("b"), T("x")}), "AxC") << "no sixth record at all";
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ABC"), T("b"), T("x"), Omit, Omit, Rec(1, 0, 0)}), "ABC");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("aBcAbC"), T("abc"), T("-"), Omit, Omit, Omit}), "--");
}

TEST(ReplaceSubtextTest, CharacterBoundaries) {
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("\xB0\xA1"), T("\xA1"), T("x"), Omit, Omit, B(true)}), "\xB0\xA1");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("\xB0\xA1\xA1\xA1"), T(Wide), T(" "), Omit, Omit, B(true)}),
              "\xB0\xA1 ");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T(Zhong + Wen + Zhong), T(Zhong), T("z"), Omit, Omit, B(true)}),
              "z" + Wen + "z");
    // The first start-1 bytes are copied as they are, even half a character; the scan
    // then takes the byte at the start as the beginning of a character.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("\xB0\xA1\xB0\xA1"), T("\xA1\xB0"), T("x"), I(2), Omit, B(true)}),
              "\xB0x\xA1");
}

TEST(ReplaceSubtextTest, LoneLeadByteAtTheEnd) {
    // A one-byte search still reaches the last byte: the half character is dropped.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ab" + Half), T("x"), T("y"), Omit, Omit, B(true)}), "ab");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ab" + Half), T("b"), T("y"), Omit, Omit, B(true)}), "ay");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ab" + Half), T(Half), T("c"), Omit, Omit, B(true)}), "abc");
    // Longer searches end the scan before it: the byte stays.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("ab" + Half), T("xy"), T("z"), Omit, Omit, B(true)}), "ab" + Half);
    // When the count is used up the rest is copied as it is.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("a,b" + Half), T(","), T(""), Omit, I(1), B(true)}), "ab" + Half);
    // A lead byte at the end that is the trail of a character is not a half character.
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T(Zhong + "\xB0\xB0"), T("x"), T("y"), Omit, Omit, B(true)}),
              Zhong + "\xB0\xB0");
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T(Half), T("x"), T("y"), Omit, Omit, B(true)}), "");
}

// SplitText(text, delimiter, maximum).
TEST(SplitTextTest, DelimitersAtTheEdgesAndSideBySide) {
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,")}), (Pieces{"a", "b"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T(",a")}), (Pieces{"", "a"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,,b")}), (Pieces{"a", "", "b"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T(",")}), (Pieces{""}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T(",,")}), (Pieces{"", ""}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("")}), (Pieces{}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("abc")}), (Pieces{"abc"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b"), Omit}), (Pieces{"a", "b"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b"), T("")}), (Pieces{"a,b"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("l1\r\nl2\r\n\r\nl4\r\n"), T("\r\n")}),
              (Pieces{"l1", "l2", "", "l4"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("\r\n\r\n"), T("\r\n")}), (Pieces{"", ""}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("aXb"), T("x")}), (Pieces{"aXb"})) << "no case folding";
}

TEST(SplitTextTest, TheMaximumDropsTheRest) {
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(2)}), (Pieces{"a", "b"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(1)}), (Pieces{"a"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(3)}), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(9)}), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(0)}), (Pieces{}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a,b,c"), T(","), I(-4)}), (Pieces{}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("abc"), T(""), I(0)}), (Pieces{}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("abc"), T(","), I(1)}), (Pieces{"abc"}));
}

TEST(SplitTextTest, CharacterBoundariesAndHalfCharacters) {
    // The A1 inside B0 A1 is a trail byte; the A1 leading A1 63 begins a character.
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("\xB0\xA1"
                                                    "b\xA1"
                                                    "c"),
                                                  T("\xA1")}),
              (Pieces{"\xB0\xA1"
                      "b",
                      "c"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T(Zhong + "," + Wen), T(",")}), (Pieces{Zhong, Wen}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a," + Half)}), (Pieces{"a", Half}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T("a" + Half), T(Half)}), (Pieces{"a"}));
    EXPECT_EQ(CallTextArray(commands::SplitText, {T(Half)}), (Pieces{Half}));
}

TEST(TrimBothEndsTest, AsciiAndFullWidthSpacesOnBothSides) {
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("  " + Wide + " a " + Wide + "b" + Wide + " " + Wide)}),
              "a " + Wide + "b");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("\t a ")}), "\t a") << "a leading tab stops the trim";
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(" a\t ")}), "a\t") << "a trailing tab stops it too";
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(" \r\n")}), "\r\n");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("  " + Wide)}), "");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("")}), "");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("abc")}), "abc");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(Zhong + " ")}), Zhong);
}

TEST(TrimBothEndsTest, SpacesAreWholeCharacters) {
    // x, C4 A1, A1 A1: the last pair is a full-width space.
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("x\xC4\xA1\xA1\xA1")}), "x\xC4\xA1");
    // x, C4 A1, A1 20: the 20 is a trail byte, not a space.
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("x\xC4\xA1\xA1 ")}), "x\xC4\xA1\xA1 ");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("\xA1"
                                                  "a")}),
              "\xA1"
              "a");
}

TEST(TrimBothEndsTest, LoneLeadByteAtTheEnd) {
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("ab  " + Half)}), "ab  ") << "cut before it; spaces before it stay";
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(" a" + Half)}), "a");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(" " + Half)}), "");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T("\xA1")}), "");
    EXPECT_EQ(CallText(commands::TrimBothEnds, {T(Zhong + "\xB0\xB0 ")}), Zhong + "\xB0\xB0");
}

TEST(RemoveAllSpacesTest, RemovesAsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("a b" + Wide + "c")}), "abc");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T(" \t" + Wide + "\r\n ")}), "\t\r\n");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("  " + Wide)}), "");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("")}), "");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T(Zhong + " " + Wen)}), Zhong + Wen);
    // A1 A1 across two characters is no space.
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("\xB0\xA1\xA1\xB0")}), "\xB0\xA1\xA1\xB0");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("\xA1 a")}), "\xA1 a") << "A1 20 is one character";
}

TEST(RemoveAllSpacesTest, LoneLeadByteAtTheEndIsDropped) {
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T("a b" + Half)}), "ab");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T(" " + Half)}), "");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {T(Zhong + "\xB0\xB0")}), Zhong + "\xB0\xB0");
}

TEST(TextCommandsTest, ArgumentsThatAreNotTextsReadAsEmpty) {
    EXPECT_EQ(CallText(commands::RightText, {Rec(0x1000, 0, DataType::Int), I(3)}), "");
    EXPECT_EQ(CallInt(commands::FindText, {T("abc"), Rec(0x1000, 0, DataType::Int)}), 1);
    EXPECT_EQ(CallText(commands::ReplaceSubtext, {T("abc"), T("b"), Rec(0x1000, 0, 0), Omit, Omit, B(true)}), "ac");
    EXPECT_EQ(CallTextArray(commands::SplitText, {Omit, T(",")}), (Pieces{}));
    EXPECT_EQ(CallText(commands::TrimBothEnds, {}), "");
    EXPECT_EQ(CallText(commands::RemoveAllSpaces, {Omit}), "");
}

TEST(TextCommandsTest, CompiledCodeCallsWithConstantTexts) {
    namespace cc = quillet::compiled;
    // Literals stand for texts in the constant data area; results are owned by the caller.
    cc::OwnedText trimmed = cc::CallText(commands::TrimBothEnds, cc::TextArg("  行 "));
    EXPECT_STREQ(trimmed.Get(), "行");
    EXPECT_TRUE(cc::CallText(commands::LeftText, cc::TextArg(nullptr), cc::IntArg(4)).IsEmpty());
    EXPECT_EQ(cc::CallInt(commands::FindText, cc::TextArg("第一行"), cc::TextArg("一"), cc::Omitted, cc::Omitted), 3);
    cc::OwnedArray lines =
        cc::CallTextArray(commands::SplitText, cc::TextArg("1\r\n2"), cc::TextArg("\r\n"), cc::Omitted);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_STREQ(cc::TextAt(lines, 2, {0x04000001, 1}), "2");
}

}  // namespace
}  // namespace quillet::text_test
