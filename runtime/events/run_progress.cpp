#include "runtime/events/run_progress.h"

#include <algorithm>

#include "framework/wnd.h"
#include "runtime/template/window_table.h"
#include "runtime/units/held_output.h"
#include "runtime/values/cycle_clock.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

// A run shorter than this shows nothing; after it the title changes at most
// this often (a title costs the window a frame repaint).
constexpr double FirstShowMs = 500;
constexpr double ShowPeriodMs = 250;

enum class RunStage {
    None,      // no run
    Handler,   // the outermost handler is running
    HandOver,  // it has returned; its units still hold output
};

struct Run {
    RunStage stage = RunStage::None;
    uint32_t number = 0;         // counts the runs begun in this process; kept after a run ends
    uint32_t windowId = 0;       // the window whose event started the run
    uint64_t started = 0;        // cycle count at the start (or after a message box)
    uint64_t nextShow = 0;       // no title change before this cycle count
    int32_t done = 0;            // Handler: steps reported done
    int32_t total = 0;           // Handler: steps in all; 0 when nothing was reported
    size_t heldAtStart = 0;      // HandOver: bytes held when the handler returned (or more, if more came)
    int32_t shownPercent = -1;   // the stage's percentage last shown: it never goes back
    HWND shownOn = nullptr;      // the window whose title shows the progress; null until shown
    std::string title;           // its title without the progress
    std::string shownTitle;      // the title last put on it
};

Run& TheRun() {
    static Run run;
    return run;
}

uint64_t Cycles(double ms) { return static_cast<uint64_t>(ms * CyclesPerMillisecond()); }

HWND WindowOf(uint32_t windowId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    auto* object = window != nullptr ? static_cast<CWnd*>(window->WindowObject()) : nullptr;
    HWND handle = object != nullptr ? object->GetSafeHwnd() : nullptr;
    return handle != nullptr && IsWindow(handle) ? handle : nullptr;
}

bool PointerOver(HWND window) {
    POINT at;
    if (!GetCursorPos(&at)) return false;
    HWND under = WindowFromPoint(at);
    return under != nullptr && (under == window || IsChild(window, under));
}

// The pointer takes the window's own cursor again, as after a move.
void RestorePointer(HWND window) {
    POINT at;
    if (!GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    if (under == nullptr || (under != window && !IsChild(window, under))) return;
    const auto hit = static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

int32_t Percent(const Run& run) {
    if (run.stage == RunStage::HandOver) {
        const size_t held = HeldByteCount();
        if (run.heldAtStart == 0) return 100;
        return static_cast<int32_t>(100 * static_cast<uint64_t>(run.heldAtStart - std::min(held, run.heldAtStart)) /
                                    run.heldAtStart);
    }
    if (run.total <= 0) return -1;
    const int64_t done = std::clamp<int64_t>(run.done, 0, run.total);
    return static_cast<int32_t>(100 * done / run.total);
}

void Show(Run& run) {
    HWND window = run.shownOn != nullptr ? run.shownOn : WindowOf(run.windowId);
    if (window == nullptr || !IsWindow(window)) return;
    if (run.shownOn == nullptr) {
        run.shownOn = window;
        run.title = ReadWindowText(window);
        if (PointerOver(window)) SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)));
    } else {
        const std::string now = ReadWindowText(window);
        if (now != run.shownTitle) run.title = now;  // the program wrote a title of its own
    }
    run.shownPercent = std::max(run.shownPercent, Percent(run));
    run.shownTitle = run.title + RunProgressSuffix(run.stage == RunStage::HandOver, run.shownPercent);
    WriteWindowText(window, run.shownTitle);
}

void EndRun() {
    Run& run = TheRun();
    HWND window = run.shownOn;
    const std::string title = run.title;
    const bool restoreTitle = window != nullptr && IsWindow(window) && ReadWindowText(window) == run.shownTitle;
    const uint32_t number = run.number;
    run = Run{};
    run.number = number;
    if (window == nullptr || !IsWindow(window)) return;
    if (restoreTitle) WriteWindowText(window, title);
    RestorePointer(window);
}

}  // namespace

std::string RunProgressSuffix(bool handOver, int32_t percent) {
    const std::string stage = handOver ? " — 写入" : " — 处理";
    return percent < 0 ? stage + "中…" : stage + " " + std::to_string(percent) + "%";
}

void BeginRun(uint32_t windowId) {
    Run& run = TheRun();
    // A handler of the same window while the output is still coming (a key, a
    // resize) runs within the run, which goes on as it was.
    if (run.stage == RunStage::HandOver && run.windowId == windowId) return;
    // A run of another window takes over the title.
    if (run.stage != RunStage::None) EndRun();
    run.stage = RunStage::Handler;
    ++run.number;
    run.windowId = windowId;
    run.started = CycleCount();
    run.nextShow = run.started + Cycles(FirstShowMs);
    run.done = 0;
    run.total = 0;
    run.heldAtStart = 0;
}

void EndRunHandler() {
    Run& run = TheRun();
    if (run.stage != RunStage::Handler) return;
    run.heldAtStart = HeldByteCount();
    if (run.heldAtStart == 0) {
        EndRun();
        return;
    }
    run.stage = RunStage::HandOver;
    run.shownPercent = -1;
    // The stage changes at once when the run is showing already.
    if (run.shownOn != nullptr) run.nextShow = 0;
    UpdateRunProgress();
}

void NoteRunSteps(int32_t done, int32_t total) {
    Run& run = TheRun();
    if (run.stage != RunStage::Handler) return;
    run.done = done;
    run.total = total;
    UpdateRunProgress();
}

void RestartRunClock() {
    Run& run = TheRun();
    if (run.stage == RunStage::None || run.shownOn != nullptr) return;
    run.started = CycleCount();
    run.nextShow = run.started + Cycles(FirstShowMs);
}

void UpdateRunProgress() {
    Run& run = TheRun();
    if (run.stage == RunStage::None) return;
    if (run.stage == RunStage::HandOver) {
        const size_t held = HeldByteCount();
        if (held == 0) {
            EndRun();
            return;
        }
        run.heldAtStart = std::max(run.heldAtStart, held);
    }
    const uint64_t now = CycleCount();
    if (now < run.nextShow) return;
    run.nextShow = now + Cycles(ShowPeriodMs);
    Show(run);
}

bool RunUnderWay(uint32_t windowId) {
    const Run& run = TheRun();
    return run.stage != RunStage::None && run.windowId == windowId;
}

uint32_t RunNumber() {
    const Run& run = TheRun();
    return run.stage != RunStage::None ? run.number : 0;
}

bool ShowsRunProgress(HWND window) {
    const Run& run = TheRun();
    return window != nullptr && run.stage != RunStage::None && run.shownOn == window;
}

}  // namespace quillet
