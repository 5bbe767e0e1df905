// The program's code area, ProgramInfo and StartRoutine. The runtime owns the
// process: the framework's WinMain calls RuntimeApp's InitInstance, which runs
// StartRoutine.
#include "app/program.h"

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "runtime/services/library_info.h"

// The code begins with the two stubs the runtime uses as no-op callbacks:
// return zero (xor eax, eax; ret: 3 bytes) and a plain return (1 byte).
// HandlerBase follows them with one 8-byte entry per handler in HandlerIndex
// order: jmp rel32 to the handler, three int3. The jumps are spelt out as bytes
// so that the assembler cannot shorten them.
#define QUILLET_ENTRY(handler) ".byte 0xE9\n .long _" #handler " - (. + 4)\n .byte 0xCC, 0xCC, 0xCC\n"
asm(".text\n"
    ".p2align 4\n"
    "_QuilletCodeStart:\n"
    "    xorl %eax, %eax\n"
    "    ret\n"
    "    ret\n"
    ".globl _HandlerBase\n"
    "_HandlerBase:\n"
    QUILLET_ENTRY(WindowLoaded)
    QUILLET_ENTRY(LayoutUnits)
    QUILLET_ENTRY(NoteWindowDestroyed)
    QUILLET_ENTRY(RunCleanup)
    QUILLET_ENTRY(RunNumbering)
    QUILLET_ENTRY(RunMultiReplace)
    QUILLET_ENTRY(ShowUnderline)
    QUILLET_ENTRY(HideUnderline)
    QUILLET_ENTRY(Undo)
    QUILLET_ENTRY(RestoreUndoLabel)
    QUILLET_ENTRY(MainBoxKey)
    QUILLET_ENTRY(LoadDroppedFile)
    QUILLET_ENTRY(WindowKey)
    QUILLET_ENTRY(OpenFileLabel)
    QUILLET_ENTRY(SaveFileLabel)
    QUILLET_ENTRY(SaveFileAsLabel)
    QUILLET_ENTRY(UpdateTitle)
    QUILLET_ENTRY(AskBeforeClosing));
#undef QUILLET_ENTRY
extern "C" const unsigned char HandlerBase[];

namespace quillet::app {


const uint8_t WindowTemplateData[] = {
#include "window_template.inc"
};
const uint32_t WindowTemplateSize = sizeof WindowTemplateData;

const ProgramInfo QuilletProgramInfo = {
    3,        // interface word A: windows open in their stored show state
    0,        // interface word B
    0x1015C,  // id serial word C
    HandlerBase,
    ConstantDataStart, ConstantDataSize,
    WindowTemplateData, WindowTemplateSize,
    ProgramLibraryCount, ProgramLibraries,  // the unit library
    0, nullptr, nullptr,                    // DLL commands: none
};

void StartUpToWindow() {
    compiled::InitialiseRuntime();
    asm volatile("cld\n\tfninit");
    InitialiseGlobals();
    compiled::RegisterExitRoutine(FreeGlobals);
    compiled::Support().LoadStartupWindow(MainWindow);
    // Once the window is shown and its page has chosen its unit: typing and
    // Ctrl+V go to the main box from the start.
    compiled::Call(commands::FocusUnit, compiled::UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox));
}

int StartRoutine() {
    StartUpToWindow();
    // quillet.exe 名字.txt: the file opens in the window just shown. Programs
    // that drive the window themselves (tests, benchmarks) open nothing.
    OpenCommandLineFile();
    compiled::Support().FinishStartup();
    return 0;
}

namespace {
const ProgramLink Link(QuilletProgramInfo, StartRoutine);
}  // namespace

}  // namespace quillet::app
