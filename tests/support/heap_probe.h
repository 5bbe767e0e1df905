#pragma once
// Asks the runtime heap's backend about a block, so that tests can tell which
// blocks the runtime freed and how large the ones it made are.
#include <cstddef>

#include "runtime/values/heap_backend.h"

inline bool IsHeapBlock(const void* block) { return quillet::BackendOwns(block); }

inline size_t HeapBlockSize(const void* block) { return quillet::BackendBlockSize(block); }
