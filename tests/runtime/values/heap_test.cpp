// The runtime heap and the constant data area rule.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/values/runtime_heap.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

// Stands in for the program's constant data: a literal, a text array, an empty text.
struct ConstantData {
    char literal[8] = "abcdef";
    int32_t textArray[4] = {1, 2, 0, 0};
    char empty[1] = "";
};
ConstantData constants;

class ConstantAreaTest : public testing::Test {
protected:
    void SetUp() override { SetConstantDataArea(&constants, sizeof constants); }
    void TearDown() override { ForgetConstantDataArea(); }
};

TEST_F(ConstantAreaTest, FreeingAConstantLeavesItIntact) {
    FreeBlock(constants.literal);
    FreeBlock(constants.empty);
    FreeBlock(nullptr);
    EXPECT_STREQ(constants.literal, "abcdef");
    EXPECT_FALSE(IsHeapBlock(constants.literal));
}

TEST_F(ConstantAreaTest, ReallocatingAConstantCopiesItOut) {
    char* copy = static_cast<char*>(ReallocateBlock(constants.literal, 2));
    ASSERT_NE(copy, constants.literal);
    EXPECT_TRUE(IsHeapBlock(copy));
    EXPECT_EQ(HeapBlockSize(copy), 2u);
    EXPECT_EQ(std::memcmp(copy, "ab", 2), 0);
    EXPECT_STREQ(constants.literal, "abcdef");
    FreeBlock(copy);
}

TEST_F(ConstantAreaTest, ReallocationCopiesNoFurtherThanTheEndOfTheArea) {
    // The empty text is the area's last byte: a 64-byte copy takes only that byte.
    char* copy = static_cast<char*>(ReallocateBlock(constants.empty, 64));
    EXPECT_EQ(HeapBlockSize(copy), 64u);
    EXPECT_EQ(copy[0], '\0');
    FreeBlock(copy);
}

TEST_F(ConstantAreaTest, BoundsAreHalfOpen) {
    EXPECT_TRUE(IsConstantData(&constants));
    EXPECT_TRUE(IsConstantData(reinterpret_cast<char*>(&constants) + sizeof constants - 1));
    EXPECT_FALSE(IsConstantData(reinterpret_cast<char*>(&constants) + sizeof constants));
    EXPECT_FALSE(IsConstantData(nullptr));
    ForgetConstantDataArea();
    EXPECT_FALSE(IsConstantData(&constants));
}

TEST(RuntimeHeapTest, ReallocateNullAllocatesAndHeapBlocksResize) {
    char* block = static_cast<char*>(ReallocateBlock(nullptr, 3));
    std::memcpy(block, "xyz", 3);
    block = static_cast<char*>(ReallocateBlock(block, 100));
    EXPECT_EQ(HeapBlockSize(block), 100u);
    EXPECT_EQ(std::memcmp(block, "xyz", 3), 0);
    FreeBlock(block);
    EXPECT_FALSE(IsHeapBlock(block));
}

TEST(RuntimeHeapTest, TryAllocateMayFailWithoutReport) {
    EXPECT_EQ(TryAllocateBlock(0x7FFFFFF0), nullptr);
    EXPECT_EQ(TryAllocateBlock(-1), nullptr);
}

}  // namespace
}  // namespace quillet
