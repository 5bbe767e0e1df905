#include "runtime/values/array_block.h"

#include <cstring>

#include "runtime/values/runtime_heap.h"

namespace quillet {

int32_t ArrayElementCount(const void* array) {
    const int32_t dimensions = ArrayDimensionCount(array);
    if (dimensions <= 0) return 0;
    const int32_t* sizes = static_cast<const int32_t*>(array) + 1;
    // Unsigned: the sizes of an array without elements may multiply past 32
    // bits before its size of 0 comes, and the product is 0 all the same.
    uint32_t count = 1;
    for (int32_t i = 0; i < dimensions; ++i) count *= static_cast<uint32_t>(sizes[i]);
    return static_cast<int32_t>(count);
}

void* NewArray(int32_t count, int32_t elementSize) {
    const int32_t bytes = 8 + count * elementSize;
    auto* array = static_cast<int32_t*>(AllocateBlock(bytes));
    std::memset(array, 0, static_cast<size_t>(bytes));
    array[0] = 1;
    array[1] = count;
    return array;
}

void CopyConstantArrayToHeap(int32_t elementSize, void** arrayVariable) {
    void* array = *arrayVariable;
    if (array == nullptr || !IsConstantData(array)) return;
    const int32_t size = ArrayHeaderSize(array) + elementSize * ArrayElementCount(array);
    if (size == 0) return;
    void* copy = AllocateBlock(size);
    std::memcpy(copy, array, static_cast<size_t>(size));
    *arrayVariable = copy;
}

void FreeArray(DataTypeCode elementType, void* array) {
    if (array == nullptr) return;
    if (IsOwnedBlockType(ElementTypeOf(elementType))) {
        void** elements = ArrayReferences(array);
        const int32_t count = ArrayElementCount(array);
        for (int32_t i = 0; i < count; ++i) FreeBlock(elements[i]);
    }
    FreeBlock(array);
}

void* NewByteSet(const void* bytes, int32_t length) {
    if (length < 0) length = 0;
    auto* byteSet = static_cast<int32_t*>(AllocateBlock(8 + length));
    byteSet[0] = 1;
    byteSet[1] = length;
    if (length > 0) std::memcpy(byteSet + 2, bytes, static_cast<size_t>(length));
    return byteSet;
}

}  // namespace quillet
