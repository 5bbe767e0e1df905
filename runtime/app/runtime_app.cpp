#include "runtime/app/runtime_app.h"

#include "runtime/app/program_paths.h"
#include "runtime/errors/crash_report.h"
#include "runtime/errors/error_report.h"
#include "runtime/units/private_messages.h"

namespace quillet {
namespace {

// Written while static objects are constructed, in whatever order: a record
// that is constant-initialised, never a member of the application object.
struct LinkedProgram {
    const ProgramInfo* info;
    StartRoutineFn start;
};
constinit LinkedProgram linked{nullptr, nullptr};
constexpr ProgramInfo NoProgram{};

RuntimeApp theRuntimeApp;

// A window's unit object: its permanent framework object, or what the window
// answers to UM_GET_UNIT_OBJECT. Only windows of this thread are asked, so that
// the answer is an object of this process.
CWnd* UnitObjectOf(HWND hWnd) {
    if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd)) return wnd;
    if (GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) return nullptr;
    return reinterpret_cast<CWnd*>(SendMessageW(hWnd, UM_GET_UNIT_OBJECT, 0, 0));
}

}  // namespace

ProgramLink::ProgramLink(const ProgramInfo& info, StartRoutineFn start) { linked = {&info, start}; }

const ProgramInfo& LinkedProgramInfo() { return linked.info != nullptr ? *linked.info : NoProgram; }

StartRoutineFn LinkedStartRoutine() { return linked.start; }

int32_t QuitOnLastClose = 0;

RuntimeApp& App() { return theRuntimeApp; }

RuntimeApp::RuntimeApp() = default;

RuntimeApp::~RuntimeApp() = default;

void FillCallbackSlots(int32_t from, int32_t to) {
    const auto base = reinterpret_cast<uintptr_t>(LinkedProgramInfo().handlerBase);
    if (base == 0) return;
    const auto* returnZero = reinterpret_cast<const void*>(base - ReturnZeroStubOffset);
    const auto* plainReturn = reinterpret_cast<const void*>(base - PlainReturnStubOffset);
    for (int32_t i = from; i < to && i < CallbackSlotCount; ++i)
        App().callbackSlots[i] = {returnZero, returnZero, plainReturn};
}

BOOL RuntimeApp::InitInstance() {
    // From here on the runtime owns the process, and a crash ends it through its report.
    InstallCrashReport();
    const ModulePath path = SplitModulePath();
    programDirectoryWithSlash = path.directory.empty() ? std::string() : path.directory + "\\";
    FillCallbackSlots(0, 1);
    const StartRoutineFn start = LinkedStartRoutine();
    return start != nullptr ? start() : FALSE;
}

void RuntimeApp::OnMessageSourceFailed() { ReportFatalError("获取窗口消息失败", 0, 0, 0); }

BOOL RuntimeApp::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == nullptr && DispatchThreadMessage(msg)) return TRUE;
    const HWND stop = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    return CWnd::WalkPreTranslateTree(stop, msg, UnitObjectOf);
}

}  // namespace quillet
