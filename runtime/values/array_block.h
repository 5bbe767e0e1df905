#pragma once
// Array and byte-set blocks on the runtime heap.
//
//   array:    int32 dimension count D, D int32 sizes (outermost first), packed elements
//   byte set: int32 1, int32 length, the bytes (a one-dimensional byte array)
//
// Arrays of texts or byte sets own their elements, which are references to
// blocks of their own; freeing the array frees them (null elements skipped).
#include <cstdint>

#include "runtime/values/array_gap.h"
#include "runtime/values/data_type.h"

namespace quillet {

inline int32_t ArrayDimensionCount(const void* array) {
    return array == nullptr ? 0 : static_cast<const int32_t*>(array)[0];
}

// The product of the sizes; 0 for a null block or no dimensions.
int32_t ArrayElementCount(const void* array);

// Bytes of the header that precedes the elements: 4 + 4·D.
inline int32_t ArrayHeaderSize(const void* array) { return 4 + 4 * ArrayDimensionCount(array); }

// The packed elements; an array with deleted places still in its block
// (array_gap.h) is closed up first.
inline char* ArrayElements(void* array) {
    CloseArrayGap(array);
    return static_cast<char*>(array) + ArrayHeaderSize(array);
}
inline const char* ArrayElements(const void* array) {
    CloseArrayGap(array);
    return static_cast<const char*>(array) + ArrayHeaderSize(array);
}

// The element references of an array of texts, byte sets or other blocks.
inline void** ArrayReferences(void* array) { return reinterpret_cast<void**>(ArrayElements(array)); }

// A new one-dimensional array of count elements, zero-filled.
void* NewArray(int32_t count, int32_t elementSize);

// Copy-on-write for arrays that still live in the program's constant data: the
// variable is given a heap copy of the whole block. Heap blocks and blocks of
// total size 0 are left as they are.
void CopyConstantArrayToHeap(int32_t elementSize, void** arrayVariable);

// Frees the elements when the element type owns them (the array flag is ignored),
// then the block itself.
void FreeArray(DataTypeCode elementType, void* array);

// Byte sets.
void* NewByteSet(const void* bytes, int32_t length);
inline int32_t ByteSetLength(const void* byteSet) {
    return byteSet == nullptr ? 0 : static_cast<const int32_t*>(byteSet)[1];
}
inline const char* ByteSetBytes(const void* byteSet) { return static_cast<const char*>(byteSet) + 8; }

}  // namespace quillet
