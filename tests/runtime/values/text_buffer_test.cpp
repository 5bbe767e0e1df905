// TextBuffer growth: 128 bytes of slack, shrinking only past 256 idle bytes.
#include <gtest/gtest.h>

#include <string>

#include "runtime/values/runtime_heap.h"
#include "runtime/values/text_buffer.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

TEST(TextBufferTest, GrowsWithSlackAndRarely) {
    TextBuffer buffer;
    EXPECT_EQ(buffer.ToText(), nullptr);
    buffer.AppendByte('a');
    EXPECT_EQ(buffer.capacity, 1 + 128);
    const char* storage = buffer.data;
    for (int i = 1; i < 129; ++i) buffer.AppendByte('a');
    EXPECT_EQ(buffer.length, 129);
    EXPECT_EQ(buffer.data, storage);      // 129 bytes fit without moving
    buffer.AppendByte('b');
    EXPECT_EQ(buffer.capacity, 130 + 128);
    EXPECT_EQ(buffer.length, 130);
}

TEST(TextBufferTest, ReserveKeepsOrShrinksByTheIdleRule) {
    TextBuffer buffer;
    ASSERT_TRUE(buffer.Reserve(1000));
    EXPECT_EQ(buffer.capacity, 1128);
    ASSERT_TRUE(buffer.Reserve(872));   // exactly 256 idle: kept
    EXPECT_EQ(buffer.capacity, 1128);
    ASSERT_TRUE(buffer.Reserve(871));   // 257 idle: shrunk
    EXPECT_EQ(buffer.capacity, 999);
    buffer.Release();
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_EQ(buffer.capacity, 0);
}

TEST(TextBufferTest, PairsReferencesAndRunsAppendInOrder) {
    TextBuffer buffer;
    buffer.AppendPair('\xB0', '\xA1');
    buffer.Append("xy", 2);
    buffer.Append("ignored", 0);
    char* text = buffer.ToText();
    EXPECT_STREQ(text, "\xB0\xA1xy");
    EXPECT_EQ(HeapBlockSize(text), 5u);
    FreeBlock(text);

    TextBuffer references;
    references.AppendReference(&buffer);
    ASSERT_EQ(references.length, 4);
    EXPECT_EQ(*reinterpret_cast<TextBuffer**>(references.data), &buffer);
}

TEST(TextBufferTest, ResultEndsAtAZeroByte) {
    TextBuffer buffer;
    buffer.Append("ab\0cd", 5);
    char* text = buffer.ToText();
    EXPECT_STREQ(text, "ab");
    FreeBlock(text);
    TextBuffer zeroFirst;
    zeroFirst.AppendByte('\0');
    EXPECT_EQ(zeroFirst.ToText(), nullptr);
}

}  // namespace
}  // namespace quillet
