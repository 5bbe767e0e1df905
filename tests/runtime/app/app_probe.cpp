// A compiled program of its own for the start-up, loop and shutdown tests:
//   app_probe SCENARIO RECORD-FILE
// Like every program it brings a ProgramInfo and a StartRoutine; the runtime's
// WinMain runs it. It stands in for the window layer with windows of its own
// and records what it sees, one line per step, in RECORD-FILE.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/program_info.h"
#include "runtime/app/runtime_app.h"
#include "runtime/app/window_layer.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/held_handover.h"
#include "runtime/events/run_progress.h"
#include "runtime/services/compiled_code.h"
#include "runtime/services/library_info.h"
#include "runtime/services/service_table.h"
#include "runtime/services/startup.h"
#include "runtime/units/held_output.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/units/private_messages.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/probe_program.h"

// The two stubs, then HandlerBase, as in every program.
asm(R"(
    .text
    .p2align 4
_ProbeCodeStart:
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

constexpr uint32_t MainWindowId = 0x52010001;
constexpr uint32_t SecondWindowId = 0x52010002;
const char ProbeConstants[16] = "constant data";

std::string recordPath;

void Record(const std::string& line) { probeprogram::AppendLine(recordPath, line); }

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

std::string Flag(bool value) { return value ? "1" : "0"; }

uintptr_t Address(const void* code) { return reinterpret_cast<uintptr_t>(code); }

// What a new initialisation of OLE on this thread answers (S_FALSE where OLE is up already).
std::string OleAnswer() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(result)) CoUninitialize();
    return Hex(static_cast<uint32_t>(result));
}

std::string ThisThread() { return std::to_string(GetCurrentThreadId()); }

HWND HiddenOwner() { return FindWindowExA(nullptr, nullptr, "_VL_HideOwner", nullptr); }

// ---- The program's windows, standing in for the window layer ----

struct ProgramWindow {
    uint32_t id;
    HWND handle;
    bool objectAlive;  // the record's object slot is set
};
std::vector<ProgramWindow> programWindows;

ProgramWindow* FindProgramWindow(uint32_t id) {
    for (ProgramWindow& window : programWindows)
        if (window.id == id) return &window;
    return nullptr;
}

