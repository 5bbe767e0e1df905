#pragma once
// References travel as 32-bit words: in argument records, property values,
// event arguments and service calls. These two are the only casts between a
// pointer and its word.
#include <cstdint>

namespace quillet {

inline uint32_t Word(const void* reference) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(reference)); }

template <typename T>
T* Reference(uintptr_t word) {
    return reinterpret_cast<T*>(word);
}

}  // namespace quillet
