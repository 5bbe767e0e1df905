// Deleted places kept as a gap in an array's block: deletions anywhere and in
// any order give the elements the literal deletion gives, through the gap and
// once it is closed; whatever reads, resizes or frees the block closes it or
// forgets it; only one array has a gap at a time.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/services/compiled_code.h"
#include "runtime/values/array_block.h"
#include "runtime/values/array_gap.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

using namespace compiled;

OwnedArray NumberedTexts(int count) {
    void* block = NewArray(count, 4);
    for (int i = 0; i < count; ++i) ArrayReferences(block)[i] = CopyText(std::to_string(i).c_str());
    return OwnedArray(block, true);
}

// The elements as compiled code reads them: through ElementAt, gap and all.
std::vector<std::string> Seen(const OwnedArray& array) {
    std::vector<std::string> seen;
    for (int32_t i = 1; i <= array.Count(); ++i) seen.push_back(TextAt(array, i, {0x04000001, 1}));
    return seen;
}

// The elements as they lie in the block, read by code that knows nothing of gaps.
std::vector<std::string> Packed(void* block) {
    std::vector<std::string> packed;
    void** elements = ArrayReferences(block);
    for (int32_t i = 0; i < ArrayElementCount(block); ++i) packed.push_back(static_cast<const char*>(elements[i]));
    return packed;
}

TEST(ArrayGapTest, RandomDeletionsMatchTheLiteralDeletion) {
    std::mt19937 random(5);
    for (int round = 0; round < 50; ++round) {
        const int count = 1 + static_cast<int>(random() % 200);
        OwnedArray array = NumberedTexts(count);
        std::vector<std::string> model;
        for (int i = 0; i < count; ++i) model.push_back(std::to_string(i));
        void* const block = array.Get();
        for (int step = 0; step < 60 && !model.empty(); ++step) {
            // Mostly forwards, as a loop over lines goes; sometimes anywhere, sometimes past the end.
            const int32_t position = 1 + static_cast<int32_t>(random() % (model.size() + 2));
            const int32_t wanted = 1 + static_cast<int32_t>(random() % 3);
            const int32_t deleted = DeleteElements(array, position, wanted);
            const int32_t expected = position > static_cast<int32_t>(model.size())
                                         ? 0
                                         : std::min<int32_t>(wanted, static_cast<int32_t>(model.size()) - position + 1);
            ASSERT_EQ(deleted, expected);
            model.erase(model.begin() + (position - 1), model.begin() + (position - 1 + deleted));
            ASSERT_EQ(Seen(array), model) << "round " << round << " step " << step;
            EXPECT_EQ(array.Get(), block) << "the block stays where it is";
        }
        EXPECT_EQ(Packed(array.Get()), model);
        EXPECT_EQ(HeapBlockSize(array.Get()), 8u + 4 * model.size()) << "closed up and shrunk";
    }
}

TEST(ArrayGapTest, DeletedElementsAreFreedAtOnce) {
    OwnedArray array = NumberedTexts(10);
    void* third = ArrayReferences(array.Get())[2];
    void* fourth = ArrayReferences(array.Get())[3];
    DeleteElements(array, 3, 2);
    EXPECT_FALSE(IsHeapBlock(third));
    EXPECT_FALSE(IsHeapBlock(fourth));
}

TEST(ArrayGapTest, ASecondArrayTakesTheGapAndTheFirstIsClosedUp) {
    OwnedArray first = NumberedTexts(6);
    OwnedArray second = NumberedTexts(6);
    DeleteElements(first, 2, 1);
    DeleteElements(second, 5, 1);
    // The first block is packed again without anyone reading it.
    const auto* words = static_cast<const int32_t*>(first.Get());
    EXPECT_EQ(words[1], 5);
    EXPECT_STREQ(reinterpret_cast<char* const*>(words + 2)[1], "2");
    EXPECT_EQ(HeapBlockSize(first.Get()), 8u + 4 * 5);
    EXPECT_EQ(Seen(second), (std::vector<std::string>{"0", "1", "2", "3", "5"}));
}

TEST(ArrayGapTest, ReallocatingClosesTheGapAndFreeingForgetsIt) {
    OwnedArray array = NumberedTexts(5);
    DeleteElements(array, 1, 1);
    void* grown = ReallocateBlock(array.Get(), 8 + 4 * 8);
    *array.Variable() = nullptr;
    ASSERT_EQ(ArrayElementCount(grown), 4);
    EXPECT_STREQ(static_cast<const char*>(reinterpret_cast<void**>(static_cast<int32_t*>(grown) + 2)[0]), "1");
    OwnedArray again(grown, true);
    DeleteElements(again, 2, 1);
    again.Reset();  // frees the elements through the gap, then the block
    // A new block, perhaps at the same address, has no gap.
    OwnedArray fresh = NumberedTexts(4);
    EXPECT_EQ(Seen(fresh), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(Packed(fresh.Get()), (std::vector<std::string>{"0", "1", "2", "3"}));
}

}  // namespace
}  // namespace quillet
