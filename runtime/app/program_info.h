#pragma once
// The compiled program's side of the contract with the runtime: a read-only
// ProgramInfo record and a StartRoutine, which the program hands over with one
// ProgramLink object of static storage (constructed before WinMain):
//
//   extern "C" const unsigned char HandlerBase[];  // after the two stubs
//   const ProgramInfo TheProgramInfo = {3, 0, 0x1015C, HandlerBase, ...};
//   int StartRoutine() { ...; return 0; }
//   const ProgramLink Link(TheProgramInfo, StartRoutine);
//
// The program's code begins with two stubs that the runtime uses as default
// no-op callbacks: return zero (3 bytes: xor eax, eax; ret), then a plain
// return (1 byte). HandlerBase is the address right after them, and every
// event-handler offset of the window template counts from it.
#include <cstdint>

namespace quillet {

struct LibraryInfo;  // the unit library's description

struct ProgramInfo {
    uint32_t interfaceWordA;                 // 0: nonzero opens windows in their stored show state
    uint32_t interfaceWordB;                 // 1: kept, not interpreted
    uint32_t idSerialWord;                   // 2: highest id serial of the template's own records
    const void* handlerBase;                 // 3: what handler offsets are relative to
    const void* constantData;                // 4: the ConstantDataArea
    uint32_t constantSize;                   // 5: its size in bytes; 0 = none
    const void* templateData;                // 6: the window template data
    uint32_t templateSize;                   // 7: its size in bytes; 0 = no windows
    uint32_t libraryCount;                   // 8
    const LibraryInfo* const* libraries;     // 9: that many library records
    uint32_t dllCommandCount;                // 10
    const uint32_t* dllCommandTable1;        // 11: that many entries each
    const uint32_t* dllCommandTable2;        // 12
};
static_assert(sizeof(ProgramInfo) == 13 * 4, "thirteen 32-bit words");

using StartRoutineFn = int (*)();

// The stubs lie just before HandlerBase.
constexpr uintptr_t ReturnZeroStubOffset = 4;   // HandlerBase - 4
constexpr uintptr_t PlainReturnStubOffset = 1;  // HandlerBase - 1

class ProgramLink {
public:
    ProgramLink(const ProgramInfo& info, StartRoutineFn start);
};

// What was linked; an all-zero record and no start routine when nothing was.
const ProgramInfo& LinkedProgramInfo();
StartRoutineFn LinkedStartRoutine();

}  // namespace quillet