LRESULT CALLBACK ProgramWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Below the runtime's private messages (0x8000 up), which reach these windows too.
    if (message == WM_USER + 1 || message == WM_USER + 2) Record(std::string("dispatched ") + std::to_string(message - WM_USER));
    if (message == WM_NCDESTROY) {
        for (ProgramWindow& window : programWindows) {
            if (window.handle != hWnd) continue;
            window.objectAlive = false;  // what the final clean-up does first
            Record(std::string("window destroyed ") + Hex(window.id));
            WindowDestroyed(window.id);
        }
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindow(const char* className, HWND parent = nullptr) {
    return CreateWindowExA(0, className, "", parent != nullptr ? WS_CHILD : WS_OVERLAPPED, 0, 0, 100, 100, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void OpenProgramWindow(ProgramWindow& window) {
    if (window.handle == nullptr) window.handle = MakeWindow("ProbeProgramWindow");
    window.objectAlive = window.handle != nullptr;
}

void CloseProgramWindow(uint32_t id) {
    if (ProgramWindow* window = FindProgramWindow(id)) DestroyWindow(window->handle);
}

bool (*idleEventHandler)(uint32_t windowId, uint32_t elapsedMs) = nullptr;

bool LayerDeserialise(const uint8_t*, uint32_t, uintptr_t) {
    Record("deserialise");
    return false;
}
int32_t LayerWindowCount() { return static_cast<int32_t>(programWindows.size()); }
uint32_t LayerWindowIdAt(int32_t index) { return programWindows[static_cast<size_t>(index)].id; }
HWND LayerLiveWindowAt(int32_t index) {
    const ProgramWindow& window = programWindows[static_cast<size_t>(index)];
    return window.objectAlive && IsWindow(window.handle) ? window.handle : nullptr;
}
uint32_t LayerLoad(uint32_t windowId) {
    Record(std::string("load ") + Hex(windowId));
    ProgramWindow* window = FindProgramWindow(windowId);
    if (window == nullptr) return 0;
    OpenProgramWindow(*window);
    return window->objectAlive ? 1 : 0;
}
bool LayerRaiseIdleEvent(uint32_t windowId, uint32_t elapsedMs) {
    return idleEventHandler != nullptr && idleEventHandler(windowId, elapsedMs);
}
void LayerReleaseWindows() {
    Record("release windows");
    for (ProgramWindow& window : programWindows)
        if (window.objectAlive) DestroyWindow(window.handle);
}

constexpr WindowLayer ProbeLayer = {
    LayerDeserialise, LayerWindowCount,     LayerWindowIdAt,    LayerLiveWindowAt,
    LayerLoad,        LayerRaiseIdleEvent,  LayerReleaseWindows, HandOverHeldPiece, UpdateRunProgress,
};

void RegisterProbeClasses() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProgramWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeProgramWindow";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ProbePlainWindow";
    RegisterClassA(&wc);
}

// ---- Exit routines and what is seen after the shutdown ----

void ExitA() {
    Record(std::string("exit A suppressed=") + Flag(EventsSuppressed()) + " owner=" + Flag(IsWindow(HiddenOwner())) +
           " ole=" + OleAnswer() + " thread=" + ThisThread() + " sent=" + Flag(InSendMessage()));
}
void ExitB() { Record("exit B"); }
void ExitC() { Record("exit C"); }

// Runs once WinMain has returned (not after ExitProcess).
struct AfterExit {
    ~AfterExit() {
        if (recordPath.empty()) return;
        Record("after owner=" + Hex(Address(HiddenOwner())) + " ole=" + OleAnswer() +
               " constant=" + Flag(IsConstantData(ProbeConstants + 1)));
    }
} afterExit;

// ---- A library of the program's own: what it is told at start-up and shutdown ----

uintptr_t ProbeLibraryNotify(int32_t request, uintptr_t value1, uintptr_t) {
    if (request == LibraryRequest::Start) {
        Record("library start dispatcher=" + Hex(value1));
        InstallServiceFunction(reinterpret_cast<ServiceFunction>(value1));
    }
    if (request == LibraryRequest::Shutdown)
        Record(std::string("library shutdown word=") + std::to_string(value1) + " owner=" + Flag(IsWindow(HiddenOwner())));
    return 1;
}

LibraryInfo MakeProbeLibrary() {
    LibraryInfo library{};
    library.notify = ProbeLibraryNotify;
    return library;
}
const LibraryInfo ProbeLibrary = MakeProbeLibrary();
// A second entry without a record: skipped.
const LibraryInfo* const ProbeLibraries[2] = {&ProbeLibrary, nullptr};

// ---- Scenarios ----

// What every scenario starts with: the window layer, the start routine's first steps.
void Begin() {
    RegisterProbeClasses();
    InstallWindowLayer(&ProbeLayer);
    Record("served-before-start-up " + Hex(NotifyRuntime(ServiceCode::RunDirectory)));
    Record("dispatch-service " + Hex(reinterpret_cast<uintptr_t>(&DispatchService)));
    Record("start-thread " + ThisThread());
    compiled::InitialiseRuntime();
    Record("main-thread " + std::to_string(App().mainThreadId));
    compiled::RegisterExitRoutine(ExitA);
}

void Timer(UINT ms, TIMERPROC proc) { SetTimer(nullptr, 0, ms, proc); }

// The main window loaded as the start-up window.
void OpenMain() {
    programWindows = {{MainWindowId, nullptr, false}};
    compiled::Support().LoadStartupWindow(MainWindowId);
}

// The main window loaded as the start-up window, and the second window opened beside it.
void OpenBoth() {
    programWindows = {{MainWindowId, nullptr, false}, {SecondWindowId, nullptr, false}};
    compiled::Support().LoadStartupWindow(MainWindowId);
    OpenProgramWindow(programWindows[1]);
}

// An empty program: no window, so finish start-up returns at once.
void NormalEnd() {
    RuntimeApp& app = App();
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    const auto* served = reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::RunDirectory));
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string expected = std::string(module).substr(0, std::string(module).find_last_of('\\'));
    // Plain facts: app_test compares them.
    Record("module-folder " + expected);
    Record(std::string("current-folder ") + folder);
    Record(std::string("served-folder ") + (served != nullptr ? served : "<null>"));
    Record("program-folder " + app.programDirectoryWithSlash);
    const HWND owner = HiddenOwner();
    Record("owner-thread " + std::to_string(GetWindowThreadProcessId(owner, nullptr)));
    Record("owner-visible " + Flag(IsWindowVisible(owner)));
    Record("owner-ex-style " + Hex(static_cast<uint32_t>(GetWindowLongA(owner, GWL_EXSTYLE))));
    Record("ole=" + OleAnswer() + " constant=" + Flag(IsConstantData(ProbeConstants + 1)) +
           " serial=" + Hex(app.idSerialCounter) + " word-a=" + std::to_string(app.interfaceWordA));
    // Where each callback slot's routines and value stand, counted from HandlerBase.
    std::string slots;
    for (const CallbackSlot& slot : app.callbackSlots) {
        for (const void* at : {slot.routine1, slot.routine2, slot.value}) {
            slots += ' ';
            slots += std::to_string(static_cast<intptr_t>(Address(at) - Address(HandlerBase)));
        }
    }
    Record("callback-slots" + slots);
    const auto returnZero = reinterpret_cast<int (*)()>(const_cast<void*>(app.callbackSlots[0].routine1));
    const auto plainReturn = reinterpret_cast<void (*)()>(const_cast<void*>(app.callbackSlots[3].value));
    plainReturn();
    Record("return-zero=" + std::to_string(returnZero()));

    compiled::RegisterExitRoutine(ExitB);
    compiled::RegisterExitRoutine(ExitA);  // kept once, in its first place
    compiled::RegisterExitRoutine(ExitC);
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

void StartupWindowMissing() {
    programWindows = {{SecondWindowId, nullptr, false}};
    compiled::Support().LoadStartupWindow(MainWindowId);
    Record("load returned");
}

void CALLBACK CloseTheMainWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    CloseProgramWindow(MainWindowId);
}

