#pragma once
// The thirteen fixed entry points through which compiled handlers reach the
// runtime, in their slot order. Compiled code calls nothing else.
#include <cstdint>

#include "runtime/app/exit_routines.h"
#include "runtime/units/unit_type.h"
#include "runtime/values/command_arg.h"

namespace quillet {

struct SupportEntryTable {
    // 1: does not return; error number indexes the runtime's message table.
    void (*ReportRuntimeError)(int32_t errorNumber, int32_t subroutineId, int32_t statementNumber);
    // 2, 3: commands of external DLLs; this program declares none.
    uintptr_t (*ResolveLibraryCommand)(int32_t commandNumber);
    CommandArg (*CallLibraryCommand)(int32_t commandNumber, int32_t argCount, CommandArg* args);
    // 4: result record zeroed, the command called, its three words handed back.
    CommandArg (*CallCommand)(CommandFunction command, int32_t argCount, CommandArg* args);
    // 5, 6: unit properties by (window id, unit id, property index, element index).
    PropertyWords (*ReadUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element);
    void (*WriteUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element,
                              uint32_t low, uint32_t high);
    // 7, 8, 9: the runtime heap.
    void* (*Allocate)(int32_t size);
    void* (*Reallocate)(void* block, int32_t size);
    void (*Free)(void* block);
    // 10: shutdown, then the process ends with the code.
    void (*ExitProcess)(int32_t exitCode);
    // 11: runs the main message loop while any loaded window lives.
    void (*FinishStartup)();
    // 12: loads the start-up window or reports that it could not.
    uint32_t (*LoadStartupWindow)(uint32_t windowId);
    // 13: CommandTable entry 0..6 with that entry's own arguments.
    uintptr_t (*CallTableEntry)(int32_t entry, uintptr_t arg1, uintptr_t arg2, uintptr_t arg3, uintptr_t arg4);
};
static_assert(sizeof(SupportEntryTable) == 13 * sizeof(void*), "thirteen slots, nothing else");

const SupportEntryTable& SupportEntries();

// CommandTable: the seven entries behind slot 13, all taking up to four words.
using TableEntry = uintptr_t (*)(uintptr_t arg1, uintptr_t arg2, uintptr_t arg3, uintptr_t arg4);
namespace TableEntryNumber {
enum : int32_t {
    FindFile, CloseFileSearch, MakeArrayPrivate, RegisterExitRoutine, ReadLibraryTypeMember, WriteLibraryTypeMember,
    InitialiseRuntime, Count,
};
}  // namespace TableEntryNumber

}  // namespace quillet
