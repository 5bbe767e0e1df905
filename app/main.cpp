// quillet.exe: the program side of the runtime — its code area, ProgramInfo,
// globals and StartRoutine. The runtime owns the process: the framework's
// WinMain calls RuntimeApp's InitInstance, which runs StartRoutine.
//
// Until the tool's window template exists the program has no window: its
// template size is 0, so it initialises the runtime, sets up its globals and
// ends at once with exit code 0.
#include <windows.h>

#include <utility>

#include "runtime/app/program_info.h"
#include "runtime/commands/compiled_code.h"
#include "runtime/units/library_info.h"

// The program's code begins with the two stubs the runtime uses as no-op
// callbacks: return zero (xor eax, eax; ret: 3 bytes) and a plain return
// (1 byte). HandlerBase follows them; the template's handler offsets count from it.
asm(R"(
    .text
    .p2align 4
_QuilletCodeStart:
    xorl %eax, %eax
    ret
    ret
    .globl _HandlerBase
_HandlerBase:
    int3
)");
extern "C" const unsigned char HandlerBase[];

namespace {

using namespace quillet;
using namespace quillet::compiled;

// The program's globals (freed by its clean-up routine).
char* UndoText = nullptr;    // the main edit box's content before the last tool run
void* LineArray = nullptr;   // the main edit box's lines while a tool runs

void InitialiseGlobals() {
    // A one-dimensional array without elements: dimension count 1, size 0.
    auto* header = static_cast<int32_t*>(Support().Allocate(8));
    header[0] = 1;
    header[1] = 0;
    LineArray = header;
}

void FreeGlobals() {
    Support().Free(std::exchange(UndoText, nullptr));
    OwnedArray(std::exchange(LineArray, nullptr), true).Reset();
}

int StartRoutine() {
    InitialiseRuntime();
    asm volatile("cld\n\tfninit");
    InitialiseGlobals();
    RegisterExitRoutine(FreeGlobals);
    // Loading the start-up window (0x52010001) comes with the window template.
    Support().FinishStartup();
    return 0;
}

const ProgramInfo TheProgramInfo = {
    3,               // interface word A: windows open in their stored show state
    0,               // interface word B
    0x1015C,         // id serial word C
    HandlerBase,
    nullptr, 0,      // constant data: none yet
    nullptr, 0,      // window template: none yet
    ProgramLibraryCount, ProgramLibraries,  // the unit library
    0, nullptr, nullptr,  // DLL commands: none
};

const ProgramLink Link(TheProgramInfo, StartRoutine);

}  // namespace
