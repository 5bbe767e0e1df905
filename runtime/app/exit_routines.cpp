#include "runtime/app/exit_routines.h"

#include <algorithm>
#include <vector>

#include "runtime/app/runtime_app.h"

namespace quillet {

void AddExitRoutine(ExitRoutine routine) {
    auto& routines = App().exitRoutines;
    if (routine != nullptr && std::find(routines.begin(), routines.end(), routine) == routines.end())
        routines.push_back(routine);
}

void CallExitRoutines() {
    // Taken out first: a routine that registers or exits again finds the list empty.
    std::vector<ExitRoutine> routines;
    routines.swap(App().exitRoutines);
    for (ExitRoutine routine : routines) routine();
}

void ReleaseExitRoutines() { App().exitRoutines.clear(); }

}  // namespace quillet
