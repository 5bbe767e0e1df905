#include <windows.h>

#include "runtime/values/heap_backend.h"

namespace quillet {
namespace {

HANDLE ProcessHeap() {
    static const HANDLE heap = GetProcessHeap();
    return heap;
}

}  // namespace

void* BackendAllocate(size_t size) { return HeapAlloc(ProcessHeap(), 0, size); }

void* BackendReallocate(void* block, size_t size) { return HeapReAlloc(ProcessHeap(), 0, block, size); }

void BackendFree(void* block) { HeapFree(ProcessHeap(), 0, block); }

bool BackendShrinkInPlace(void* block, size_t size) {
    return HeapReAlloc(ProcessHeap(), HEAP_REALLOC_IN_PLACE_ONLY, block, size) != nullptr;
}

bool BackendOwns(const void* block) { return block != nullptr && HeapValidate(ProcessHeap(), 0, block) != FALSE; }

size_t BackendBlockSize(const void* block) { return HeapSize(ProcessHeap(), 0, block); }

}  // namespace quillet
