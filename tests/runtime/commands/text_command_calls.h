#pragma once
// Calls text commands the way compiled code does (records through the call-command
// slot) with argument texts in heap blocks of their own, then checks that every
// argument is still allocated and unchanged, and that every result is either null
// (the empty text) or an exact-size heap block.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#ifdef _WIN32
#include "runtime/services/support_entries.h"
#endif
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/heap_probe.h"

namespace quillet::text_test {

inline std::string Hex(const std::string& bytes) {
    std::string hex;
    char pair[4];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", byte);
        hex += pair;
    }
    if (!hex.empty()) hex.pop_back();
    return "[" + hex + "]";
}

// One argument: a text (put into a heap block for the call) or a ready record.
struct In {
    bool isText;
    std::string text;
    CommandArg record;
};
inline In T(std::string text) { return In{true, std::move(text), {}}; }
inline In I(int32_t value) { return In{false, {}, CommandArg{static_cast<uint32_t>(value), 0, DataType::Int}}; }
inline In B(bool value) { return In{false, {}, CommandArg{value ? 1u : 0u, 0, DataType::Bool}}; }
inline In Rec(uint32_t low, uint32_t high, DataTypeCode type) { return In{false, {}, CommandArg{low, high, type}}; }
inline const In Omit = In{false, {}, CommandArg{0, 0, 0}};

// The call itself: heap copies of the texts, the slot, then the argument checks.
inline CommandArg CallWith(CommandFunction command, const std::vector<In>& inputs) {
    std::vector<char*> blocks;
    std::vector<CommandArg> records;
    for (const In& in : inputs) {
        if (!in.isText) {
            records.push_back(in.record);
            blocks.push_back(nullptr);
            continue;
        }
        auto* block = static_cast<char*>(AllocateBlock(static_cast<int32_t>(in.text.size()) + 1));
        std::memcpy(block, in.text.c_str(), in.text.size() + 1);
        blocks.push_back(block);
        records.push_back(CommandArg{Word(block), 0, DataType::Text});
    }
#ifdef _WIN32
    const CommandArg result =
        SupportEntries().CallCommand(command, static_cast<int32_t>(records.size()), records.data());
#else
    // The host build has no support entries: the command called as the call-command slot calls it.
    CommandArg result{0, 0, 0};
    command(&result, static_cast<int32_t>(records.size()), records.data());
#endif
    EXPECT_EQ(result.type, 0u) << "a command sets the value words only";
    for (size_t k = 0; k < inputs.size(); ++k) {
        if (blocks[k] == nullptr) continue;
        EXPECT_TRUE(IsHeapBlock(blocks[k])) << "argument " << k + 1 << " was freed";
        if (!IsHeapBlock(blocks[k])) continue;
        EXPECT_EQ(std::string(blocks[k]), inputs[k].text) << "argument " << k + 1 << " was altered";
        FreeBlock(blocks[k]);
    }
    return result;
}

// A result text: null for empty, otherwise an exact-size heap block. Freed here.
inline std::string TakeText(uint32_t word) {
    char* text = reinterpret_cast<char*>(static_cast<uintptr_t>(word));
    if (text == nullptr) return {};
    std::string bytes;
    EXPECT_TRUE(IsHeapBlock(text)) << "a result is a block of the runtime heap";
    if (!IsHeapBlock(text)) return "<not a heap block>";
    bytes = text;
    EXPECT_FALSE(bytes.empty()) << "the empty result is null, not a one-byte block";
    EXPECT_EQ(HeapBlockSize(text), bytes.size() + 1) << "result block of the exact size";
    FreeBlock(text);
    return bytes;
}

inline std::string CallText(CommandFunction command, const std::vector<In>& inputs) {
    return TakeText(CallWith(command, inputs).low);
}

inline int32_t CallInt(CommandFunction command, const std::vector<In>& inputs) {
    const CommandArg result = CallWith(command, inputs);
    EXPECT_EQ(result.high, 0u);
    return static_cast<int32_t>(result.low);
}

// A one-dimensional text array of exact size; empty elements are null. Freed here.
inline std::vector<std::string> CallTextArray(CommandFunction command, const std::vector<In>& inputs) {
    void* array = reinterpret_cast<void*>(static_cast<uintptr_t>(CallWith(command, inputs).low));
    std::vector<std::string> pieces;
    EXPECT_TRUE(IsHeapBlock(array)) << "an array result is always a block, even with no elements";
    if (!IsHeapBlock(array)) return {"<not a heap block>"};
    EXPECT_EQ(ArrayDimensionCount(array), 1);
    const int32_t count = ArrayElementCount(array);
    EXPECT_EQ(HeapBlockSize(array), 8u + 4u * static_cast<uint32_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const uintptr_t element = reinterpret_cast<uintptr_t>(ArrayReferences(array)[i]);
        ArrayReferences(array)[i] = nullptr;
        pieces.push_back(TakeText(static_cast<uint32_t>(element)));
    }
    FreeBlock(array);
    return pieces;
}


using Pieces = std::vector<std::string>;

}  // namespace quillet::text_test
