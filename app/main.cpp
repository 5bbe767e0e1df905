// quillet.exe: the program's start routine on the runtime's support entries.
// Until the tool's window template exists the program has no window to load,
// so it initialises the runtime, registers its clean-up and ends with code 0.
#include <windows.h>

#include "runtime/commands/compiled_code.h"

namespace {

using namespace quillet::compiled;

void FreeGlobals() {}

int StartRoutine() {
    InitialiseRuntime();
    RegisterExitRoutine(FreeGlobals);
    Support().FinishStartup();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int result = StartRoutine();
    Support().ExitProcess(result);
    return result;
}
