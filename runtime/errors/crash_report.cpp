#include "runtime/errors/crash_report.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <new>

#include "framework/wnd.h"
#include "runtime/errors/error_report.h"

namespace quillet {
namespace {

// Address space held from the start and given back when a report begins: the
// box finds room after memory has run out. Wine shows the box with the whole
// address space taken (measured); a system that needs a new heap segment or
// two to make it gets them here. Small, since the program could use it too.
constexpr SIZE_T MemoryReserveBytes = 2 << 20;
std::atomic<void*> memoryReserve{nullptr};

enum class CrashKind { Exception, OutOfMemory, CppException, Terminated };

// The crash being reported: written once, by the thread that claimed the report.
struct Crash {
    CrashKind kind;
    EXCEPTION_RECORD record;  // Exception
    char what[160];           // CppException: its what(), when it has one
    DWORD threadId;           // the thread that crashed
};
Crash crash;
std::atomic<bool> claimed{false};
// The one thread that runs the report, chosen once: whichever comes first of
// the main thread (asked) and the thread that asks it (not answered in time).
std::atomic<DWORD> reportRunner{0};

// The thread that takes the report over from the crashed one, waiting from the start.
HANDLE takeOverEvent = nullptr;
DWORD takeOverThreadId = 0;
DWORD mainThreadId = 0;
MainThreadAsk askMainThread = nullptr;

// How many AllocationMayFail live on a thread, in a slot of the system's
// thread storage. Not thread_local: this target emulates that, allocating a
// thread's copy at its first access and aborting when it cannot, which would
// be the new-handler's read once memory has run out. TlsGetValue allocates
// nothing; TlsSetValue may, in the constructor, while there is memory.
DWORD mayFailSlot = TLS_OUT_OF_INDEXES;

uintptr_t AllocationsMayFail() {
    return mayFailSlot != TLS_OUT_OF_INDEXES ? reinterpret_cast<uintptr_t>(TlsGetValue(mayFailSlot)) : 0;
}

void SetAllocationsMayFail(uintptr_t count) {
    if (mayFailSlot != TLS_OUT_OF_INDEXES) TlsSetValue(mayFailSlot, reinterpret_cast<void*>(count));
}

// The exception record's flags while frames are unwound, not searched.
constexpr DWORD UnwindingFlags = 0x2 | 0x4;  // EXCEPTION_UNWINDING, EXCEPTION_EXIT_UNWIND

[[noreturn]] void WaitForTheEnd() {
    for (;;) Sleep(INFINITE);
}

// Nothing of the program runs after a crash, not even its shutdown.
[[noreturn]] void EndAfterCrash() {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-1));
    WaitForTheEnd();
}

const char* ExceptionName(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: return "访问违例";
    case EXCEPTION_STACK_OVERFLOW: return "堆栈溢出";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return "整数除以零";
    case EXCEPTION_INT_OVERFLOW: return "整数溢出";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return "非法指令";
    case EXCEPTION_PRIV_INSTRUCTION: return "特权指令";
    case EXCEPTION_IN_PAGE_ERROR: return "页面读入错误";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "数组越界";
    case EXCEPTION_DATATYPE_MISALIGNMENT: return "数据未对齐";
    case EXCEPTION_BREAKPOINT: return "断点";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_STACK_CHECK: return "浮点运算错误";
    default: return "未知异常";
    }
}

// What an access violation tried: the record's first word is the kind of access.
const char* AccessName(ULONG_PTR kind) {
    switch (kind) {
    case 0: return "读取";
    case 1: return "写入";
    case 8: return "执行";
    default: return "访问";
    }
}

// What happened, its exception code and where; for an access violation the
// kind and address of the access, as the record carries them.
void ComposeCrashMessage(const EXCEPTION_RECORD& record, char* message, size_t size) {
    const auto code = static_cast<unsigned>(record.ExceptionCode);
    const auto at = static_cast<unsigned>(reinterpret_cast<uintptr_t>(record.ExceptionAddress));
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        std::snprintf(message, size, "程序崩溃：%s（%s地址 0x%08X），异常代码 0x%08X，位置 0x%08X",
                      ExceptionName(record.ExceptionCode), AccessName(record.ExceptionInformation[0]),
                      static_cast<unsigned>(record.ExceptionInformation[1]), code, at);
        return;
    }
    std::snprintf(message, size, "程序崩溃：%s，异常代码 0x%08X，位置 0x%08X", ExceptionName(record.ExceptionCode),
                  code, at);
}