void CALLBACK CloseTheSecondWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    CloseProgramWindow(SecondWindowId);
}

// Closes the second window, then the main window.
void CALLBACK CloseOneThenTheOther(HWND hWnd, UINT message, UINT_PTR id, DWORD time) {
    CloseTheSecondWindow(hWnd, message, id, time);
    Timer(20, CloseTheMainWindow);
}

void LastWindowClosed() {
    OpenBoth();
    Timer(20, CloseOneThenTheOther);
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

// Idle: two program windows whose event 7 asks for more three times per idle
// period (the first) or never (the second); two plain windows with idle callbacks.
HWND plainOne = nullptr, plainTwo = nullptr;
int ticks = 0;
int firstWindowAnswers = 0;

bool IdleEvent(uint32_t windowId, uint32_t elapsedMs) {
    const bool more = windowId == MainWindowId && firstWindowAnswers++ < 3;
    Record(std::string("event7 ") + Hex(windowId) + " " + std::to_string(elapsedMs) + " more=" + Flag(more));
    return more;
}

void IdleRoutine(uint32_t argument) { Record(std::string("idle ") + std::to_string(argument)); }

void CALLBACK IdleTick(HWND, UINT, UINT_PTR id, DWORD) {
    ++ticks;
    firstWindowAnswers = 0;
    Record(std::string("tick ") + std::to_string(ticks) + " callbacks=" + std::to_string(App().idleCallbacks.size()));
    if (ticks == 1) {
        DestroyWindow(plainOne);
        Record("plain one destroyed");
    }
    if (ticks == 3) {
        KillTimer(nullptr, id);
        CloseProgramWindow(SecondWindowId);
        CloseProgramWindow(MainWindowId);
    }
}

// Output written outside any handler: handed over, piece by piece, once the
// queue is empty, before the idle routines run.
class HeldTwoPieces final : public HeldOutput {
public:
    bool HandOverPiece(PieceMode) override {
        ++pieces_;
        Record("held piece " + std::to_string(pieces_));
        if (pieces_ < 2) return false;
        ForgetHeldOutput(this);
        return true;
    }
    size_t HeldBytes() const override { return pieces_ < 2 ? 1 : 0; }

private:
    int pieces_ = 0;  // pieces handed over so far
};
HeldTwoPieces heldTwoPieces;

void Idle() {
    OpenBoth();
    idleEventHandler = IdleEvent;
    plainOne = MakeWindow("ProbePlainWindow");
    plainTwo = MakeWindow("ProbePlainWindow");
    std::string added = "added=";
    added += Flag(AddIdleCallback({plainOne, IdleRoutine, 1}));
    added += Flag(AddIdleCallback({plainTwo, IdleRoutine, 2}));
    added += Flag(AddIdleCallback({plainOne, IdleRoutine, 3}));  // listed already
    added += Flag(AddIdleCallback({reinterpret_cast<HWND>(0x1234), IdleRoutine, 4}));  // no window
    Record(added);
    Timer(200, IdleTick);  // far apart: each idle period runs to its end before the next tick
    NoteHeldOutput(&heldTwoPieces);
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

// Modal loops nested in the main loop.
void RunModalLoopOfSecondWindow() {
    Record("modal begin");
    RunModalLoop(SecondWindowId);
    Record(std::string("modal returned modal-id=") + Hex(App().modalWindowId));
}

void OpenBothAndRun(TIMERPROC firstTick) {
    OpenBoth();
    Timer(20, firstTick);
    compiled::Support().FinishStartup();
    Record(std::string("finish-startup returned main-alive=") + Flag(IsWindow(programWindows[0].handle)));
}

void CALLBACK PostQuit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Record("posting quit");
    PostQuitMessage(0);
}

// The second window's modal loop, with `Next` due 20 ms into it.
template <TIMERPROC Next>
void CALLBACK ModalThen(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Timer(20, Next);
    RunModalLoopOfSecondWindow();
}

void ModalQuit() { OpenBothAndRun(ModalThen<PostQuit>); }

DWORD WINAPI PostQuitLater(void*) {
    Sleep(300);
    Record("thread posts quit");
    PostThreadMessageA(App().mainThreadId, WM_QUIT, 0, 0);
    return 0;
}

void CALLBACK ModalThenQuitFromThread(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    CloseHandle(CreateThread(nullptr, 0, PostQuitLater, nullptr, 0, nullptr));
    RunModalLoopOfSecondWindow();
}

void ModalQuitWhileWaiting() { OpenBothAndRun(ModalThenQuitFromThread); }

void ModalWindowClosed() { OpenBothAndRun(ModalThen<CloseOneThenTheOther>); }

DWORD WINAPI ExitFromThread(void*) {
    Sleep(100);
    Record("thread asks to exit");
    NotifyRuntime(ServiceCode::ExitProcess, 7);
    Record("thread returned");
    return 0;
}

void ExitRequestedByAnotherThread() {
    OpenMain();
    compiled::RegisterExitRoutine(ExitB);
    CloseHandle(CreateThread(nullptr, 0, ExitFromThread, nullptr, 0, nullptr));
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

// A fatal error reported on another thread, presented by a hook of the
// probe's (no box), while the main loop runs or while the shutdown does.
HANDLE errorPresented = nullptr;  // set once the thread's report is presented

int PresentThreadError(int32_t errorNumber, const char*) {
    Record("thread error " + std::to_string(errorNumber) + " presented");
    SetEvent(errorPresented);
    return 1;
}

DWORD WINAPI FailOnThread(void*) {
    compiled::ElementAt(nullptr, 0, {0x04010072, 475});  // error 4
    Record("thread returned");
    return 0;
}

void StartFailingThread() {
    errorPresented = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetErrorHook(PresentThreadError);
    CloseHandle(CreateThread(nullptr, 0, FailOnThread, nullptr, 0, nullptr));
}

void FatalErrorOnThreadInTheLoop() {
    OpenMain();
    compiled::RegisterExitRoutine(ExitB);
    StartFailingThread();
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

// An exit routine that starts the failing thread and goes on for half a second
// after its report, handling messages meanwhile or not.
bool pumpInExitRoutine = false;

void ExitWithFailingThread() {
    Record("exit with failing thread");
    StartFailingThread();
    WaitForSingleObject(errorPresented, 5000);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 500) {
        if (!pumpInExitRoutine) {
            Sleep(20);
            continue;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    Record("exit with failing thread done");
}

void FatalErrorOnThreadDuringShutdown(bool pump) {
    pumpInExitRoutine = pump;
    compiled::RegisterExitRoutine(ExitWithFailingThread);
    compiled::RegisterExitRoutine(ExitB);
    compiled::Support().FinishStartup();  // no window: the shutdown follows
    Record("finish-startup returned");
}

void FatalErrorOnThreadDuringShutdownPumping() { FatalErrorOnThreadDuringShutdown(true); }
void FatalErrorOnThreadDuringShutdownWaiting() { FatalErrorOnThreadDuringShutdown(false); }

// A unit object that consumes key presses aimed at its window or its children.
class KeyUnit : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return FALSE;
        Record("unit consumed key");
        return TRUE;
    }
} keyUnit;

LRESULT CALLBACK UnitParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_GET_UNIT_OBJECT) return reinterpret_cast<LRESULT>(&keyUnit);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK UnitChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) Record("child got key");
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

