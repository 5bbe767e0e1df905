#include "runtime/values/runtime_heap.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/array_gap.h"
#include "runtime/values/heap_backend.h"

namespace quillet {
namespace {

// Bounds of the constant data area: [start, end). Both null when there is none.
const char* constantStart = nullptr;
const char* constantEnd = nullptr;

// The backend takes an unsigned size: a negative request can never be met.
size_t RequestSize(int32_t size) { return size < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(size); }

}  // namespace

void* AllocateBlock(int32_t size) {
    void* block = BackendAllocate(RequestSize(size));
    if (block == nullptr) ReportAllocationFailure(size);
    return block;
}

void* TryAllocateBlock(int32_t size) { return BackendAllocate(RequestSize(size)); }

void* ReallocateBlock(void* block, int32_t size) {
    if (block == nullptr) return AllocateBlock(size);
    if (IsConstantData(block)) {
        // A constant stays where it is: the caller gets a private copy to grow.
        void* copy = AllocateBlock(size);
        const size_t available = static_cast<size_t>(constantEnd - static_cast<const char*>(block));
        std::memcpy(copy, block, std::min(static_cast<size_t>(size), available));
        return copy;
    }
    CloseArrayGap(block);
    void* resized = BackendReallocate(block, RequestSize(size));
    if (resized == nullptr) ReportAllocationFailure(size);
    return resized;
}

void FreeBlock(void* block) {
    if (block == nullptr || IsConstantData(block)) return;
    ForgetArrayGap(block);
    BackendFree(block);
}

void ShrinkBlockInPlace(void* block, int32_t size) {
    if (block == nullptr || IsConstantData(block)) return;
    BackendShrinkInPlace(block, RequestSize(size));
}

void* RawAllocate(size_t size) { return BackendAllocate(size); }

void* RawReallocate(void* block, size_t size) {
    return block == nullptr ? RawAllocate(size) : BackendReallocate(block, size);
}

void RawFree(void* block) {
    if (block != nullptr) BackendFree(block);
}

void SetConstantDataArea(const void* start, uint32_t size) {
    if (start == nullptr || size == 0) {
        ForgetConstantDataArea();
        return;
    }
    constantStart = static_cast<const char*>(start);
    constantEnd = constantStart + size;
}

void ForgetConstantDataArea() { constantStart = constantEnd = nullptr; }

bool IsConstantData(const void* block) {
    const auto p = reinterpret_cast<uintptr_t>(block);
    return p >= reinterpret_cast<uintptr_t>(constantStart) && p < reinterpret_cast<uintptr_t>(constantEnd);
}

}  // namespace quillet
