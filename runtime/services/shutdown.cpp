// The end of the process: the shutdown and exit process.
#include <windows.h>
#include <ole2.h>

#include "runtime/app/exit_routines.h"
#include "runtime/app/runtime_app.h"
#include "runtime/app/window_layer.h"
#include "runtime/errors/crash_report.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/services/library_notify.h"
#include "runtime/services/startup.h"
#include "runtime/units/private_messages.h"
#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

bool OnMainThread(const RuntimeApp& app) {
    // Before start-up there is no other thread of the runtime's.
    return app.mainThreadId == 0 || app.mainThreadId == GetCurrentThreadId();
}

// Another thread asks the main thread, which ends the process; the asking
// thread only ends it itself when the main thread could not be asked.
void ForwardToMainThread(RuntimeApp& app, int32_t exitCode) {
    const HWND owner = app.hiddenOwner.m_hWnd;
    if (owner != nullptr && IsWindow(owner))
        SendMessageW(owner, UM_EXIT_REQUEST, static_cast<WPARAM>(exitCode), 0);
    if (!app.shuttingDown) ExitProcess(static_cast<UINT>(exitCode));
}

void FreeDllModules(RuntimeApp& app) {
    for (HMODULE module : app.dllModules) FreeLibrary(module);
    app.dllModules.clear();
    for (auto& table : app.dllCommandTables) table.clear();
}

void DestroyProgramIcons(RuntimeApp& app) {
    for (HICON& icon : app.programIcons) {
        if (icon != nullptr) DestroyIcon(icon);
        icon = nullptr;
    }
}

}  // namespace

void RunShutdown(int32_t exitCode) {
    RuntimeApp& app = App();
    SuppressEvents();  // never lowered again: no handler runs from here on
    if (!OnMainThread(app)) {
        ForwardToMainThread(app, exitCode);
        return;
    }
    if (app.shuttingDown) return;  // once: a second request (an exit routine exiting) ends here
    app.shuttingDown = true;
    if (FatalErrorReported()) ReleaseExitRoutines();

    app.idleCallbacks.clear();
    if (const WindowLayer* layer = InstalledWindowLayer()) layer->ReleaseWindows();
    CallExitRoutines();
    NotifyLibrariesOfShutdown();
    FreeDllModules(app);
    // This runtime keeps no working texts of its own beyond the program paths,
    // which services may still hand out until the process ends.
    ForgetConstantDataArea();
    DestroyProgramIcons(app);
    if (app.hiddenOwner.m_hWnd != nullptr) app.hiddenOwner.DestroyWindow();
    // No component of this system owns runtime objects, sockets or COM
    // registrations: nothing to close there.
    if (app.oleInitialised) {
        OleUninitialize();
        app.oleInitialised = false;
    }
}

void ExitRuntimeProcess(int32_t exitCode) {
    RunShutdown(exitCode);
    if (!OnMainThread(App())) {
        // The main thread's shutdown is under way and ends the process: cutting it
        // short here would lose what its exit routines are still doing.
        for (;;) Sleep(INFINITE);
    }
    ExitProcess(static_cast<UINT>(ProcessExitCode(exitCode)));
}

// A main thread that takes the report never answers (the report ends the
// process); one that has not taken it after this long is left behind.
bool AskMainThreadToReport() {
    const HWND owner = App().hiddenOwner.m_hWnd;
    constexpr UINT AnswerWithinMs = 5000;
    DWORD_PTR answer = 0;
    return owner != nullptr && IsWindow(owner) &&
           SendMessageTimeoutW(owner, UM_RUN_CRASH_REPORT, 0, 0, SMTO_NORMAL, AnswerWithinMs, &answer) != 0;
}

int32_t ProcessExitCode(int32_t exitCode) { return FatalErrorReported() ? -1 : exitCode; }

// The application object's end and its hidden owner's request to end are the
// shutdown's: they are defined here, with it.
int RuntimeApp::ExitInstance() {
    RunShutdown(0);
    return ProcessExitCode(CWinApp::ExitInstance());
}

LRESULT HiddenOwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_EXIT_REQUEST) {
        // Taken while the shutdown runs (an exit routine handling messages), the
        // request is met by that shutdown, which ends the process when it is
        // done: ending it here would cut the exit routines short.
        if (!App().shuttingDown) ExitRuntimeProcess(static_cast<int32_t>(wParam));
        return 0;
    }
    if (message == UM_RUN_CRASH_REPORT) {
        RunPendingCrashReport();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace quillet
