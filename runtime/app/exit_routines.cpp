#include "runtime/app/exit_routines.h"

#include <algorithm>
#include <vector>

namespace quillet {
namespace {
std::vector<ExitRoutine>& Routines() {
    static std::vector<ExitRoutine> routines;
    return routines;
}
}  // namespace

void RegisterExitRoutine(ExitRoutine routine) {
    auto& routines = Routines();
    if (routine != nullptr && std::find(routines.begin(), routines.end(), routine) == routines.end())
        routines.push_back(routine);
}

void CallExitRoutines() {
    // Taken out first: a routine that registers or exits again finds the list empty.
    std::vector<ExitRoutine> routines;
    routines.swap(Routines());
    for (ExitRoutine routine : routines) routine();
}

void ReleaseExitRoutines() { Routines().clear(); }

}  // namespace quillet
