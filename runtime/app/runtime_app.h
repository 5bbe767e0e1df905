#pragma once
// RuntimeApp: the process's one application object. The framework's WinMain
// calls its InitInstance, which runs the program's StartRoutine; the whole life
// of the program happens inside that call (initialise, load the start-up
// window, run the main message loop). StartRoutine returns 0, so the framework
// skips its own loop and calls ExitInstance, which runs the shutdown.
//
// Event suppression and the current event source are kept by the event layer
// (runtime/events); the WindowTable is reached through the window layer
// (window_layer.h).
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win_app.h"
#include "framework/wnd.h"
#include "runtime/app/exit_routines.h"
#include "runtime/app/program_info.h"

namespace quillet {

// A routine called on every idle pass while its window exists (IdleCallbackList).
using IdleRoutine = void (*)(uint32_t argument);
struct IdleCallback {
    HWND window;          // the entry is dropped once this is no longer a window
    IdleRoutine routine;
    uint32_t argument;
};
static_assert(sizeof(IdleCallback) == 12, "three words, as service 1012 passes them");

// A callback slot of the runtime's components that call back into code of
// their own, filled with the program's no-op stubs until they are set.
struct CallbackSlot {
    const void* routine1;  // the return-zero stub
    const void* routine2;  // the return-zero stub
    const void* value;     // the plain return stub
};
static_assert(sizeof(CallbackSlot) == 12, "three words");
constexpr int32_t CallbackSlotCount = 4;  // one set by InitInstance, three by start-up

// The hidden owner window (class _VL_HideOwner): owns top-level program windows,
// is never shown, and turns UM_EXIT_REQUEST into the end of the process (the
// shutdown, unless it runs already); UM_RUN_CRASH_REPORT brings the report of
// a crash on another thread to the main thread (crash_report.h). Its
// WindowProc, like RuntimeApp's ExitInstance, is defined with the shutdown
// (runtime/services/shutdown.cpp).
constexpr uint32_t UM_EXIT_REQUEST = 0x83E7;  // end the process, code in wParam
constexpr uint32_t UM_RUN_CRASH_REPORT = 0x83E8;  // run the report of another thread's crash here

class HiddenOwnerWindow : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

enum class LoopMode { Main, Modal };

class RuntimeApp : public CWinApp {
public:
    RuntimeApp();
    ~RuntimeApp() override;

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    // The fatal report: the loop cannot take messages any more.
    void OnMessageSourceFailed() override;

    // The message loop. Main mode ends when WM_QUIT is taken; modal mode ends
    // when modalWindowId becomes 0 or WM_QUIT is seen, which stays queued for
    // the main loop.
    void RunMessageLoop(LoopMode mode);

    // From ProgramInfo.
    uint32_t interfaceWordA = 0;
    uint32_t interfaceWordB = 0;
    uint32_t idSerialCounter = 0;  // C + 1; records added at run time take serials after it

    std::string programDirectory;          // the executable's folder, no trailing backslash
    std::string programFileName;
    std::string programDirectoryWithSlash;
    std::vector<std::string> commandLineFiles;  // full paths, read before the folder moved (program_paths.h)

    // The library table: the program's library records, one data word beside each.
    std::vector<const LibraryInfo*> libraries;
    std::vector<uint32_t> libraryDataWords;

    // DLL commands: one entry per command in each table; the first two are the
    // program's, the other two are filled as commands are resolved.
    std::vector<uint32_t> dllCommandTables[4];
    std::vector<HMODULE> dllModules;  // loaded for DLL commands, freed at shutdown

    uint32_t modalWindowId = 0;       // the window whose modal loop runs; 0 = none
    std::vector<IdleCallback> idleCallbacks;
    std::vector<ExitRoutine> exitRoutines;  // each at most once, called in this order
    DWORD mainThreadId = 0;                 // 0 until start-up
    HiddenOwnerWindow hiddenOwner;
    HICON programIcons[2] = {};             // large, small; destroyed at shutdown
    CallbackSlot callbackSlots[CallbackSlotCount] = {};
    bool oleInitialised = false;
    std::atomic<bool> shuttingDown{false};  // read by other threads asking to end the process

private:
    void RunIdleCallbacks();

    // The idle period under way (OnIdle).
    bool frameworkIdlePending_ = false;
    DWORD idleStart_ = 0;
    std::vector<HWND> idleDoneWindows_;  // windows whose event 7 asked for no more
};

RuntimeApp& App();

// Set to 1 when the main loop starts: from then on, destroying the last live
// program window ends the loop.
extern int32_t QuitOnLastClose;

// Fills the callback slots from..to-1 with the program's stubs.
void FillCallbackSlots(int32_t from, int32_t to);

}  // namespace quillet