void ComposeMessage(char* message, size_t size) {
    switch (crash.kind) {
    case CrashKind::Exception: ComposeCrashMessage(crash.record, message, size); return;
    case CrashKind::OutOfMemory: std::snprintf(message, size, "内存不足，无法分配所需的内存"); return;
    case CrashKind::CppException:
        if (crash.what[0] != '\0')
            std::snprintf(message, size, "未处理的 C++ 异常：%s", crash.what);
        else
            std::snprintf(message, size, "未处理的 C++ 异常");
        return;
    case CrashKind::Terminated: std::snprintf(message, size, "程序异常终止"); return;
    }
}

// Runs on one thread only: any other that comes here stands still until that
// one ends the process (the main thread asked too late, or the asking thread
// after the main thread took the report and kept its box up).
[[noreturn]] void RunReport() {
    DWORD runner = 0;
    const DWORD self = GetCurrentThreadId();
    if (!reportRunner.compare_exchange_strong(runner, self) && runner != self) WaitForTheEnd();
    char message[512];
    ComposeMessage(message, sizeof message);
    PresentFatalReport(message, 0, 0, 0);
    EndAfterCrash();
}

// The report reads the main thread's windows and texts: after a crash of
// another thread the main thread runs it, so that nothing changes them
// meanwhile; after its own crash it stands still while this thread runs it.
// A main thread that does not take the report in time (busy, or hung) leaves
// it to this thread, and stands still when the ask reaches it at last. The
// reserve goes first, before the system's calls, which may want it: nothing
// since the crash has allocated.
[[noreturn]] void ReportFromHere() {
    ReleaseMemoryReserve();
    if (crash.threadId != mainThreadId && mainThreadId != 0 && askMainThread != nullptr) askMainThread();
    RunReport();
}

DWORD WINAPI TakeOver(void*) {
    WaitForSingleObject(takeOverEvent, INFINITE);
    ReportFromHere();
}

// The first crash goes on to its report. A crash of the thread that runs the
// report (or has yet to hand it on) ends the process at once; any other waits
// for the end the report brings.
void Claim() {
    if (!claimed.exchange(true)) {
        crash.threadId = GetCurrentThreadId();
        return;
    }
    const DWORD self = GetCurrentThreadId();
    if (self == reportRunner || self == crash.threadId || self == takeOverThreadId) EndAfterCrash();
    WaitForTheEnd();
}

// After Claim. The crashed thread stops where it is: its state is what the
// report saves, and an overflowed stack has a few kilobytes left, enough to
// wake the thread waiting for this but not to run the report.
[[noreturn]] void Report() {
    if (takeOverEvent != nullptr) {
        SetEvent(takeOverEvent);
        WaitForTheEnd();
    }
    ReportFromHere();
}

[[noreturn]] void CrashOnException(const EXCEPTION_RECORD& record) {
    Claim();
    crash.kind = CrashKind::Exception;
    crash.record = record;
    crash.record.ExceptionRecord = nullptr;
    Report();
}

[[noreturn]] void CrashWith(CrashKind kind, const char* what) {
    Claim();
    crash.kind = kind;
    crash.what[0] = '\0';
    if (what != nullptr) std::snprintf(crash.what, sizeof crash.what, "%s", what);
    Report();
}

// Errors, not warnings or notes (a debugger's print, a thread's name), and a
// breakpoint nobody waits for.
bool IsCrash(const EXCEPTION_RECORD& record) {
    return (record.ExceptionCode & 0xC0000000) == 0xC0000000 || record.ExceptionCode == EXCEPTION_BREAKPOINT;
}

LONG WINAPI UnhandledException(EXCEPTION_POINTERS* pointers) { CrashOnException(*pointers->ExceptionRecord); }

