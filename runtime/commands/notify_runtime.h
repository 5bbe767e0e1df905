#pragma once
// Numbered services: how library code (commands and unit types) asks the runtime
// core for something. The core's dispatcher is handed to the library at start-up;
// until then NotifyRuntime answers 0.
#include <cstdint>

namespace quillet {

using ServiceFunction = uintptr_t (*)(int32_t service, uintptr_t value1, uintptr_t value2);

namespace ServiceCode {
constexpr int32_t WindowHandleOf = 1010;       // (framework object) → its window handle, 0 for none
constexpr int32_t RunDirectory = 2003;         // → the runtime's copy of the folder
constexpr int32_t ExecutableName = 2004;       // → the runtime's copy of the file name
constexpr int32_t FindUnit = 2006;             // (window id, unit id) → unit object or null
constexpr int32_t FindUnitOrFail = 2007;       // as 2006; not found is a fatal error
constexpr int32_t ProcessEvents = 2018;        // pump until the queue is empty or WM_QUIT
constexpr int32_t FreeArray = 2023;            // (element type, array)
constexpr int32_t Allocate = 2024;             // (size, no-report flag) → block
constexpr int32_t Free = 2025;                 // (block)
constexpr int32_t Reallocate = 2026;           // (block, size) → block
constexpr int32_t ExitProcess = 2028;          // (exit code); does not return
}  // namespace ServiceCode

// The library side: forwards to the installed service function.
uintptr_t NotifyRuntime(int32_t service, uintptr_t value1 = 0, uintptr_t value2 = 0);
void InstallServiceFunction(ServiceFunction function);

// The runtime core's dispatcher; unknown codes answer 0.
uintptr_t DispatchService(int32_t service, uintptr_t value1, uintptr_t value2);

}  // namespace quillet
