// The tool with a crash of the test's choosing:  crash_probe --scenario=SCENARIO --records=RECORD-FILE
// Quillet's window, handlers and globals, started as quillet starts, but its
// cleanup button runs the probe's handler, which crashes as the scenario says,
// unless it is fault-before-run after beginning a run as a tool does: the
// text kept for undo, the box emptied, part of a result written, which the
// box holds back. With no-fault the crash is the test's to bring (a thread it
// starts in the probe).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/handler_list.h"
#include "app/handlers.h"
#include "app/template_description.h"
#include "framework/wnd.h"
#include "runtime/app/program_info.h"
#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/errors/rescue_file.h"
#include "runtime/services/library_info.h"
#include "runtime/template/handler_entries.h"
#include "runtime/units/held_output.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/probe_program.h"
#include "tests/support/rescued_texts.h"

namespace {

using namespace quillet;
using namespace quillet::app;

constexpr const char* Scenarios[] = {"fault",        "fault-before-run", "window-fault", "stack-overflow", "throw",
                                     "thread-fault", "thread-throw",     "out-of-memory", "full-disk",     "no-fault"};
std::string scenario, recordPath;
bool Is(const char* name) { return scenario == name; }
void Record(const std::string& line) { probeprogram::AppendLine(recordPath, line); }
HWND UnitWindow(UnitId unit) {
    return reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, MainWindow, unit)));
}

void WriteToAddressZero() { *static_cast<volatile int*>(nullptr) = 1; }

DWORD WINAPI CrashOnThread(void*) {
    Sleep(300);
    if (Is("thread-throw")) throw std::runtime_error("probe exception on a thread");
    WriteToAddressZero();
    return 0;
}

// A framework window, as the units are, that faults in its procedure.
class FaultingWindow : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) WriteToAddressZero();
        return CWnd::WindowProc(message, wParam, lParam);
    }
} faultingWindow;

// The disk of the first rescue file (the one beside the program) is full
// after 100,000 bytes. Told by the file's index: a handle's value comes back.
BOOL WINAPI WriteOnFullDisk(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    static DWORD fullFile = 0, room = 100000;
    BY_HANDLE_FILE_INFORMATION information{};
    GetFileInformationByHandle(file, &information);
    if (fullFile == 0) fullFile = information.nFileIndexLow;
    if (information.nFileIndexLow == fullFile) room -= (size = std::min(size, room));
    if (size > 0) return WriteFile(file, bytes, size, written, overlapped);
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

HandlerResult ProbeCleanupClicked(const uint32_t*, int32_t) {
    if (const std::wstring output = rescuedtexts::RunOutput(); !Is("fault-before-run")) {
        UndoText = compiled::ReadText(MainWindow, Unit::MainBox, Property::EditContent);
        compiled::WriteText(MainWindow, Unit::MainBox, Property::EditContent, "");
        compiled::Call(commands::AppendText, compiled::UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox),
                       compiled::TextArg(TextFromWide(output.data(), output.size()).c_str()));
    }
    Record("held-bytes " + std::to_string(HeldByteCount()));
    if (Is("window-fault")) SendMessageW(faultingWindow.m_hWnd, WM_USER, 0, 0);
    while (Is("stack-overflow")) static_cast<volatile char*>(__builtin_alloca(4096))[0] = 1;
    if (Is("throw")) throw std::runtime_error("probe exception");
    if (Is("thread-fault") || Is("thread-throw")) CloseHandle(CreateThread(nullptr, 0, CrashOnThread, nullptr, 0, nullptr));
    if (Is("out-of-memory")) {
        // Every free range taken, from a gigabyte down to 64 KB; then a large block.
        for (SIZE_T size = SIZE_T{1} << 30; size >= 64 * 1024;)
            if (VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS) == nullptr) size /= 2;
        Record(std::to_string(reinterpret_cast<uintptr_t>(new char[64 << 20])));
    }
    if (Is("full-disk")) SetRescueFileWrite(WriteOnFullDisk);
    if (Is("fault") || Is("fault-before-run") || Is("full-disk")) WriteToAddressZero();
    return NoValue;
}

std::vector<uint8_t> templateBytes;
ProgramInfo probeInfo{};

// The code area as the runtime expects it: the stubs, then the entries in
// HandlerIndex order, the cleanup button's the probe's.
const uint8_t* ProbeHandlerBase() {
    EventHandler handlers[HandlerCount];
    std::copy(std::begin(HandlerFunctions), std::end(HandlerFunctions), handlers);
    handlers[static_cast<int32_t>(HandlerIndex::RunCleanup)] = ProbeCleanupClicked;
    auto* code = static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    std::memcpy(code, "\x31\xC0\xC3\xC3", 4);  // xor eax, eax; ret; ret
    for (int32_t k = 0; k < HandlerCount; ++k)
        FillHandlerEntry(code + 4 + k * HandlerEntrySize, reinterpret_cast<uintptr_t>(handlers[k]));
    return code + 4;
}

int StartProbe() {
    // Options, not files: the tool opens a file named on its command line.
    const std::string scenarioOption = "--scenario=", recordsOption = "--records=";
    if (__argc != 3 || std::string(__argv[1]).rfind(scenarioOption, 0) != 0 ||
        std::string(__argv[2]).rfind(recordsOption, 0) != 0)
        return 0;
    scenario = __argv[1] + scenarioOption.size();
    recordPath = __argv[2] + recordsOption.size();
    ASSERT_HOLDS(std::any_of(std::begin(Scenarios), std::end(Scenarios), Is), scenario.c_str());
    templateBytes = TemplateBytes();
    probeInfo = {3, 0, 0x1015C, ProbeHandlerBase(), ConstantDataStart, ConstantDataSize, templateBytes.data(),
                 static_cast<uint32_t>(templateBytes.size()), ProgramLibraryCount, ProgramLibraries, 0, nullptr, nullptr};
    compiled::InitialiseRuntime();  // as quillet's start routine, up to the loaded window
    InitialiseGlobals();
    compiled::RegisterExitRoutine(FreeGlobals);
    compiled::Support().LoadStartupWindow(MainWindow);
    // As pasted, into the controls (the runtime would mend the prefix's surrogate half).
    const std::wstring mainText = rescuedtexts::MainText();
    SetWindowTextW(UnitWindow(Unit::MainBox), mainText.c_str());
    ASSERT_HOLDS(GetWindowTextLengthW(UnitWindow(Unit::MainBox)) == static_cast<int>(mainText.size()), "the box takes it all");
    SetWindowTextW(UnitWindow(Unit::PrefixBox), rescuedtexts::PrefixText.c_str());
    ASSERT_HOLDS(faultingWindow.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr), "the faulting window");
    Record("main-thread " + std::to_string(GetCurrentThreadId()));
    PostMessageW(UnitWindow(Unit::CleanupButton), BM_CLICK, 0, 0);
    compiled::Support().FinishStartup();
    return 0;
}

const ProgramLink Link(probeInfo, StartProbe);

}  // namespace