EXCEPTION_DISPOSITION NTAPI FrameHandler(EXCEPTION_RECORD* record, void*, CONTEXT*, void*) {
    if ((record->ExceptionFlags & UnwindingFlags) != 0 || !IsCrash(*record)) return ExceptionContinueSearch;
    CrashOnException(*record);
}

// Registers a handler for the exceptions of everything called while it
// lives, as a __try block would; the system calls the innermost first.
class HandlerFrame {
public:
    explicit HandlerFrame(PEXCEPTION_ROUTINE handler) {
        record_.Next = Innermost();
        record_.Handler = handler;
        SetInnermost(&record_);
    }
    ~HandlerFrame() { SetInnermost(record_.Next); }
    HandlerFrame(const HandlerFrame&) = delete;
    HandlerFrame& operator=(const HandlerFrame&) = delete;

private:
    static EXCEPTION_REGISTRATION_RECORD* Innermost() {
        EXCEPTION_REGISTRATION_RECORD* record;
        asm volatile("movl %%fs:0, %0" : "=r"(record));
        return record;
    }
    static void SetInnermost(EXCEPTION_REGISTRATION_RECORD* record) {
        asm volatile("movl %0, %%fs:0" : : "r"(record) : "memory");
    }

    EXCEPTION_REGISTRATION_RECORD record_;
};

// Inside a catch, or in the terminate handler while one is handled: the
// exception told by its type.
[[noreturn]] void CrashWithCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        CrashWith(CrashKind::OutOfMemory, nullptr);
    } catch (const std::exception& e) {
        CrashWith(CrashKind::CppException, e.what());
    } catch (...) {
        CrashWith(CrashKind::CppException, nullptr);
    }
}

// Every window procedure of the framework runs in here. The system may
// swallow a fault inside a window procedure (Wine does; 64-bit Windows can),
// and a C++ exception cannot pass the system's frames: both are reported
// before they get there.
LRESULT FramedProcedure(WNDPROC procedure, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HandlerFrame frame(FrameHandler);
    try {
        return procedure(hWnd, message, wParam, lParam);
    } catch (...) {
        CrashWithCurrentException();
    }
}

void OutOfMemory() {
    if (AllocationsMayFail() > 0) throw std::bad_alloc();
    CrashWith(CrashKind::OutOfMemory, nullptr);
}

// Told by the exception that ended it, if one did.
void Terminated() {
    if (std::current_exception() != nullptr) CrashWithCurrentException();
    CrashWith(CrashKind::Terminated, nullptr);
}

}  // namespace

void InstallCrashReport() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    memoryReserve = VirtualAlloc(nullptr, MemoryReserveBytes, MEM_RESERVE, PAGE_NOACCESS);
    mayFailSlot = TlsAlloc();
    takeOverEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const HANDLE thread =
        takeOverEvent != nullptr ? CreateThread(nullptr, 0, TakeOver, nullptr, 0, &takeOverThreadId) : nullptr;
    if (thread != nullptr) {
        CloseHandle(thread);
    } else if (takeOverEvent != nullptr) {
        CloseHandle(takeOverEvent);
        takeOverEvent = nullptr;
    }
    SetUnhandledExceptionFilter(UnhandledException);
    std::set_new_handler(OutOfMemory);
    std::set_terminate(Terminated);
    CWnd::SetProcedureFrame(FramedProcedure);
}

void SetMainThreadAsk(DWORD threadId, MainThreadAsk ask) {
    mainThreadId = threadId;
    askMainThread = ask;
}

void RunPendingCrashReport() {
    if (claimed && mainThreadId == GetCurrentThreadId() && crash.threadId != mainThreadId) RunReport();
}

void ReleaseMemoryReserve() {
    if (void* reserve = memoryReserve.exchange(nullptr)) VirtualFree(reserve, 0, MEM_RELEASE);
}

AllocationMayFail::AllocationMayFail() { SetAllocationsMayFail(AllocationsMayFail() + 1); }

AllocationMayFail::~AllocationMayFail() {
    if (const uintptr_t count = AllocationsMayFail(); count > 0) SetAllocationsMayFail(count - 1);
}

}  // namespace quillet
