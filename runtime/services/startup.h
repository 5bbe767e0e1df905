#pragma once
// Runtime start-up and the end of the process, as reached from the start routine,
// the support entries and the numbered services.
#include <cstdint>

namespace quillet {

// CommandTable entry 6, in this order: interface words and id serial counter,
// OLE, module path and current directory, callback slots, the hidden owner
// window, the main thread, the ConstantDataArea, DLL command tables, the
// libraries' service hand-over, the window template.
void RunStartup();

// Support entry 12: loads the start-up window or reports "载入启动窗口失败"
// with the window id (fatal). Returns 1.
uint32_t LoadStartupWindow(uint32_t windowId);

// Support entry 11: QuitOnLastClose := 1, then the main loop while any program
// window lives; returns when the loop ends (or at once without a live window).
void FinishStartup();

// The shutdown. On the main thread: once; events suppressed for good, idle
// callbacks cleared, windows released, exit routines called (dropped uncalled
// after a fatal error), libraries notified, DLLs freed, the constant area
// forgotten, icons and the hidden owner window destroyed, OLE uninitialised.
// On any other thread: forwarded to the main thread as UM_EXIT_REQUEST.
void RunShutdown(int32_t exitCode);

// Support entry 10, service 2028 and UM_EXIT_REQUEST: the shutdown, then
// ExitProcess with the code (ProcessExitCode). On another thread it never
// returns: the main thread ends the process.
[[noreturn]] void ExitRuntimeProcess(int32_t exitCode);

// Has the main thread run the report of another thread's crash, through the
// hidden owner window; false when there is no such window or the main thread
// did not take the message within a few seconds (crash_report.h).
bool AskMainThreadToReport();

// The code the process ends with when it was asked to end with exitCode: -1
// once a fatal error has been reported, on whichever thread, else exitCode.
int32_t ProcessExitCode(int32_t exitCode);

}  // namespace quillet
