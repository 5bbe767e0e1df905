#pragma once
// Pieces the unit suites share when they run as a program of the runtime with
// a library of their own: a copy of the runtime's unit library whose type slots
// hold the real types a suite tests and the probes it stands in for the
// others, records placed by rectangle, type data written by hand, and the
// window loaded from the suite's template.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runtime/services/library_info.h"
#include "runtime/template/template_writer.h"
#include "runtime/template/unit_record.h"
#include "runtime/units/unit_type.h"

namespace testunits {

// The runtime's unit library with every type slot replaced: the slots named
// (by index, 0-based) hold the given types, the others stay empty. It hands
// the runtime a pointer to its own slots, so it is neither copied nor moved.
class TestLibrary {
public:
    using Slot = std::pair<int32_t, quillet::UnitTypeDescriptor>;
    TestLibrary(std::initializer_list<Slot> slots);
    TestLibrary(const TestLibrary&) = delete;
    TestLibrary& operator=(const TestLibrary&) = delete;

    const quillet::LibraryInfo& Info() const { return info_; }
    // The type a template's type reference (0x0001nnnn) names: slot nnnn - 1.
    // A reference past the slots is the test's own mistake; it gets slot 0.
    const quillet::UnitTypeDescriptor& TypeOf(uint32_t typeRef) const {
        const size_t slot = (typeRef & 0xFFFF) - 1;
        EXPECT_LT(slot, types_.size()) << "no type slot for type reference " << std::hex << typeRef;
        return types_[slot < types_.size() ? slot : 0];
    }

private:
    std::array<quillet::UnitTypeDescriptor, quillet::LibraryTypeSlotCount> types_{};
    quillet::LibraryInfo info_;
};

// A record at area (left, top, right, bottom) with the given RecordFlag bits.
quillet::RecordDescription RecordAt(uint32_t id, uint32_t type, RECT area, uint32_t flags,
                                    const std::string& typeData = {});
// The record of an id in a description; an id it lacks fails the test (and
// gives the first record).
quillet::RecordDescription& RecordOf(quillet::WindowDescription& window, uint32_t id);

// Uses the description as the program's template, loads its window and
// handles what the load queued; true when loaded.
bool LoadWindowOf(const quillet::WindowDescription& window);

// The unit object of a record of a loaded window (as its type's operations take it), or null.
void* UnitObjectOf(uint32_t windowId, uint32_t unitId);

// Registers a window class for a test's own window types: double clicks, the
// arrow cursor, the button-face background (again is harmless).
void RegisterTestWindowClass(const wchar_t* name);

// An id as eight hexadecimal digits, as the suites' logs write them.
std::string Hex(uint32_t id);

// The bytes of a global memory block a type's operation handed over (its whole
// size), the block freed; "<none>" for no block.
std::string TakenBytes(void* block);

// Little-endian words and length-prefixed blocks, for writing type data by hand.
std::string Words(std::initializer_list<uint32_t> words);
std::string Block(const std::string& bytes);

// A 24-bit BMP file of the given size, every pixel coloured by colorAt(x, y).
using PixelColor = COLORREF (*)(int32_t x, int32_t y);
std::string BitmapFile(int32_t width, int32_t height, PixelColor colorAt);

// A type's EnumTexts watched: the texts it offers, with their flags, in order.
// A text named in `renames` is answered with its new text, a face name
// (EnumTextFlag::FontName) with `faceName` where one is given, any other with
// null (kept). Answer is the callback; Context() its context.
struct OfferedText {
    std::string text;
    uint32_t flags;
    bool operator==(const OfferedText&) const = default;
};
class TextOffers {
public:
    using Renames = std::initializer_list<std::pair<const std::string, std::string>>;
    explicit TextOffers(Renames renames, std::string faceName = {}) : renames_(renames), faceName_(std::move(faceName)) {}
    static const char* Answer(const char* text, uint32_t flags, uintptr_t context);
    uintptr_t Context() { return reinterpret_cast<uintptr_t>(this); }

    std::vector<OfferedText> offered;

private:
    std::map<std::string, std::string> renames_;
    std::string faceName_;
};
void PrintTo(const OfferedText& offer, std::ostream* out);

}  // namespace testunits
