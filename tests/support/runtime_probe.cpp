// A program that does one thing through the support entries, as compiled code
// would, so that tests can watch how the process ends:
//   runtime_probe SCENARIO MARKS-FILE
// Exit routines and the error hook append lines to MARKS-FILE.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/services/compiled_code.h"
#include "runtime/values/array_block.h"

namespace {

using namespace quillet;
using quillet::compiled::Support;

constexpr compiled::Location FailingStatement{0x04010072, 475};
constexpr uint32_t MainWindowId = 0x52010001;
constexpr uint32_t SomeUnitId = 0x16010001;

std::string marksPath;

void Mark(const std::string& line) {
    HANDLE file = CreateFileA(marksPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void FirstExitRoutine() { Mark("exit first"); }
void SecondExitRoutine() { Mark("exit second"); }

// What every scenario starts with: the start routine's first steps.
void StartLikeAProgram() {
    compiled::InitialiseRuntime();
    compiled::RegisterExitRoutine(FirstExitRoutine);
    compiled::RegisterExitRoutine(SecondExitRoutine);
    compiled::RegisterExitRoutine(FirstExitRoutine);  // kept once
}

int RecordingHook(int32_t errorNumber, const char* reportText) {
    Mark("hook " + std::to_string(errorNumber) + " suppressed=" + std::to_string(EventSuppressionCount()));
    Mark(reportText);
    return 1;
}

int FailingHook(int32_t errorNumber, const char*) {
    Mark("hook " + std::to_string(errorNumber));
    Support().ReportRuntimeError(1, FailingStatement.subroutineId, FailingStatement.statementNumber + 1);
    return 1;
}

void SubscriptBelowOne() { compiled::ElementAt(nullptr, 0, FailingStatement); }

void SubscriptPastEnd() {
    compiled::OwnedArray array(NewArray(3, ReferenceSize), true);
    compiled::ElementAt(array.Get(), 4, FailingStatement);
}

void AllocationFailure() { Support().Allocate(0x7FFF0000); }

void WindowNotLoaded() { Support().ReadUnitProperty(MainWindowId, SomeUnitId, 8, -1); }

void NormalEnd() {
    Support().FinishStartup();  // no window: returns at once
    Support().ExitProcess(0);
}

void HookedError() {
    SetErrorHook(RecordingHook);
    SubscriptBelowOne();
}

void HookRaisingAnError() {
    SetErrorHook(FailingHook);
    SubscriptBelowOne();
}

struct Scenario {
    const char* name;
    void (*run)();
};

constexpr Scenario Scenarios[] = {
    {"subscript-error", SubscriptBelowOne},
    {"subscript-past-end", SubscriptPastEnd},
    {"allocation-failure", AllocationFailure},
    {"window-not-loaded", WindowNotLoaded},
    {"exit-routines", NormalEnd},
    {"error-hook", HookedError},
    {"hook-error", HookRaisingAnError},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3) {
        marksPath = argv[2];
        for (const Scenario& scenario : Scenarios) {
            if (std::strcmp(argv[1], scenario.name) != 0) continue;
            StartLikeAProgram();
            scenario.run();
            Mark("scenario returned");
            return 3;
        }
    }
    std::fprintf(stderr, "usage: runtime_probe SCENARIO MARKS-FILE; scenarios:");
    for (const Scenario& scenario : Scenarios) std::fprintf(stderr, " %s", scenario.name);
    std::fprintf(stderr, "\n");
    return 2;
}
