// A program that does one thing through the support entries, as compiled code
// would, so that tests can watch how the process ends:
//   runtime_probe SCENARIO MARKS-FILE
// Exit routines and the error hook append lines to MARKS-FILE.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/services/compiled_code.h"
#include "runtime/values/array_block.h"
#include "tests/support/probe_program.h"

namespace {

using namespace quillet;
using quillet::compiled::Support;

constexpr compiled::Location FailingStatement{0x04010072, 475};
constexpr uint32_t MainWindowId = 0x52010001;
constexpr uint32_t SomeUnitId = 0x16010001;

std::string marksPath;

void Mark(const std::string& line) { probeprogram::AppendLine(marksPath, line); }

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

constexpr probeprogram::Scenario Scenarios[] = {
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
    if (const probeprogram::Scenario* scenario = argc == 3 ? probeprogram::Named(Scenarios, argv[1]) : nullptr) {
        marksPath = argv[2];
        StartLikeAProgram();
        scenario->run();
        Mark("scenario returned");
        return 3;
    }
    std::fprintf(stderr, "usage: runtime_probe SCENARIO MARKS-FILE; scenarios:");
    for (const probeprogram::Scenario& scenario : Scenarios) std::fprintf(stderr, " %s", scenario.name);
    std::fprintf(stderr, "\n");
    return 2;
}
