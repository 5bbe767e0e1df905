// The tool with a crash of the test's choosing, for the tests that watch how a
// crash ends the process and what it saves:
//   crash_probe SCENARIO RECORD-FILE
// Its window, units, handlers and globals are quillet's, started as quillet
// starts them, except that the cleanup page's 执行 button runs the probe's own
// handler. The probe fills the boxes (rescued_texts.h), lets the main box take
// its whole text, clicks that button, and the handler crashes as the scenario
// says: at once; after beginning a run as a tool does (the box's text kept
// for undo, the box emptied, part of a result written, which the box holds
// back); on another thread; or, in a real cleanup run, in the window
// procedure of a window of the probe's. What the probe sees just before the
// crash goes into RECORD-FILE.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handler_list.h"
#include "app/handlers.h"
#include "app/template_description.h"
#include "app/unit_ids.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/program_info.h"
#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/services/compiled_code.h"
#include "runtime/services/library_info.h"
#include "runtime/units/held_output.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/probe_program.h"
#include "tests/support/rescued_texts.h"

extern "C" quillet::HandlerResult ProbeCleanupClicked(const uint32_t* args, int32_t count);

// The two stubs, then one entry per handler in HandlerIndex order, as the
// tool's own code area has them; the cleanup button's entry is the probe's.
#define PROBE_ENTRY(handler) ".byte 0xE9\n .long _" #handler " - (. + 4)\n .byte 0xCC, 0xCC, 0xCC\n"
asm(".text\n"
    ".p2align 4\n"
    "_CrashProbeCodeStart:\n"
    "    xorl %eax, %eax\n"
    "    ret\n"
    "    ret\n"
    ".globl _CrashProbeHandlerBase\n"
    "_CrashProbeHandlerBase:\n"
    PROBE_ENTRY(WindowLoaded)
    PROBE_ENTRY(LayoutUnits)
    PROBE_ENTRY(NoteWindowDestroyed)
    PROBE_ENTRY(ProbeCleanupClicked)
    PROBE_ENTRY(RunNumbering)
    PROBE_ENTRY(RunMultiReplace)
    PROBE_ENTRY(ShowUnderline)
    PROBE_ENTRY(HideUnderline)
    PROBE_ENTRY(Undo)
    PROBE_ENTRY(RestoreUndoLabel)
    PROBE_ENTRY(SelectAll)
    PROBE_ENTRY(LoadDroppedFile));
#undef PROBE_ENTRY
extern "C" const unsigned char CrashProbeHandlerBase[];
static_assert(quillet::app::HandlerCount == 12, "one entry above per handler");

namespace {

using namespace quillet;
using namespace quillet::app;

enum class Crash {
    Fault,               // writes to address 0
    StackOverflow,       // recurses without end
    OutOfMemory,         // asks the C++ allocator for more than the address space has left
    Throw,               // throws a C++ exception nothing catches
    ThreadFault,         // a thread of the probe's writes to address 0
    ThreadThrow,         // a thread of the probe's throws
    FaultInWindowInRun,  // a window of the probe's faults in the middle of a real cleanup run
};

struct Scenario {
    const char* name;
    Crash crash;
    bool beginsRun;  // the handler first does what a tool's run does before it crashes
};

void Crashes();

const Scenario Scenarios[] = {
    {"fault-before-run", Crash::Fault, false},
    {"fault", Crash::Fault, true},
    {"stack-overflow", Crash::StackOverflow, true},
    {"out-of-memory", Crash::OutOfMemory, true},
    {"throw", Crash::Throw, true},
    {"thread-fault", Crash::ThreadFault, true},
    {"thread-throw", Crash::ThreadThrow, true},
    {"fault-in-window-during-run", Crash::FaultInWindowInRun, false},
};
// Named() wants the probes' common shape: a name and what to run.
probeprogram::Scenario ScenarioNames[std::size(Scenarios)];

const Scenario* scenario = nullptr;
std::string recordPath;

void Record(const std::string& line) { probeprogram::AppendLine(recordPath, line); }

HWND UnitWindow(UnitId unit) {
    return reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, MainWindow, unit)));
}

void WriteBox(UnitId unit, const std::wstring& text) {
    compiled::WriteText(MainWindow, unit, Property::EditContent, TextFromWide(text.data(), text.size()).c_str());
}

// The main box's whole text in UTF-16 units, and what of it the box holds
// back; read through the runtime, which sends the box no message.
void RecordMainBox() {
    const compiled::OwnedText text = compiled::ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    const size_t units = text.Get() != nullptr ? WideLength(text.Get(), std::strlen(text.Get())) : 0;
    Record("box-units " + std::to_string(units));
    Record("held-bytes " + std::to_string(HeldByteCount()));
}

