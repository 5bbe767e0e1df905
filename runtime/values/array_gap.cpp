#include "runtime/values/array_gap.h"

#include <cstring>

#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

constexpr int32_t SlotSize = 4;  // a reference element

struct ArrayGap {
    void* block = nullptr;  // the array whose block holds deleted places; null when none does
    int32_t start = 0;      // index of the first element after the gap
    int32_t length = 0;     // deleted places in the gap
};

ArrayGap gap;

// The block's element slots as they lie, gap included (one dimension).
void** Slots(void* block) { return reinterpret_cast<void**>(static_cast<int32_t*>(block) + 2); }

// The gap moves to index `to`: the elements between its place and `to` move
// to the other side of it.
void MoveGap(int32_t to) {
    void** slots = Slots(gap.block);
    if (to > gap.start)
        std::memmove(slots + gap.start, slots + gap.start + gap.length,
                     static_cast<size_t>(to - gap.start) * SlotSize);
    else if (to < gap.start)
        std::memmove(slots + to + gap.length, slots + to, static_cast<size_t>(gap.start - to) * SlotSize);
    gap.start = to;
}

// Rewritten as one dimension: the elements move up behind the two header words.
void MakeOneDimensional(void* block, int32_t total) {
    auto* header = static_cast<int32_t*>(block);
    if (header[0] != 1) std::memmove(header + 2, ArrayElements(block), static_cast<size_t>(total) * SlotSize);
    header[0] = 1;
    header[1] = total;
}

}  // namespace

int32_t DeleteArrayElements(void** arrayVariable, int32_t first, int32_t count, bool ownsElements) {
    void* block = *arrayVariable;
    const int32_t total = ArrayElementCount(block);
    if (first < 0 || first >= total) return 0;
    const int32_t deleted = count < total - first ? count : total - first;
    if (deleted <= 0) return 0;

    if (gap.block != block) {
        CloseArrayGap(gap.block);
        MakeOneDimensional(block, total);
        gap = {block, first, 0};
    }
    MoveGap(first);
    void** slots = Slots(block);
    if (ownsElements)
        for (int32_t i = 0; i < deleted; ++i) FreeBlock(slots[first + gap.length + i]);
    gap.length += deleted;
    static_cast<int32_t*>(block)[1] = total - deleted;
    return deleted;
}

void** ArrayReferenceSlot(void* array, int32_t index) {
    if (array == gap.block) return Slots(array) + (index >= gap.start ? index + gap.length : index);
    return reinterpret_cast<void**>(static_cast<char*>(array) + ArrayHeaderSize(array)) + index;
}

void CloseArrayGap(const void* block) {
    if (block == nullptr || block != gap.block) return;
    const int32_t count = static_cast<const int32_t*>(block)[1];
    MoveGap(count);
    ShrinkBlockInPlace(gap.block, 8 + SlotSize * count);
    gap = {};
}

void ForgetArrayGap(const void* block) {
    if (block != nullptr && block == gap.block) gap = {};
}

}  // namespace quillet
