#pragma once
// Where template handler offsets point. A program's code has, right after its
// two stubs, one 8-byte entry per event handler at HandlerBase + 8·k:
//
//   E9 rel32      jmp to the handler's code
//   CC CC CC      int3 padding
//
// Loading checks every offset against that shape, so that template data that
// names anything else is refused as a whole instead of jumped into.
#include <cstdint>

namespace quillet {

constexpr uint32_t HandlerEntrySize = 8;
constexpr uint8_t JumpOpcode = 0xE9;
constexpr uint8_t PaddingByte = 0xCC;

// True when the address is readable code holding a handler entry (in the host
// build, handler_entries_host.cpp: an entry WriteHandlerEntry made).
bool IsHandlerEntry(uintptr_t address);

// Whether 8 readable bytes have an entry's shape.
inline bool HasHandlerEntryShape(const uint8_t* bytes) {
    return bytes[0] == JumpOpcode && bytes[5] == PaddingByte && bytes[6] == PaddingByte && bytes[7] == PaddingByte;
}

// The 8 bytes of an entry at `at` that jumps to `target`.
inline void FillHandlerEntry(uint8_t* at, uintptr_t target) {
    const auto relative = static_cast<int32_t>(target - (reinterpret_cast<uintptr_t>(at) + 5));
    at[0] = JumpOpcode;
    for (int i = 0; i < 4; ++i) at[1 + i] = static_cast<uint8_t>(static_cast<uint32_t>(relative) >> (8 * i));
    at[5] = at[6] = at[7] = PaddingByte;
}

// Writes an entry that jumps from `at` to `target` (the 8 bytes at `at`).
void WriteHandlerEntry(uint8_t* at, uintptr_t target);

}  // namespace quillet
