// Texts: the two empty forms, copies, comparison.
#include <gtest/gtest.h>

#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

TEST(TextTest, BothEmptyFormsAreEmptyEverywhere) {
    const char zero[1] = "";
    EXPECT_TRUE(IsEmptyText(nullptr));
    EXPECT_TRUE(IsEmptyText(zero));
    EXPECT_EQ(TextByteCount(nullptr), 0);
    EXPECT_EQ(TextByteCount(zero), 0);
    EXPECT_EQ(CopyText(nullptr), nullptr);
    EXPECT_EQ(CopyText(zero), nullptr);
    EXPECT_EQ(CompareTexts(nullptr, zero), 0);
    EXPECT_EQ(CompareTexts(zero, nullptr), 0);
    EXPECT_EQ(CompareTexts(nullptr, nullptr), 0);
}

TEST(TextTest, CopiesAreExactSizeHeapBlocks) {
    char* copy = CopyText("\xB1\xE0\xBC\xAD\xBF\xF2");  // 编辑框 in GBK
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(HeapBlockSize(copy), 7u);  // three GBK characters and the 0 byte
    EXPECT_STREQ(copy, "\xB1\xE0\xBC\xAD\xBF\xF2");
    FreeBlock(copy);

    char* part = CopyBytes("abcdef", 2);
    EXPECT_STREQ(part, "ab");
    EXPECT_EQ(HeapBlockSize(part), 3u);
    FreeBlock(part);
    EXPECT_EQ(CopyBytes("abc", 0), nullptr);
    EXPECT_EQ(CopyBytes("abc", -5), nullptr);
}

TEST(TextTest, ComparisonIsUnsignedBytewise) {
    EXPECT_EQ(CompareTexts(nullptr, "a"), -1);
    EXPECT_EQ(CompareTexts("a", nullptr), 1);
    EXPECT_EQ(CompareTexts("abc", "abd"), -1);
    EXPECT_EQ(CompareTexts("ab", "abc"), -1);
    EXPECT_EQ(CompareTexts("B", "a"), -1);  // no case folding
    EXPECT_EQ(CompareTexts("\xB0\xA1", "z"), 1);  // 0xB0 is above 'z', not negative
    EXPECT_EQ(CompareTexts("same", "same"), 0);
}

// The euro sign 0x80 and 0xFF are characters of one byte, as the converter reads them.
TEST(TextTest, LeadBytesAre0x81To0xFE) {
    for (const unsigned char byte : {0x7F, 0x80, 0xFF}) EXPECT_FALSE(IsLeadByte(static_cast<char>(byte))) << +byte;
    for (const unsigned char byte : {0x81, 0xA1, 0xFE}) EXPECT_TRUE(IsLeadByte(static_cast<char>(byte))) << +byte;
}

}  // namespace
}  // namespace quillet
