#pragma once
// The runtime heap: the rules of the runtime's blocks over a heap backend
// (heap_backend.h), so that the value code and the text commands above it
// build without <windows.h>.
//
// Blocks handed between compiled code and the runtime come from here. Blocks
// inside the program's constant data area are never freed or resized in place.
#include <cstddef>
#include <cstdint>

namespace quillet {

// Allocation and reallocation never return null: failure is a fatal runtime
// error naming the requested size, which ends the process.
void* AllocateBlock(int32_t size);
void* ReallocateBlock(void* block, int32_t size);
void FreeBlock(void* block);
// Gives the end of a heap block back without moving it (a smaller size only).
void ShrinkBlockInPlace(void* block, int32_t size);
// The same fatal report, for builders whose own storage could not grow to size
// bytes. Defined with the error report (or by the host build), above the values.
[[noreturn]] void ReportAllocationFailure(int32_t size);

// A plain allocation that may return null (service 2024 with its no-report flag).
void* TryAllocateBlock(int32_t size);

// Scratch storage for builders such as TextBuffer: same heap, no fatal report.
void* RawAllocate(size_t size);
void* RawReallocate(void* block, size_t size);
void RawFree(void* block);

// The compiled program's constant data, recorded once at start-up.
void SetConstantDataArea(const void* start, uint32_t size);
void ForgetConstantDataArea();
bool IsConstantData(const void* block);

}  // namespace quillet
