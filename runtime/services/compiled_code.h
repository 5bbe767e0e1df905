#pragma once
// The program side of the support entries: what compiled handler code uses to
// reach the runtime, and nothing else. Every call goes through a slot of the
// support entry table; the text and array operations that compiled code performs
// inline (compare, concatenate, element access, delete elements) are here too.
//
// Ownership follows the statement: a text or array a call returns is an Owned
// value, freed through the free entry when it goes out of scope, so a temporary
// is freed when its statement ends.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "runtime/services/support_entries.h"

namespace quillet::compiled {

inline const SupportEntryTable& Support() { return SupportEntries(); }

// Where a statement of compiled code stands, for the errors it raises.
struct Location {
    int32_t subroutineId;      // top byte 0x04, e.g. 0x04010072
    int32_t statementNumber;
};

// A text owned by compiled code; null is the empty text.
class OwnedText {
public:
    OwnedText() = default;
    explicit OwnedText(char* text) : text_(text) {}
    OwnedText(OwnedText&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    OwnedText& operator=(OwnedText&& other) noexcept {
        if (this != &other) {
            Reset();
            text_ = std::exchange(other.text_, nullptr);
        }
        return *this;
    }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;
    ~OwnedText() { Reset(); }

    const char* Get() const { return text_; }
    bool IsEmpty() const { return text_ == nullptr || text_[0] == '\0'; }
    char** Variable() { return &text_; }  // for commands that read the variable later
    char* Release() { return std::exchange(text_, nullptr); }
    void Reset() { Support().Free(std::exchange(text_, nullptr)); }

private:
    char* text_ = nullptr;
};

// A one- or more-dimensional array owned by compiled code. Arrays of texts own
// their elements: they are freed with the array.
class OwnedArray {
public:
    OwnedArray() = default;
    OwnedArray(void* block, bool ownsElements) : block_(block), ownsElements_(ownsElements) {}
    OwnedArray(OwnedArray&& other) noexcept
        : block_(std::exchange(other.block_, nullptr)), ownsElements_(other.ownsElements_) {}
    OwnedArray& operator=(OwnedArray&& other) noexcept {
        if (this != &other) {
            Reset();
            block_ = std::exchange(other.block_, nullptr);
            ownsElements_ = other.ownsElements_;
        }
        return *this;
    }
    OwnedArray(const OwnedArray&) = delete;
    OwnedArray& operator=(const OwnedArray&) = delete;
    ~OwnedArray() { Reset(); }

    void* Get() const { return block_; }
    bool OwnsElements() const { return ownsElements_; }
    void** Variable() { return &block_; }  // for operations that replace the block
    int32_t Count() const;
    void Reset();

private:
    void* block_ = nullptr;
    bool ownsElements_ = false;
};

// Argument records.
CommandArg TextArg(const char* text);  // null becomes the constant empty text
CommandArg IntArg(int32_t value);
CommandArg BoolArg(bool value);
CommandArg DoubleArg(double value);
CommandArg UnitArg(uint32_t windowId, uint32_t unitId, DataTypeCode unitType);
CommandArg ReferenceArg(const void* variable);  // a variable's address
constexpr CommandArg Omitted{0, 0, 0};

// Call command (slot 4) with the records in argument order.
template <typename... Args>
CommandArg Call(CommandFunction command, Args... args) {
    CommandArg records[sizeof...(Args) + 1] = {args..., Omitted};
    return Support().CallCommand(command, static_cast<int32_t>(sizeof...(Args)), records);
}
template <typename... Args>
OwnedText CallText(CommandFunction command, Args... args) {
    return OwnedText(reinterpret_cast<char*>(static_cast<uintptr_t>(Call(command, args...).low)));
}
template <typename... Args>
int32_t CallInt(CommandFunction command, Args... args) {
    return static_cast<int32_t>(Call(command, args...).low);
}
template <typename... Args>
OwnedArray CallTextArray(CommandFunction command, Args... args) {
    return OwnedArray(reinterpret_cast<void*>(static_cast<uintptr_t>(Call(command, args...).low)), true);
}

// Unit properties (slots 5 and 6), element index -1.
OwnedText ReadText(uint32_t windowId, uint32_t unitId, int32_t index);
int32_t ReadInt(uint32_t windowId, uint32_t unitId, int32_t index);
bool ReadBool(uint32_t windowId, uint32_t unitId, int32_t index);
void WriteText(uint32_t windowId, uint32_t unitId, int32_t index, const char* text);
void WriteInt(uint32_t windowId, uint32_t unitId, int32_t index, int32_t value);
void WriteBool(uint32_t windowId, uint32_t unitId, int32_t index, bool value);

// Inline text operations.
int CompareText(const char* left, const char* right);
OwnedText Concatenate(std::initializer_list<const char*> pieces);  // never null

// A text built piece by piece in one heap block that grows by half again as
// it must: a run's lines joined into its result, however many.
class TextJoiner {
public:
    TextJoiner() = default;
    TextJoiner(const TextJoiner&) = delete;
    TextJoiner& operator=(const TextJoiner&) = delete;
    ~TextJoiner();

    void Append(const char* text);  // null is the empty text
    OwnedText Take();               // the text so far, never null; the joiner starts again empty

private:
    char* block_ = nullptr;
    int32_t size_ = 0;  // bytes joined, without the ending 0
    int32_t room_ = 0;  // bytes the block holds, the ending 0 included
};

// Element i (1-based) of an array of references, after the subscript check:
// below 1 is error 4, past the end error 1 (both fatal).
void*& ElementAt(void* array, int32_t subscript, Location where);
inline const char* TextAt(const OwnedArray& array, int32_t subscript, Location where) {
    return static_cast<const char*>(ElementAt(array.Get(), subscript, where));
}

// Stores a text in element i (1-based) of an array of texts, after making the
// array private and the subscript check; the element's old text is freed.
void SetTextElement(OwnedArray& array, int32_t subscript, OwnedText value, Location where);

// Deletes count elements from the 1-based position of an array of references
// (freeing them when the array owns them); returns how many were deleted.
int32_t DeleteElements(OwnedArray& array, int32_t position, int32_t count);

// The CommandTable entries the start routine uses (slot 13).
void InitialiseRuntime();
void RegisterExitRoutine(ExitRoutine routine);
void MakeArrayPrivate(int32_t elementSize, void** arrayVariable);

}  // namespace quillet::compiled
