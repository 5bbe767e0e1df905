#pragma once
// Where the runtime heap's blocks come from: the process heap in the program,
// the C library in the host build (sanitizers watch its blocks). One of
// heap_backend_windows.cpp and heap_backend_host.cpp is linked. Sizes above
// what a 32-bit size word can ask for are refused, never met.
#include <cstddef>

namespace quillet {

void* BackendAllocate(size_t size);
void* BackendReallocate(void* block, size_t size);  // block not null; null on failure, block kept
void BackendFree(void* block);                       // block not null
// Gives the end of a block back without moving it; false when it cannot.
bool BackendShrinkInPlace(void* block, size_t size);

// For tests: whether a block is a live block of the backend, and its size as asked for.
bool BackendOwns(const void* block);
size_t BackendBlockSize(const void* block);
// The host build only: how many blocks are live, so that a fuzz target can
// tell that a call left none behind.
size_t BackendLiveBlockCount();

// The host build only: allocation failures on purpose. From
// StartCountingAllocations on, every allocation of the backend (and of
// whatever else asks CountAllocation, such as a test runner's operator new)
// is numbered from 1; when QUILLET_FAIL_ALLOCATION=N is in the environment,
// the Nth fails as if memory had run out.
void StartCountingAllocations();
// How many were numbered; none is numbered or failed after this.
size_t StopCountingAllocations();
// Numbers one allocation; false when this one is to fail.
bool CountAllocation();

}  // namespace quillet