void PendingEvents() {
    OpenMain();
    WNDCLASSA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpfnWndProc = UnitParentProc;
    wc.lpszClassName = "ProbeUnitParent";
    RegisterClassA(&wc);
    wc.lpfnWndProc = UnitChildProc;
    wc.lpszClassName = "ProbeUnitChild";
    RegisterClassA(&wc);
    const HWND parent = MakeWindow("ProbeUnitParent");
    const HWND child = MakeWindow("ProbeUnitChild", parent);

    const HWND main = programWindows[0].handle;
    PostMessageA(child, WM_KEYDOWN, 'A', 0);
    PostMessageA(main, WM_USER + 1, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessageA(main, WM_USER + 2, 0, 0);
    NotifyRuntime(ServiceCode::ProcessEvents);
    MSG next{};
    PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE);
    Record("2018 returned next=" + std::to_string(next.message));
    compiled::Support().FinishStartup();
    Record("finish-startup returned");
}

constexpr probeprogram::Scenario Scenarios[] = {
    {"normal-end", NormalEnd},
    {"startup-window-missing", StartupWindowMissing},
    {"last-window-closed", LastWindowClosed},
    {"idle", Idle},
    {"modal-quit", ModalQuit},
    {"modal-quit-while-waiting", ModalQuitWhileWaiting},
    {"modal-window-closed", ModalWindowClosed},
    {"exit-from-thread", ExitRequestedByAnotherThread},
    {"pending-events", PendingEvents},
    {"fatal-on-thread-in-loop", FatalErrorOnThreadInTheLoop},
    {"fatal-on-thread-during-shutdown-pumping", FatalErrorOnThreadDuringShutdownPumping},
    {"fatal-on-thread-during-shutdown-waiting", FatalErrorOnThreadDuringShutdownWaiting},
};

int StartRoutine() {
    if (__argc != 3) return 0;
    recordPath = __argv[2];
    const probeprogram::Scenario* scenario = probeprogram::Named(Scenarios, __argv[1]);
    if (scenario == nullptr) {
        Record("unknown scenario");
        return 0;
    }
    Begin();
    scenario->run();
    return 0;
}

const ProgramInfo ProbeInfo = {
    3, 0, 0x1015C, HandlerBase,
    ProbeConstants, sizeof ProbeConstants,
    nullptr, 0,           // no window template: the probe's windows are its own
    2, ProbeLibraries,
    0, nullptr, nullptr,
};

const ProgramLink Link(ProbeInfo, StartRoutine);

}  // namespace
