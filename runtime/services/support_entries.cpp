// The support entry table and the CommandTable behind slot 13.
#include "runtime/services/support_entries.h"

#include "runtime/app/exit_routines.h"
#include "runtime/commands/file_search.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/property_access.h"
#include "runtime/services/startup.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

void ReportRuntimeErrorEntry(int32_t errorNumber, int32_t subroutineId, int32_t statementNumber) {
    ReportNumberedError(errorNumber, subroutineId, statementNumber);
}

// This program declares no external DLL commands, so there is nothing to resolve.
uintptr_t ResolveLibraryCommand(int32_t) { return 0; }
CommandArg CallLibraryCommand(int32_t, int32_t, CommandArg*) { return CommandArg{}; }

CommandArg CallCommand(CommandFunction command, int32_t argCount, CommandArg* args) {
    CommandArg result{0, 0, 0};
    command(&result, argCount, args);
    return result;
}

void ExitProcessEntry(int32_t exitCode) { ExitRuntimeProcess(exitCode); }

// CommandTable entries: four words in, one word out.
uintptr_t FindFileEntry(uintptr_t pattern, uintptr_t attributeMask, uintptr_t allEntries, uintptr_t handleVariable) {
    return reinterpret_cast<uintptr_t>(NextFoundFile(reinterpret_cast<const char*>(pattern),
                                                     static_cast<uint32_t>(attributeMask), allEntries != 0,
                                                     reinterpret_cast<void**>(handleVariable)));
}

uintptr_t CloseFileSearchEntry(uintptr_t searchHandle, uintptr_t, uintptr_t, uintptr_t) {
    CloseFileSearch(reinterpret_cast<void*>(searchHandle));
    return 0;
}

uintptr_t MakeArrayPrivateEntry(uintptr_t elementSize, uintptr_t arrayVariable, uintptr_t, uintptr_t) {
    CopyConstantArrayToHeap(static_cast<int32_t>(elementSize), reinterpret_cast<void**>(arrayVariable));
    return 0;
}

uintptr_t RegisterExitRoutineEntry(uintptr_t routine, uintptr_t, uintptr_t, uintptr_t) {
    AddExitRoutine(reinterpret_cast<ExitRoutine>(routine));
    return 0;
}

uintptr_t InitialiseRuntimeEntry(uintptr_t, uintptr_t, uintptr_t, uintptr_t) {
    RunStartup();
    return 0;
}

// Entries 4 and 5 serve library-defined types, which this system has none of.
constexpr TableEntry CommandTable[TableEntryNumber::Count] = {
    FindFileEntry,           // 0
    CloseFileSearchEntry,    // 1
    MakeArrayPrivateEntry,   // 2
    RegisterExitRoutineEntry,  // 3
    nullptr,                 // 4
    nullptr,                 // 5
    InitialiseRuntimeEntry,  // 6
};

uintptr_t CallTableEntry(int32_t entry, uintptr_t arg1, uintptr_t arg2, uintptr_t arg3, uintptr_t arg4) {
    if (entry < 0 || entry >= TableEntryNumber::Count || CommandTable[entry] == nullptr) return 0;
    return CommandTable[entry](arg1, arg2, arg3, arg4);
}

constexpr SupportEntryTable Entries = {
    ReportRuntimeErrorEntry,  // 1
    ResolveLibraryCommand,    // 2
    CallLibraryCommand,       // 3
    CallCommand,              // 4
    ReadUnitProperty,         // 5
    WriteUnitProperty,        // 6
    AllocateBlock,            // 7
    ReallocateBlock,          // 8
    FreeBlock,                // 9
    ExitProcessEntry,         // 10
    FinishStartup,            // 11
    LoadStartupWindow,        // 12
    CallTableEntry,           // 13
};

}  // namespace

const SupportEntryTable& SupportEntries() { return Entries; }

}  // namespace quillet
