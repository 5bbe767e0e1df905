#pragma once
// Asks the process heap about a block, so that tests can tell which blocks the
// runtime freed and how large the ones it made are.
#include <windows.h>

#include <cstddef>

inline bool IsHeapBlock(const void* block) {
    return block != nullptr && HeapValidate(GetProcessHeap(), 0, block) != FALSE;
}

inline size_t HeapBlockSize(const void* block) { return HeapSize(GetProcessHeap(), 0, block); }
