#pragma once
// Numbered services: how library code (commands and unit types) asks the runtime
// core for something. The core's dispatcher (runtime/services/service_table.h)
// is handed to the library at start-up; until then NotifyRuntime answers 0.
#include <cstdint>

namespace quillet {

using ServiceFunction = uintptr_t (*)(int32_t service, uintptr_t value1, uintptr_t value2);

namespace ServiceCode {
constexpr int32_t ProgramIcons = 1000;         // (pointer to two words) → large and small icon
constexpr int32_t WindowTableService = 1001;   // → the window table
constexpr int32_t TypeDescriptor = 1002;       // (type reference) → descriptor or null
constexpr int32_t Constant = 1004;             // → 1
constexpr int32_t RuntimeVersion = 1005;       // → 0x70005
constexpr int32_t ProgramPaths = 1006;         // (which, destination buffer)
constexpr int32_t WrapWindowHandle = 1007;     // (window handle) → new framework object attached to it
constexpr int32_t DeleteObject = 1008;         // (framework object)
constexpr int32_t DetachObject = 1009;         // (framework object) → its handle, detached
constexpr int32_t WindowHandleOf = 1010;       // (framework object) → its window handle, 0 for none
constexpr int32_t AttachIfUnattached = 1011;   // (window handle, framework object) → 1 when attached
constexpr int32_t AddIdleCallback = 1012;      // (pointer to handle, routine, argument)
constexpr int32_t RemoveIdleCallback = 1013;   // (window handle)
constexpr int32_t IsUnitWindow = 1014;         // (window handle) → 1 for a unit's or window's handle
constexpr int32_t UnitDestroyed = 2000;        // (window id, unit id or 0 for the window)
constexpr int32_t RunDirectory = 2003;         // → the runtime's copy of the folder
constexpr int32_t ExecutableName = 2004;       // → the runtime's copy of the file name
constexpr int32_t LoadWindow = 2005;           // (pointer to window id, owner, modal flag) → 0 or -1
constexpr int32_t FindUnit = 2006;             // (window id, unit id) → unit object or null
constexpr int32_t FindUnitOrFail = 2007;       // as 2006; not found is a fatal error
constexpr int32_t RaiseEvent = 2008;           // (EventRecord*) → 1 when a handler ran
constexpr int32_t SuspendEvents = 2009;
constexpr int32_t ResumeEvents = 2010;
constexpr int32_t CurrentEventSource = 2017;   // (pointer to two words) → 1 and the source, or 0
constexpr int32_t ProcessEvents = 2018;        // pump until the queue is empty or WM_QUIT
constexpr int32_t RecordType = 2022;           // (window id, unit id) → its type reference or 0
constexpr int32_t FreeArray = 2023;            // (element type, array)
constexpr int32_t Allocate = 2024;             // (size, no-report flag) → block
constexpr int32_t Free = 2025;                 // (block)
constexpr int32_t Reallocate = 2026;           // (block, size) → block
constexpr int32_t ExitProcess = 2028;          // (exit code); does not return
constexpr int32_t TypeKind = 2029;             // (type reference) → 2, 1 or 0
constexpr int32_t InterfaceWordA = 2030;       // → the program's interface word A
constexpr int32_t RaiseTypedEvent = 2031;      // (TypedEventRecord*) → 1 when a handler ran
constexpr int32_t WindowCount = 2032;          // → windows in the table
constexpr int32_t WindowHandleByIndex = 2033;  // (index) → handle of a live window, else 0
constexpr int32_t MenuCommandLookup = 2038;    // (pointer to a request) → 1 when found
constexpr int32_t ShowTabPage = 2039;          // (window id, tab unit id)
constexpr int32_t RebuildMenu = 2040;          // (window id)
constexpr int32_t RunProgress = 2041;          // (steps done, steps in all) of the running handler
constexpr int32_t CommandLineFile = 2042;      // (index) → the runtime's copy of that file's full path, or null
}  // namespace ServiceCode

// The library side: forwards to the installed service function.
uintptr_t NotifyRuntime(int32_t service, uintptr_t value1 = 0, uintptr_t value2 = 0);
void InstallServiceFunction(ServiceFunction function);

}  // namespace quillet
