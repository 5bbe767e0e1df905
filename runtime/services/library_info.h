#pragma once
// The unit library's description: the LibraryInfo record the runtime finds
// through the program's library list, its 51 type slots, its command entry
// points and its notify function; and the resolution of a UnitTypeRef.
#include <cstdint>

#include "runtime/units/unit_type.h"
#include "runtime/values/command_arg.h"

namespace quillet {

// The runtime calls it with request 1 at start-up (value1: the runtime's service
// dispatcher) and with request 6 at shutdown (value1: the library's data word).
using LibraryNotifyFn = uintptr_t (*)(int32_t request, uintptr_t value1, uintptr_t value2);

namespace LibraryRequest {
constexpr int32_t Start = 1;
constexpr int32_t Shutdown = 6;
}  // namespace LibraryRequest

struct LibraryInfo {
    uint32_t formatStamp;                      // 20000101
    const char* identifier;                    // 32 hexadecimal digits
    int32_t versionMajor;                      // 5
    int32_t versionMinor;                      // 7
    int32_t buildNumber;                       // 64
    int32_t hostVersion[4];                    // required host version, major/minor twice
    const char* displayText;
    int32_t languageCode;                      // 1
    const char* explanation;                   // null
    uint32_t stateWord;                        // 0xC0000001
    const char* moreTexts[8];                  // null
    int32_t typeCount;                         // 51
    const UnitTypeDescriptor* types;
    int32_t categoryCount;                     // 0
    const char* const* categoryNames;          // null
    int32_t commandCount;                      // RuntimeCommandCount
    const void* commandDescriptions;           // null
    const CommandFunction* commands;
    const void* reserved[2];                   // null
    LibraryNotifyFn notify;
    uint32_t tail[5];                          // 0
};
static_assert(sizeof(LibraryInfo) == 36 * 4, "thirty-six 32-bit fields");

constexpr uint32_t LibraryFormatStamp = 20000101;
constexpr int32_t LibraryTypeSlotCount = 51;

// This program's unit library, and the list of libraries the program links
// (one), as the program's start-up record hands them to the runtime.
const LibraryInfo& UnitLibrary();
constexpr int32_t ProgramLibraryCount = 1;
extern const LibraryInfo* const ProgramLibraries[ProgramLibraryCount];

// The library's notify function (also reachable as UnitLibrary().notify).
uintptr_t NotifyUnitLibrary(int32_t request, uintptr_t value1, uintptr_t value2);

// A unit's type: library number (1-based) in the high half, type number
// (slot + 1) in the low half.
using UnitTypeRef = uint32_t;
constexpr UnitTypeRef MakeUnitTypeRef(uint32_t library, uint32_t typeNumber) {
    return (library << 16) | (typeNumber & 0xFFFF);
}

// The descriptor a reference names, or null when the library is not in the list
// (or its record is missing), the type number is 0 or beyond the library's type
// count, or the slot is zero-filled.
const UnitTypeDescriptor* ResolveUnitType(UnitTypeRef ref, const LibraryInfo* const* libraries,
                                          int32_t libraryCount);
// The same against the program's own library list.
const UnitTypeDescriptor* ResolveUnitType(UnitTypeRef ref);

}  // namespace quillet
