#include "runtime/values/runtime_heap.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/errors/error_report.h"
#include "runtime/values/array_gap.h"

namespace quillet {
namespace {

HANDLE RuntimeHeap() {
    static const HANDLE heap = GetProcessHeap();
    return heap;
}

// Bounds of the constant data area: [start, end). Both null when there is none.
const char* constantStart = nullptr;
const char* constantEnd = nullptr;

// HeapAlloc takes an unsigned size: a negative request can never be met.
SIZE_T RequestSize(int32_t size) {
    return size < 0 ? static_cast<SIZE_T>(-1) : static_cast<SIZE_T>(size);
}

}  // namespace

void ReportAllocationFailure(int32_t size) {
    char message[64];
    std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(size));
    ReportFatalError(message, 0, 0, 0);
}

void* AllocateBlock(int32_t size) {
    void* block = HeapAlloc(RuntimeHeap(), 0, RequestSize(size));
    if (block == nullptr) ReportAllocationFailure(size);
    return block;
}

void* TryAllocateBlock(int32_t size) { return HeapAlloc(RuntimeHeap(), 0, RequestSize(size)); }

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
    void* resized = HeapReAlloc(RuntimeHeap(), 0, block, RequestSize(size));
    if (resized == nullptr) ReportAllocationFailure(size);
    return resized;
}

void FreeBlock(void* block) {
    if (block == nullptr || IsConstantData(block)) return;
    ForgetArrayGap(block);
    HeapFree(RuntimeHeap(), 0, block);
}

void ShrinkBlockInPlace(void* block, int32_t size) {
    if (block == nullptr || IsConstantData(block)) return;
    HeapReAlloc(RuntimeHeap(), HEAP_REALLOC_IN_PLACE_ONLY, block, RequestSize(size));
}

void* RawAllocate(size_t size) { return HeapAlloc(RuntimeHeap(), 0, size); }

void* RawReallocate(void* block, size_t size) {
    return block == nullptr ? RawAllocate(size) : HeapReAlloc(RuntimeHeap(), 0, block, size);
}

void RawFree(void* block) {
    if (block != nullptr) HeapFree(RuntimeHeap(), 0, block);
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
