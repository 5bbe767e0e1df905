#pragma once
// Deleting the elements of a long array one at a time, as a loop over its
// lines does, would move every later element at each deletion. Instead the
// deleted places of one array at a time are kept as a gap inside its block:
// a deletion moves only the elements between the gap and the deleted place,
// and the gap is closed up in one move before anything that does not know
// about it reads the block (ArrayElements), resizes or frees it. The element
// count in the block's header is always the array's own.
//
// Only one-dimensional arrays of references (element size 4) get a gap;
// deleting from an array of more dimensions first rewrites it as one.
#include <cstdint>

namespace quillet {

// Deletes count elements from index first (0-based) of the array in the
// variable, freeing them when the array owns its elements. Nothing is deleted
// when first is not below the element count or count is not above 0. Gives
// the number deleted. The block stays where it is.
int32_t DeleteArrayElements(void** arrayVariable, int32_t first, int32_t count, bool ownsElements);

// The slot of element index (0-based, below the count) of an array of
// references, seen through the gap.
void** ArrayReferenceSlot(void* array, int32_t index);

// Closes the gap when this block has it; called by everything that reads,
// resizes or frees a block without knowing about gaps.
void CloseArrayGap(const void* block);
// The block is being freed: its gap goes with it.
void ForgetArrayGap(const void* block);

}  // namespace quillet
