#pragma once
// Crashes end the process through the fatal report, as runtime errors do: a
// fault of the processor or the system (an access violation, a stack
// overflow, a division by zero) on any thread, inside a window procedure or
// not; memory that runs out for the C++ allocator; a C++ exception that
// nothing catches. The report (error_report.h) saves the texts the end would
// take with it, shows its one box, and the process ends with -1. A crash
// skips the shutdown, which would run the program's code over state the crash
// may have broken.
//
// Where the report runs: the crashed thread stops where it is (a stack
// overflow leaves it no stack to run the report on anyway) and wakes a thread
// kept waiting from the start. After a crash of the main thread that thread
// runs the report while the main thread stands still, so that the windows and
// texts it saves stay as they were and a broken window procedure is not
// called again. After a crash of another thread it asks the main thread, whose
// windows and texts they are, to run it, and runs it itself when the main
// thread does not take it in time. Either way one report runs, once: the
// thread that comes second (an answer that comes late, or the asking thread
// while the main thread's box is up) stands still until the end. A crash
// while the report runs (on the thread running it) ends the process at once;
// a crash of any other thread meanwhile waits for the end.
#include <windows.h>

#include <cstdint>

namespace quillet {

// Installs everything at once: the process's unhandled-exception filter, the
// C++ allocator's new-handler and terminate handler, the frame every window
// procedure of the framework runs in, the thread that takes a crash's report
// over, and a reserve of address space the report frees for the box. Once per
// process, before any window.
void InstallCrashReport();

// How a crash on another thread reaches the main thread: ask() has the main
// thread call RunPendingCrashReport and waits; it returns only when the main
// thread could not be asked or did not take the report in time. Installed at
// start-up.
using MainThreadAsk = bool (*)();
void SetMainThreadAsk(DWORD mainThreadId, MainThreadAsk ask);

// Asked on the main thread: runs the report of a crash of another thread,
// which ends the process, or stands still while the asking thread runs it
// (the ask came too late). Nothing anywhere else, or with no crash to report.
void RunPendingCrashReport();

// Frees the reserve of address space (once; nothing without InstallCrashReport).
void ReleaseMemoryReserve();

// While one lives on a thread, memory that runs out for the C++ allocator
// throws std::bad_alloc as it would without the new-handler: for code that
// handles it (a file too large to load now).
class AllocationMayFail {
public:
    AllocationMayFail();
    ~AllocationMayFail();
    AllocationMayFail(const AllocationMayFail&) = delete;
    AllocationMayFail& operator=(const AllocationMayFail&) = delete;
};

}  // namespace quillet
