#include "runtime/services/compiled_code.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/array_block.h"
#include "runtime/values/text.h"
#include "runtime/values/words.h"

namespace quillet::compiled {
namespace {

// Compiled code never passes null as a text: it passes its constant empty text.
constexpr char EmptyText[1] = "";

constexpr int32_t PlainProperty = -1;
constexpr int32_t ErrorSubscriptBelowOne = 4;
constexpr int32_t ErrorSubscriptPastEnd = 1;

}  // namespace

int32_t OwnedArray::Count() const { return ArrayElementCount(block_); }

void OwnedArray::Reset() {
    void* block = std::exchange(block_, nullptr);
    if (block == nullptr) return;
    if (ownsElements_) {
        void** elements = ArrayReferences(block);
        const int32_t count = ArrayElementCount(block);
        for (int32_t i = 0; i < count; ++i) Support().Free(elements[i]);
    }
    Support().Free(block);
}

CommandArg TextArg(const char* text) {
    return CommandArg{Word(text != nullptr ? text : EmptyText), 0, DataType::Text};
}

CommandArg IntArg(int32_t value) { return CommandArg{static_cast<uint32_t>(value), 0, DataType::Int}; }

CommandArg BoolArg(bool value) { return CommandArg{value ? 1u : 0u, 0, DataType::Bool}; }

CommandArg DoubleArg(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return CommandArg{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), DataType::Double};
}

CommandArg UnitArg(uint32_t windowId, uint32_t unitId, DataTypeCode unitType) {
    return CommandArg{windowId, unitId, unitType};
}

CommandArg ReferenceArg(const void* variable) { return CommandArg{Word(variable), 0, DataType::Reference}; }

OwnedText ReadText(uint32_t windowId, uint32_t unitId, int32_t index) {
    const PropertyWords value = Support().ReadUnitProperty(windowId, unitId, index, PlainProperty);
    return OwnedText(reinterpret_cast<char*>(static_cast<uintptr_t>(value.low)));
}

int32_t ReadInt(uint32_t windowId, uint32_t unitId, int32_t index) {
    return static_cast<int32_t>(Support().ReadUnitProperty(windowId, unitId, index, PlainProperty).low);
}

bool ReadBool(uint32_t windowId, uint32_t unitId, int32_t index) {
    return ReadInt(windowId, unitId, index) != 0;
}

void WriteText(uint32_t windowId, uint32_t unitId, int32_t index, const char* text) {
    Support().WriteUnitProperty(windowId, unitId, index, PlainProperty,
                                Word(text != nullptr ? text : EmptyText), 0);
}

void WriteInt(uint32_t windowId, uint32_t unitId, int32_t index, int32_t value) {
    Support().WriteUnitProperty(windowId, unitId, index, PlainProperty, static_cast<uint32_t>(value), 0);
}

void WriteBool(uint32_t windowId, uint32_t unitId, int32_t index, bool value) {
    WriteInt(windowId, unitId, index, value ? 1 : 0);
}

int CompareText(const char* left, const char* right) { return CompareTexts(left, right); }

OwnedText Concatenate(std::initializer_list<const char*> pieces) {
    int32_t total = 0;
    for (const char* piece : pieces) total += TextByteCount(piece);
    char* result = static_cast<char*>(Support().Allocate(total + 1));
    char* end = result;
    for (const char* piece : pieces) {
        const int32_t length = TextByteCount(piece);
        std::memcpy(end, piece, static_cast<size_t>(length));
        end += length;
    }
    *end = '\0';
    return OwnedText(result);
}

TextJoiner::~TextJoiner() { Support().Free(block_); }

void TextJoiner::Append(const char* text) {
    const int32_t length = TextByteCount(text);
    if (length == 0) return;
    if (size_ + length + 1 > room_) {
        const int32_t room = std::max(size_ + length + 1, room_ + room_ / 2 + 64);
        block_ = static_cast<char*>(block_ == nullptr ? Support().Allocate(room) : Support().Reallocate(block_, room));
        room_ = room;
    }
    std::memcpy(block_ + size_, text, static_cast<size_t>(length));
    size_ += length;
}

OwnedText TextJoiner::Take() {
    if (block_ == nullptr) return Concatenate({});
    block_[size_] = '\0';
    // A text's block is as long as the text: the slack goes back.
    char* text = static_cast<char*>(Support().Reallocate(std::exchange(block_, nullptr), size_ + 1));
    size_ = room_ = 0;
    return OwnedText(text);
}

// The subscript is checked before 1 is taken off: for the lowest int32_t the
// difference would overflow.
void*& ElementAt(void* array, int32_t subscript, Location where) {
    if (subscript < 1) Support().ReportRuntimeError(ErrorSubscriptBelowOne, where.subroutineId, where.statementNumber);
    if (subscript > ArrayElementCount(array))
        Support().ReportRuntimeError(ErrorSubscriptPastEnd, where.subroutineId, where.statementNumber);
    return *ArrayReferenceSlot(array, subscript - 1);
}

void SetTextElement(OwnedArray& array, int32_t subscript, OwnedText value, Location where) {
    MakeArrayPrivate(ReferenceSize, array.Variable());
    void*& element = ElementAt(array.Get(), subscript, where);
    Support().Free(std::exchange(element, value.Release()));
}

// The deleted places stay in the block as a gap until something else reads it
// (array_gap.h): a loop deleting lines one by one then moves each element once.
// A position below 1 deletes nothing, and is answered before 1 is taken off
// (the lowest int32_t would overflow).
int32_t DeleteElements(OwnedArray& array, int32_t position, int32_t count) {
    MakeArrayPrivate(ReferenceSize, array.Variable());
    if (position < 1) return 0;
    return DeleteArrayElements(array.Variable(), position - 1, count, array.OwnsElements());
}

void InitialiseRuntime() {
    Support().CallTableEntry(TableEntryNumber::InitialiseRuntime, 0, 0, 0, 0);
}

void RegisterExitRoutine(ExitRoutine routine) {
    Support().CallTableEntry(TableEntryNumber::RegisterExitRoutine, reinterpret_cast<uintptr_t>(routine), 0,
                             0, 0);
}

void MakeArrayPrivate(int32_t elementSize, void** arrayVariable) {
    Support().CallTableEntry(TableEntryNumber::MakeArrayPrivate, static_cast<uintptr_t>(elementSize),
                             Word(arrayVariable), 0, 0);
}

}  // namespace quillet::compiled
