#pragma once
// The command-call convention: every argument and every result is one 12-byte
// record that carries its own type code.
#include <cstdint>
#include <cstring>

#include "runtime/values/data_type.h"
#include "runtime/values/words.h"

namespace quillet {

struct CommandArg {
    uint32_t low;        // value, low word (a reference for texts, byte sets and arrays)
    uint32_t high;       // value, high word: 64-bit values; the unit id of a unit reference
    DataTypeCode type;   // 0 when the caller left the argument out
};
static_assert(sizeof(CommandArg) == 12, "argument records lie 12 bytes apart");
static_assert(sizeof(void*) == 4, "references travel in one 32-bit word");

// Every runtime command: writes its result's value words; the type word stays 0.
using CommandFunction = void (*)(CommandArg* result, int32_t argCount, CommandArg* args);

// Typed views of a record's words.
inline bool IsOmitted(const CommandArg& arg) { return arg.type == DataType::None; }
inline int64_t AsInt64(const CommandArg& arg) {
    return static_cast<int64_t>((static_cast<uint64_t>(arg.high) << 32) | arg.low);
}
inline double AsDouble(const CommandArg& arg) {
    const uint64_t bits = static_cast<uint64_t>(AsInt64(arg));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline float AsFloat(const CommandArg& arg) {
    float value;
    std::memcpy(&value, &arg.low, sizeof value);
    return value;
}
template <typename T>
T* AsReference(const CommandArg& arg) {
    return Reference<T>(arg.low);
}

// Argument k (0-based) of a call; a record the caller did not pass reads as left out.
inline const CommandArg& ArgumentAt(int32_t argCount, const CommandArg* args, int32_t k) {
    static constexpr CommandArg LeftOut{0, 0, 0};
    return args != nullptr && k >= 0 && k < argCount ? args[k] : LeftOut;
}

// The text of a text record, never null; any other record reads as the empty text.
inline const char* TextArgument(const CommandArg& arg) {
    const char* text = arg.type == DataType::Text ? AsReference<const char>(arg) : nullptr;
    return text != nullptr ? text : "";
}

}  // namespace quillet