// As a tool's run begins: the box's text kept for undo, the box emptied, the
// first lines of a result appended one by one.
void BeginRun() {
    UndoText = compiled::ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    UndoSaved = true;
    compiled::WriteText(MainWindow, Unit::MainBox, Property::EditContent, Text(Literal::Empty));
    const std::wstring output = rescuedtexts::RunOutput();
    for (size_t at = 0; at < output.size();) {
        const size_t end = output.find(L"\r\n", at) + 2;
        compiled::Call(commands::AppendText, compiled::UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox),
                       compiled::TextArg(TextFromWide(output.data() + at, end - at).c_str()));
        at = end;
    }
}

void WriteToAddressZero() { *static_cast<volatile int*>(nullptr) = 1; }

// Deep enough for any stack, as far as the compiler can tell.
volatile int recursionLimit = 1 << 30;
int Recurse(int depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return depth < recursionLimit ? Recurse(depth + 1) + frame[0] : 0;
}

// Every free range of the address space taken, from a gigabyte down to 64 KB.
void ExhaustAddressSpace() {
    for (SIZE_T size = SIZE_T{1} << 30; size >= 64 * 1024;)
        if (VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS) == nullptr) size /= 2;
}

DWORD WINAPI CrashOnThread(void*) {
    Sleep(300);
    if (scenario->crash == Crash::ThreadThrow) throw std::runtime_error("probe exception on a thread");
    WriteToAddressZero();
    return 0;
}

void Crashes() {
    switch (scenario->crash) {
    case Crash::Fault: WriteToAddressZero(); break;
    case Crash::StackOverflow: Record("recursion " + std::to_string(Recurse(0))); break;
    case Crash::OutOfMemory: {
        ExhaustAddressSpace();
        volatile char* block = new char[64 << 20];
        block[0] = 1;
        break;
    }
    case Crash::Throw: throw std::runtime_error("probe exception");
    case Crash::ThreadFault:
    case Crash::ThreadThrow: CloseHandle(CreateThread(nullptr, 0, CrashOnThread, nullptr, 0, nullptr)); break;
    case Crash::FaultInWindowInRun: break;
    }
}

// A window of the probe's, a framework window like the units: at its first
// timer tick while a run holds output back for the main box, it faults.
class FaultingWindow : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && ToolRunning && HeldByteCount() > 0) {
            KillTimer(m_hWnd, wParam);
            RecordMainBox();
            WriteToAddressZero();
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
FaultingWindow faultingWindow;

int StartRoutine() {
    for (size_t i = 0; i < std::size(Scenarios); ++i) ScenarioNames[i] = {Scenarios[i].name, Crashes};
    const probeprogram::Scenario* named = __argc == 3 ? probeprogram::Named(ScenarioNames, __argv[1]) : nullptr;
    if (named == nullptr) return 0;
    scenario = &Scenarios[named - ScenarioNames];
    recordPath = __argv[2];

    // As quillet's start routine, up to the loaded window.
    compiled::InitialiseRuntime();
    InitialiseGlobals();
    compiled::RegisterExitRoutine(FreeGlobals);
    compiled::Support().LoadStartupWindow(MainWindow);

    WriteBox(Unit::MainBox, rescuedtexts::MainText());
    WriteBox(Unit::PrefixBox, rescuedtexts::PrefixText);
    ProcessPendingEventsAndOutput();  // the main box's control takes its whole text
    if (scenario->crash == Crash::FaultInWindowInRun) {
        faultingWindow.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
        SetTimer(faultingWindow.m_hWnd, 1, 20, nullptr);
    }
    Record("main-thread " + std::to_string(GetCurrentThreadId()));
    PostMessageW(UnitWindow(Unit::CleanupButton), BM_CLICK, 0, 0);
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
    return 0;
}

// Filled in at start: the template is written from the tool's description.
std::vector<uint8_t> templateBytes;
ProgramInfo ProbeInfo = {
    3,    0, 0x1015C, CrashProbeHandlerBase,
    ConstantDataStart, ConstantDataSize,
    nullptr, 0,
    ProgramLibraryCount, ProgramLibraries,
    0,    nullptr, nullptr,
};

int StartProbe() {
    templateBytes = TemplateBytes();
    ProbeInfo.templateData = templateBytes.data();
    ProbeInfo.templateSize = static_cast<uint32_t>(templateBytes.size());
    return StartRoutine();
}

const ProgramLink Link(ProbeInfo, StartProbe);

}  // namespace

extern "C" HandlerResult ProbeCleanupClicked(const uint32_t* args, int32_t count) {
    if (scenario->crash == Crash::FaultInWindowInRun) return RunCleanup(args, count);
    if (scenario->beginsRun) BeginRun();
    RecordMainBox();
    Crashes();
    return NoValue;
}
