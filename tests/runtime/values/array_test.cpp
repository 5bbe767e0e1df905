// Array and byte-set blocks: counts, copy-on-write, owned elements.
#include <gtest/gtest.h>

#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

TEST(ArrayTest, ElementCountIsTheProductOfTheSizes) {
    const int32_t noDimensions[] = {0};
    const int32_t twoByThree[] = {2, 2, 3, 0, 0, 0, 0, 0, 0};
    const int32_t emptyRow[] = {2, 4, 0};
    // No elements, though the sizes before the 0 multiply past 32 bits.
    const int32_t emptyAfterWideRows[] = {3, 1 << 27, 1 << 27, 0};
    EXPECT_EQ(ArrayElementCount(nullptr), 0);
    EXPECT_EQ(ArrayElementCount(noDimensions), 0);
    EXPECT_EQ(ArrayElementCount(twoByThree), 6);
    EXPECT_EQ(ArrayElementCount(emptyRow), 0);
    EXPECT_EQ(ArrayElementCount(emptyAfterWideRows), 0);
    EXPECT_EQ(ArrayHeaderSize(twoByThree), 12);
}

TEST(ArrayTest, FreeingATextArrayFreesItsElementsAndSkipsNulls) {
    void* array = NewArray(3, ReferenceSize);
    void** elements = ArrayReferences(array);
    elements[0] = CopyText("one");
    elements[2] = CopyText("three");
    char* first = static_cast<char*>(elements[0]);
    char* third = static_cast<char*>(elements[2]);
    FreeArray(DataType::Text | DataType::ArrayFlag, array);
    EXPECT_FALSE(IsHeapBlock(first));
    EXPECT_FALSE(IsHeapBlock(third));
    EXPECT_FALSE(IsHeapBlock(array));
}

TEST(ArrayTest, FreeingANumericArrayLeavesItsWordsAlone) {
    // Element words that happen to look like references are not freed.
    char* text = CopyText("kept");
    void* array = NewArray(1, 4);
    ArrayReferences(array)[0] = text;
    FreeArray(DataType::Int, array);
    EXPECT_TRUE(IsHeapBlock(text));
    FreeBlock(text);
}

TEST(ArrayTest, MakeArrayPrivateCopiesOnlyConstantBlocks) {
    static int32_t constantArray[] = {1, 2, 10, 20};
    SetConstantDataArea(constantArray, sizeof constantArray);
    void* variable = constantArray;
    CopyConstantArrayToHeap(4, &variable);
    ASSERT_NE(variable, constantArray);
    EXPECT_EQ(HeapBlockSize(variable), 16u);
    EXPECT_EQ(static_cast<int32_t*>(variable)[3], 20);

    void* heapArray = variable;
    CopyConstantArrayToHeap(4, &variable);
    EXPECT_EQ(variable, heapArray);
    FreeBlock(variable);

    static int32_t empty[] = {0};
    variable = empty;
    SetConstantDataArea(empty, sizeof empty);
    CopyConstantArrayToHeap(4, &variable);
    EXPECT_NE(variable, empty);  // header only: 4 bytes, still copied
    FreeBlock(variable);
    ForgetConstantDataArea();
}

TEST(ArrayTest, ByteSetsShareTheOneDimensionalLayout) {
    void* bytes = NewByteSet("a\0b", 3);
    EXPECT_EQ(ArrayDimensionCount(bytes), 1);
    EXPECT_EQ(ByteSetLength(bytes), 3);
    EXPECT_EQ(ArrayElementCount(bytes), 3);
    EXPECT_EQ(ByteSetBytes(bytes)[2], 'b');
    EXPECT_EQ(HeapBlockSize(bytes), 11u);
    FreeBlock(bytes);
}

}  // namespace
}  // namespace quillet
