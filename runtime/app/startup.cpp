#include "runtime/app/startup.h"

#include <windows.h>
#include <ole2.h>

#include <string>

#include "runtime/app/exit_routines.h"
#include "runtime/commands/notify_runtime.h"
#include "runtime/errors/error_report.h"
#include "runtime/values/text.h"

namespace quillet {
namespace {

struct ProcessState {
    std::string runDirectory;     // folder of the executable, no trailing backslash
    std::string executableName;   // file name of the executable
    bool oleInitialised = false;
    bool shuttingDown = false;
};

ProcessState& State() {
    static ProcessState state;
    return state;
}

void SplitModulePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const int32_t separator = FindLastPathSeparator(path);
    ProcessState& state = State();
    if (separator < 0) {
        state.runDirectory.clear();
        state.executableName = path;
    } else {
        state.runDirectory.assign(path, static_cast<size_t>(separator));
        state.executableName = path + separator + 1;
    }
    SetCurrentDirectoryA(state.runDirectory.c_str());
}

}  // namespace

int32_t FindLastPathSeparator(const char* path) {
    int32_t last = -1;
    for (int32_t i = 0; path[i] != '\0'; ++i) {
        if (IsLeadByte(path[i])) {
            if (path[i + 1] == '\0') break;
            ++i;  // the trail byte may be 0x5C: it is not a separator
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last;
}

void InitialiseRuntime() {
    ProcessState& state = State();
    if (!state.oleInitialised) state.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    SplitModulePath();
    // What the unit library's notify request 1 does once the library tables exist.
    InstallServiceFunction(DispatchService);
}

void FinishStartup() {
    // No window can be loaded yet, so there is no loop to run.
}

uint32_t LoadStartupWindow(uint32_t windowId) {
    ReportFatalError("载入启动窗口失败", 0, static_cast<int32_t>(windowId), 0);
}

void RunShutdown(int32_t /*exitCode*/) {
    ProcessState& state = State();
    if (state.shuttingDown) return;
    state.shuttingDown = true;
    CallExitRoutines();
    if (state.oleInitialised) {
        OleUninitialize();
        state.oleInitialised = false;
    }
}

void ExitRuntimeProcess(int32_t exitCode) {
    RunShutdown(exitCode);
    ExitProcess(static_cast<UINT>(exitCode));
}

const char* ProgramDirectory() { return State().runDirectory.c_str(); }
const char* ProgramFileName() { return State().executableName.c_str(); }

}  // namespace quillet
