#pragma once
// Runtime start-up and the end of the process, as reached from the start routine,
// the support entries and the numbered services.
#include <cstdint>

namespace quillet {

// CommandTable entry 6: heap, module path and current directory, ...
void InitialiseRuntime();

// Support entry 11: marks start-up done and runs the main loop while a window lives.
void FinishStartup();

// Support entry 12: loads the start-up window or reports "载入启动窗口失败".
uint32_t LoadStartupWindow(uint32_t windowId);

// The shutdown: suppress events, release windows, call the exit routines, ...
void RunShutdown(int32_t exitCode);

// Support entry 10 and service 2028: the shutdown, then ExitProcess with the code.
[[noreturn]] void ExitRuntimeProcess(int32_t exitCode);

// The running executable's folder (no trailing backslash) and file name, split
// at start-up. Empty texts (never null) before that.
const char* ProgramDirectory();
const char* ProgramFileName();

// Splits a path at its last backslash, stepping over double-byte characters so
// that a GBK trail byte 0x5C never counts. Returns the offset of that backslash,
// or -1 when there is none.
int32_t FindLastPathSeparator(const char* path);

}  // namespace quillet
