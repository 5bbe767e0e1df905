// Fuzz target: the text commands against the model of their rules, on any
// bytes: malformed GBK, four-byte codes whole, cut or misplaced, any start
// positions, counts and flags. Every argument stays as it was, every result
// is null or an exact-size heap block, each agrees with the model, and no
// block is left behind.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/values/array_block.h"
#include "runtime/values/heap_backend.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/holds.h"
#include "tests/support/text_command_model.h"


namespace {

using namespace quillet;
using namespace quillet::text_test;

// Reads the fuzzer's bytes as the call's parameters, then the texts.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A text of the given length at most, without 0 bytes (they end a text).
    std::string Text(size_t length) {
        std::string text;
        while (length-- > 0 && at_ < size_) text += static_cast<char>(data_[at_] != 0 ? data_[at_] : 'a'), ++at_;
        return text;
    }
    size_t Left() const { return size_ - at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

std::optional<int32_t> Maybe(uint8_t byte, bool present) {
    return present ? std::optional<int32_t>(static_cast<int8_t>(byte)) : std::nullopt;
}

CommandArg IntArg(std::optional<int32_t> value) {
    return value ? CommandArg{static_cast<uint32_t>(*value), 0, DataType::Int} : CommandArg{0, 0, 0};
}

// Calls the command with its texts in heap blocks of their own, as compiled code does.
CommandArg Call(CommandFunction command, std::vector<CommandArg> args, const std::vector<std::string>& texts) {
    std::vector<char*> blocks;
    for (size_t k = 0; k < texts.size(); ++k) {
        auto* block = static_cast<char*>(AllocateBlock(static_cast<int32_t>(texts[k].size()) + 1));
        std::memcpy(block, texts[k].c_str(), texts[k].size() + 1);
        blocks.push_back(block);
        args[k] = CommandArg{Word(block), 0, DataType::Text};
    }
    CommandArg result{0, 0, 0};
    command(&result, static_cast<int32_t>(args.size()), args.data());
    for (size_t k = 0; k < texts.size(); ++k) {
        ASSERT_HOLDS(BackendOwns(blocks[k]) && texts[k] == blocks[k], "an argument stays as it was");
        FreeBlock(blocks[k]);
    }
    return result;
}

std::string TakeText(uint32_t word) {
    char* text = reinterpret_cast<char*>(static_cast<uintptr_t>(word));
    if (text == nullptr) return {};
    const std::string bytes = text;
    ASSERT_HOLDS(!bytes.empty() && BackendBlockSize(text) == bytes.size() + 1,
                 "a result is null or an exact-size block");
    FreeBlock(text);
    return bytes;
}

Pieces TakePieces(uint32_t word) {
    void* array = reinterpret_cast<void*>(static_cast<uintptr_t>(word));
    Pieces pieces;
    void** elements = ArrayReferences(array);
    for (int32_t k = 0; k < ArrayElementCount(array); ++k) {
        pieces.push_back(TakeText(Word(elements[k])));
        elements[k] = nullptr;
    }
    FreeArray(DataType::Text, array);
    return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t liveBefore = BackendLiveBlockCount();
    Input in(data, size);
    const uint8_t flags = in.Byte();
    const std::optional<int32_t> start = Maybe(in.Byte(), flags & 1);
    const std::optional<int32_t> count = Maybe(in.Byte(), flags & 2);
    const std::optional<int32_t> maximum = Maybe(in.Byte(), flags & 4);
    const bool fold = flags & 8;
    const std::string search = in.Text(in.Byte() % 12);
    const std::string replacement = in.Text(in.Byte() % 12);
    const std::string t = in.Text(in.Left());
    const CommandArg none{0, 0, 0};
    const CommandArg flag{fold ? 1u : 0u, 0, static_cast<DataTypeCode>(flags & 16 ? DataType::Bool : 0)};

    const int32_t n = start.value_or(3);
    const uint32_t length = Call(commands::TextLength, {none}, {t}).low;
    ASSERT_HOLDS(length == t.size(), "TextLength");
    const std::string left = TakeText(Call(commands::LeftText, {none, IntArg(n)}, {t}).low);
    ASSERT_HOLDS(left == ModelLeft(t, n), "LeftText");
    const std::string right = TakeText(Call(commands::RightText, {none, IntArg(n)}, {t}).low);
    ASSERT_HOLDS(right == ModelRight(t, n), "RightText");
    const auto found =
        static_cast<int32_t>(Call(commands::FindText, {none, none, IntArg(start), flag}, {t, search}).low);
    ASSERT_HOLDS(found == ModelFind(t, search, start, fold && (flags & 16)), "FindText");
    const std::string replaced = TakeText(
        Call(commands::ReplaceSubtext, {none, none, none, IntArg(start), IntArg(count), flag}, {t, search, replacement})
            .low);
    ASSERT_HOLDS(replaced == ModelReplace(t, search, replacement, start, count, flag.low), "ReplaceSubtext");
    // The delimiter left out (a comma), or the search text.
    const bool comma = flags & 32;
    const Pieces pieces = TakePieces(Call(commands::SplitText, {none, none, IntArg(maximum)},
                                          comma ? std::vector<std::string>{t} : std::vector{t, search})
                                         .low);
    ASSERT_HOLDS(pieces == ModelSplit(t, comma ? std::nullopt : std::optional(search), maximum), "SplitText");
    const std::string trimmed = TakeText(Call(commands::TrimBothEnds, {none}, {t}).low);
    ASSERT_HOLDS(trimmed == ModelTrim(t), "TrimBothEnds");
    const std::string spaceless = TakeText(Call(commands::RemoveAllSpaces, {none}, {t}).low);
    ASSERT_HOLDS(spaceless == ModelRemoveSpaces(t), "RemoveAllSpaces");
    ASSERT_HOLDS(BackendLiveBlockCount() == liveBefore, "the calls leave no block behind");
    return 0;
}
