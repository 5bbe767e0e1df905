// What compiled code does through the slots: owned temporaries, concatenation,
// element deletion.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/services/compiled_code.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/support/fatal_guard.h"
#include "tests/support/heap_probe.h"

namespace quillet::compiled {
namespace {

// A command that returns a new copy of its first argument.
void EchoCommand(CommandArg* result, int32_t, CommandArg* args) {
    result->low = Word(CopyText(AsReference<const char>(args[0])));
}

// A text array of the given texts (null for a null element).
OwnedArray TextArray(std::initializer_list<const char*> texts) {
    void* block = NewArray(static_cast<int32_t>(texts.size()), ReferenceSize);
    void** elements = ArrayReferences(block);
    for (const char* text : texts) *elements++ = CopyText(text);
    return OwnedArray(block, true);
}

TEST(CompiledCodeTest, TemporaryTextsAreFreedWhenTheStatementEnds) {
    char* seen = nullptr;
    // The temporary lives to the end of the full expression, then is freed.
    EXPECT_TRUE(IsHeapBlock(seen = CallText(EchoCommand, TextArg("abc")).Release()));
    FreeBlock(seen);

    const char* inside = nullptr;
    {
        OwnedText text = CallText(EchoCommand, TextArg("abc"));
        inside = text.Get();
        EXPECT_TRUE(IsHeapBlock(inside));
    }
    EXPECT_FALSE(IsHeapBlock(inside));
}

TEST(CompiledCodeTest, NullTextArgumentsBecomeTheEmptyText) {
    const CommandArg arg = TextArg(nullptr);
    EXPECT_EQ(arg.type, DataType::Text);
    const char* text = AsReference<const char>(arg);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text[0], '\0');
    EXPECT_TRUE(CallText(EchoCommand, TextArg(nullptr)).IsEmpty());
}

TEST(CompiledCodeTest, ConcatenatingEmptiesGivesAFreshOneByteBlock) {
    OwnedText empty = Concatenate({nullptr, ""});
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(HeapBlockSize(empty.Get()), 1u);
    EXPECT_EQ(empty.Get()[0], '\0');

    OwnedText joined = Concatenate({"行", nullptr, "1", "\r\n"});
    EXPECT_STREQ(joined.Get(), "\xD0\xD0" "1\r\n");
    EXPECT_EQ(HeapBlockSize(joined.Get()), 6u);
}

TEST(CompiledCodeTest, DeletingTheMiddleElementFreesItAndShrinksTheBlock) {
    OwnedArray lines = TextArray({"one", "two", "three"});
    void* second = ArrayReferences(lines.Get())[1];
    EXPECT_EQ(DeleteElements(lines, 2, 1), 1);
    EXPECT_FALSE(IsHeapBlock(second));
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_STREQ(TextAt(lines, 1, {0x04000001, 1}), "one");
    EXPECT_STREQ(TextAt(lines, 2, {0x04000001, 1}), "three");
    // The block is closed up and shrunk once anything reads its elements as
    // they lie (array_gap.h).
    EXPECT_STREQ(static_cast<const char*>(ArrayReferences(lines.Get())[1]), "three");
    EXPECT_EQ(HeapBlockSize(lines.Get()), 8u + 2 * 4);
}

TEST(CompiledCodeTest, DeletingOutsideTheArrayChangesNothing) {
    OwnedArray lines = TextArray({"one", "two", "three"});
    void* before = lines.Get();
    for (const int32_t position : {0, -1, 4, INT32_MIN, INT32_MAX})
        EXPECT_EQ(DeleteElements(lines, position, 1), 0) << "position " << position;
    EXPECT_EQ(DeleteElements(lines, 2, 0), 0);
    EXPECT_EQ(DeleteElements(lines, 2, INT32_MIN), 0);
    EXPECT_EQ(lines.Get(), before);
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(HeapBlockSize(lines.Get()), 8u + 3 * 4);
}

TEST(CompiledCodeTest, ASubscriptFarBelowOneIsErrorFour) {
    OwnedArray lines = TextArray({"one"});
    for (const int32_t subscript : {0, INT32_MIN}) {
        const auto report = CatchFatalReport([&] { ElementAt(lines.Get(), subscript, {0x04000001, 1}); });
        ASSERT_TRUE(report.has_value()) << "subscript " << subscript;
        EXPECT_EQ(report->number, 4) << "subscript " << subscript;
    }
}

TEST(CompiledCodeTest, DeletionPastTheEndIsCutAndNullElementsAreSkipped) {
    OwnedArray lines = TextArray({"a", nullptr, "c"});
    EXPECT_EQ(DeleteElements(lines, 2, 10), 2);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_STREQ(TextAt(lines, 1, {0x04000001, 1}), "a");
}

TEST(CompiledCodeTest, DeletingFromAMultiDimensionalArrayFlattensIt) {
    // 2 × 2 texts: the header is rewritten as one dimension of 3.
    void* block = AllocateBlock(12 + 4 * 4);
    auto* words = static_cast<int32_t*>(block);
    words[0] = 2;
    words[1] = 2;
    words[2] = 2;
    const char* texts[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) reinterpret_cast<char**>(words + 3)[i] = CopyText(texts[i]);
    OwnedArray grid(block, true);
    EXPECT_EQ(DeleteElements(grid, 1, 1), 1);
    ASSERT_EQ(ArrayDimensionCount(grid.Get()), 1);
    ASSERT_EQ(grid.Count(), 3);
    EXPECT_STREQ(TextAt(grid, 1, {0x04000001, 1}), "b");
    EXPECT_STREQ(TextAt(grid, 3, {0x04000001, 1}), "d");
}

TEST(CompiledCodeTest, DeletingFromAConstantArrayCopiesItFirst) {
    static struct {
        int32_t header[2] = {1, 2};
        const char* elements[2] = {nullptr, nullptr};
    } constantArray;
    SetConstantDataArea(&constantArray, sizeof constantArray);
    OwnedArray array(&constantArray, false);
    EXPECT_EQ(DeleteElements(array, 1, 1), 1);
    EXPECT_NE(array.Get(), static_cast<void*>(&constantArray));
    EXPECT_EQ(constantArray.header[1], 2) << "the constant keeps its two elements";
    EXPECT_EQ(array.Count(), 1);
    array.Reset();
    ForgetConstantDataArea();
}

}  // namespace
}  // namespace quillet::compiled
