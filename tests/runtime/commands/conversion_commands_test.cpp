// ToInteger and ToText over every type of their tables, dates included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/guarded_bytes.h"
#include "tests/support/heap_probe.h"

namespace quillet::compiled {
namespace {

CommandArg WordArg(uint32_t low, DataTypeCode type) { return CommandArg{low, 0, type}; }
CommandArg Wide(uint64_t bits, DataTypeCode type) {
    return CommandArg{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}
CommandArg LongArg(int64_t value) { return Wide(static_cast<uint64_t>(value), DataType::Long); }
CommandArg FloatArg(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return WordArg(bits, DataType::Float);
}
CommandArg DateArg(double days) {
    CommandArg arg = DoubleArg(days);
    arg.type = DataType::DateTime;
    return arg;
}
CommandArg BlockArg(const void* block, DataTypeCode type) { return WordArg(Word(block), type); }

int32_t Integer(const CommandArg& value) { return CallInt(commands::ToInteger, value); }
int32_t IntegerOfText(const char* text) { return Integer(TextArg(text)); }

std::string Text(const CommandArg& value) {
    OwnedText text = CallText(commands::ToText, value);
    return text.IsEmpty() ? std::string() : text.Get();
}

// OLE date of a calendar day and a time of day.
constexpr double May1st2024 = 45413.0;
double At(double day, int hour, int minute, int second) {
    return day + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

TEST(ToIntegerTest, TextIsReadAsAtoiReadsItAfterFullWidthConversion) {
    EXPECT_EQ(IntegerOfText("  12ab"), 12);
    EXPECT_EQ(IntegerOfText("abc"), 0);
    EXPECT_EQ(IntegerOfText(""), 0);
    EXPECT_EQ(IntegerOfText("１２３"), 123);
    EXPECT_EQ(IntegerOfText("－４５"), -45);
    EXPECT_EQ(IntegerOfText("＋７"), 7);
    EXPECT_EQ(IntegerOfText("　 ８"), 8) << "a full-width space is white space";
    EXPECT_EQ(IntegerOfText("\t\r\n\v\f 9"), 9);
    EXPECT_EQ(IntegerOfText("+5"), 5);
    EXPECT_EQ(IntegerOfText("- 5"), 0) << "no digit right after the sign";
    EXPECT_EQ(IntegerOfText("--5"), 0);
    EXPECT_EQ(IntegerOfText("1２3x4"), 123) << "full-width and ASCII digits mix";
    EXPECT_EQ(IntegerOfText("１２中3"), 12) << "another double-byte character ends the number";
    EXPECT_EQ(IntegerOfText("中12"), 0);
    EXPECT_EQ(IntegerOfText("12\xB0"), 12) << "a truncated character ends the text";
    EXPECT_EQ(IntegerOfText("\xA3"), 0);
    EXPECT_EQ(IntegerOfText("\xA3\xB1\xA3"), 1);
}

TEST(ToIntegerTest, NumbersBeyond32BitsWrapAround) {
    EXPECT_EQ(IntegerOfText("2147483647"), 2147483647);
    EXPECT_EQ(IntegerOfText("2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntegerOfText("4294967297"), 1);
    EXPECT_EQ(IntegerOfText("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntegerOfText("-2147483649"), 2147483647);
    EXPECT_EQ(IntegerOfText("99999999999999999999"), 1661992959) << "10^20 - 1 modulo 2^32";
}

TEST(ToIntegerTest, EveryTypeOfTheTable) {
    EXPECT_EQ(Integer(WordArg(0xFFFFFF80, DataType::Byte)), 128) << "the low byte only";
    EXPECT_EQ(Integer(WordArg(0x00018000, DataType::Short)), -32768) << "the low half, sign-extended";
    EXPECT_EQ(Integer(WordArg(0x7FFF, DataType::Short)), 32767);
    EXPECT_EQ(Integer(IntArg(-7)), -7);
    EXPECT_EQ(Integer(WordArg(5, DataType::Bool)), 5) << "the word unchanged";
    EXPECT_EQ(Integer(WordArg(0xDEADBEEF, DataType::Reference)), static_cast<int32_t>(0xDEADBEEF));
    EXPECT_EQ(Integer(LongArg(0x100000005LL)), 5) << "the low 32 bits";
    EXPECT_EQ(Integer(LongArg(-1)), -1);
    EXPECT_EQ(Integer(DoubleArg(-3.9)), -3);
    EXPECT_EQ(Integer(DoubleArg(3.9)), 3);
    EXPECT_EQ(Integer(FloatArg(-2.5f)), -2);
    EXPECT_EQ(Integer(DoubleArg(2147483647.9)), 2147483647);
    EXPECT_EQ(Integer(DoubleArg(-2147483648.9)), std::numeric_limits<int32_t>::min());
    // Outside the range a double has no 32-bit truncation: the nearest end.
    EXPECT_EQ(Integer(DoubleArg(1e20)), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Integer(DoubleArg(-1e20)), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Integer(DoubleArg(std::nan(""))), 0);
    EXPECT_EQ(Integer(FloatArg(std::numeric_limits<float>::infinity())), std::numeric_limits<int32_t>::max());
}

TEST(ToIntegerTest, OtherTypesGiveZero) {
    void* byteSet = NewByteSet("12", 2);
    EXPECT_EQ(Integer(DateArg(May1st2024)), 0);
    EXPECT_EQ(Integer(BlockArg(byteSet, DataType::ByteSet)), 0);
    EXPECT_EQ(Integer(BlockArg(byteSet, DataType::Int | DataType::ArrayFlag)), 0);
    const CommandArg windowRef{0x52010001, 0x16010001, DataType::WindowUnit};
    EXPECT_EQ(Integer(windowRef), 0);
    EXPECT_EQ(Integer(Omitted), 0);
    EXPECT_EQ(CallInt(commands::ToInteger), 0) << "no argument at all";
    FreeBlock(byteSet);
}

TEST(ToTextTest, NumbersAndTruthValues) {
    EXPECT_EQ(Text(DoubleArg(2.5)), "2.5");
    EXPECT_EQ(Text(DoubleArg(3.0)), "3");
    EXPECT_EQ(Text(DoubleArg(0.1 + 0.2)), "0.3") << "thirteen significant digits";
    EXPECT_EQ(Text(DoubleArg(1.0 / 3.0)), "0.3333333333333");
    EXPECT_EQ(Text(DoubleArg(-1e20)), "-1e+20");
    EXPECT_EQ(Text(IntArg(-7)), "-7");
    EXPECT_EQ(Text(WordArg(0x7FFFFFFF, DataType::Int)), "2147483647");
    EXPECT_EQ(Text(WordArg(255, DataType::Byte)), "255");
    EXPECT_EQ(Text(WordArg(0x1FF, DataType::Byte)), "255") << "the low byte only";
    EXPECT_EQ(Text(WordArg(0xFFFB, DataType::Short)), "-5");
    EXPECT_EQ(Text(LongArg(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(Text(LongArg(1234567890123LL)), "1234567890123");
    EXPECT_EQ(Text(FloatArg(0.1f)), "0.1") << "six significant digits of the widened float";
    EXPECT_EQ(Text(FloatArg(3.14159265f)), "3.14159");
    EXPECT_EQ(Text(FloatArg(16777216.0f)), "1.67772e+07");
    EXPECT_EQ(Text(BoolArg(true)), "真");
    EXPECT_EQ(Text(WordArg(7, DataType::Bool)), "真");
    EXPECT_EQ(Text(BoolArg(false)), "假");
}

TEST(ToTextTest, DateTimesShowTheDateAndAtMostOneTimeForm) {
    EXPECT_EQ(Text(DateArg(May1st2024)), "2024年5月1日") << "midnight: the date only";
    EXPECT_EQ(Text(DateArg(At(May1st2024, 8, 30, 0))), "2024年5月1日8时30分");
    EXPECT_EQ(Text(DateArg(At(May1st2024, 8, 0, 5))), "2024年5月1日8时0分5秒");
    EXPECT_EQ(Text(DateArg(At(May1st2024, 8, 0, 0))), "2024年5月1日8时");
    EXPECT_EQ(Text(DateArg(At(May1st2024, 0, 1, 0))), "2024年5月1日0时1分");
    EXPECT_EQ(Text(DateArg(At(May1st2024, 0, 0, 1))), "2024年5月1日0时0分1秒");
    EXPECT_EQ(Text(DateArg(At(May1st2024, 23, 59, 59))), "2024年5月1日23时59分59秒");
    EXPECT_EQ(Text(DateArg(May1st2024 + 0.99999999)), "2024年5月2日") << "rounded up to the next midnight";
}

TEST(ToTextTest, EveryTimeOfADayIsExactToTheSecond) {
    // Each stored time lies a hair above or below its second; none may show the wrong one.
    for (int second = 0; second < 86400; second += 7) {
        const int h = second / 3600, m = second / 60 % 60, s = second % 60;
        std::string expected = "2024年5月1日";
        if (s != 0)
            expected += std::to_string(h) + "时" + std::to_string(m) + "分" + std::to_string(s) + "秒";
        else if (m != 0)
            expected += std::to_string(h) + "时" + std::to_string(m) + "分";
        else if (h != 0)
            expected += std::to_string(h) + "时";
        ASSERT_EQ(Text(DateArg(At(May1st2024, h, m, s))), expected) << "second " << second;
    }
}

TEST(ToTextTest, CalendarEdgesNegativeDatesAndClamping) {
    EXPECT_EQ(Text(DateArg(0.0)), "1899年12月30日");
    EXPECT_EQ(Text(DateArg(2.0)), "1900年1月1日");
    EXPECT_EQ(Text(DateArg(60.0)), "1900年2月28日");
    EXPECT_EQ(Text(DateArg(61.0)), "1900年3月1日") << "1900 is no leap year";
    EXPECT_EQ(Text(DateArg(36585.0)), "2000年2月29日");
    EXPECT_EQ(Text(DateArg(36586.0)), "2000年3月1日");
    EXPECT_EQ(Text(DateArg(-1.0)), "1899年12月29日");
    EXPECT_EQ(Text(DateArg(-1.25)), "1899年12月29日6时") << "the fraction's size is the time of that day";
    EXPECT_EQ(Text(DateArg(-0.5)), "1899年12月30日12时");
    EXPECT_EQ(Text(DateArg(-36522.0)), "1800年1月1日");
    EXPECT_EQ(Text(DateArg(-657434.0)), "100年1月1日");
    EXPECT_EQ(Text(DateArg(-657433.75)), "100年1月2日18时");
    EXPECT_EQ(Text(DateArg(-1e9)), "100年1月1日") << "clamped to the year 100";
    EXPECT_EQ(Text(DateArg(2958465.0)), "9999年12月31日");
    EXPECT_EQ(Text(DateArg(2958465.5)), "9999年12月31日") << "clamped to its first moment";
    EXPECT_EQ(Text(DateArg(1e300)), "9999年12月31日");
    EXPECT_EQ(Text(DateArg(std::nan(""))), "1899年12月30日") << "no date at all reads as day 0";
}

TEST(ToTextTest, TextsAreCopied) {
    const char* source = "原文";
    OwnedText copy = CallText(commands::ToText, TextArg(source));
    ASSERT_NE(copy.Get(), nullptr);
    EXPECT_NE(copy.Get(), source);
    EXPECT_STREQ(copy.Get(), source);
    EXPECT_TRUE(IsHeapBlock(copy.Get()));
    EXPECT_EQ(HeapBlockSize(copy.Get()), 5u);
    EXPECT_EQ(CallText(commands::ToText, TextArg("")).Get(), nullptr) << "the empty result is null";
    EXPECT_EQ(CallText(commands::ToText, WordArg(0, DataType::Text)).Get(), nullptr);
}

TEST(ToTextTest, ByteSetsAndNumericArraysGiveTheirBytesUpToTheFirstZero) {
    void* withZero = NewByteSet("ab\0cd", 5);
    void* withoutZero = NewByteSet("abc", 3);
    void* empty = NewByteSet("", 0);
    EXPECT_EQ(Text(BlockArg(withZero, DataType::ByteSet)), "ab");
    EXPECT_EQ(Text(BlockArg(withoutZero, DataType::ByteSet)), "abc");
    EXPECT_EQ(Text(BlockArg(empty, DataType::ByteSet)), "");
    EXPECT_EQ(Text(BlockArg(nullptr, DataType::ByteSet)), "");
    EXPECT_EQ(Text(BlockArg(withoutZero, DataType::Byte | DataType::ArrayFlag)), "abc") << "a byte array alike";

    void* ints = NewArray(2, 4);
    std::memcpy(ArrayElements(ints), "abcdefgh", 8);
    EXPECT_EQ(Text(BlockArg(ints, DataType::Int | DataType::ArrayFlag)), "abcdefgh");
    EXPECT_EQ(Text(BlockArg(ints, DataType::Short | DataType::ArrayFlag)), "abcd") << "count × element size";
    EXPECT_EQ(Text(BlockArg(ints, DataType::Text | DataType::ArrayFlag)), "") << "not a numeric array";

    // Two dimensions (2, 3) of bytes: the count is the first size word only.
    int32_t twoDimensions[] = {2, 2, 3, 0x64636261, 0x6665};
    EXPECT_EQ(Text(BlockArg(twoDimensions, DataType::Byte | DataType::ArrayFlag)), "ab");
    int32_t noDimensions[] = {0, 0x41414141};
    EXPECT_EQ(Text(BlockArg(noDimensions, DataType::Byte | DataType::ArrayFlag)), "");
    int32_t negativeSize[] = {1, -4, 0x41414141};
    EXPECT_EQ(Text(BlockArg(negativeSize, DataType::Byte | DataType::ArrayFlag)), "");
    FreeBlock(withZero);
    FreeBlock(withoutZero);
    FreeBlock(empty);
    FreeBlock(ints);
}

// The first size word counts the elements, but never beyond what the block
// holds: with a later size of 0 it holds none. Each block ends at a page no
// one may read.
TEST(ToTextTest, ANumericArrayGivesNoMoreThanItsBlockHolds) {
    struct Case {
        std::vector<int32_t> header;  // dimension count, then the sizes
        std::string elements;
        DataTypeCode elementType;
        std::string expected;
    };
    const Case cases[] = {
        {{2, 4, 0}, "", DataType::Byte, ""},
        {{3, 2, 3, 0}, "", DataType::Int, ""},
        {{2, 0x7FFFFFFF, 0}, "", DataType::Double, ""},
        {{2, 3, 1}, "abc", DataType::Byte, "abc"},
        {{2, 1, 3}, "abc", DataType::Byte, "a"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(c.header.size() * 4);
        std::memcpy(bytes.data(), c.header.data(), bytes.size());
        bytes.insert(bytes.end(), c.elements.begin(), c.elements.end());
        const GuardedBytes block(bytes);
        EXPECT_EQ(Text(BlockArg(block.Data(), c.elementType | DataType::ArrayFlag)), c.expected)
            << "sizes " << c.header[1] << " and " << c.header[2];
    }
}

TEST(ToTextTest, OtherTypesGiveTheEmptyText) {
    EXPECT_EQ(CallText(commands::ToText, WordArg(0x1234, DataType::Reference)).Get(), nullptr);
    const CommandArg editRef{0x52010001, 0x16010001, 0x00010005};
    EXPECT_EQ(CallText(commands::ToText, editRef).Get(), nullptr);
    EXPECT_EQ(CallText(commands::ToText, Omitted).Get(), nullptr);
    EXPECT_EQ(CallText(commands::ToText).Get(), nullptr);
}

}  // namespace
}  // namespace quillet::compiled
