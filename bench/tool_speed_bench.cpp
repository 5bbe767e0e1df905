// How long each tool takes on a big text in the real window, against the floor:
// the time to put the tool's final text into the same edit box once
// (SetWindowTextW: the box is a Unicode window) and read it back once
// (GetWindowTextW), measured in the same process right after the run. Run through bench/tool_speed.sh, which starts
// one process per tool and size (so that each peak of memory is its own):
//   tool_speed_bench.exe TOOL LINES
// TOOL is cleanup (the page's default options), cleanup-all (all five passes),
// numbering (start 1, suffix "、", zero fill, blank lines skipped) or replace
// (three pairs). Prints one row: tool, lines, bytes, tool time (from the click
// until the box's text has been read back), floor time, their ratio; the peak
// working set above the idle window with its box empty, and above the idle
// window holding the text (MB, and as a multiple of the text's size); and the
// longest time the thread went without handling a timer message in the run.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program.h"
#include "app/unit_ids.h"
#include "bench/bench_text.h"
#include "bench/bench_window.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/services/compiled_code.h"
#include "runtime/template/window_table.h"

namespace {

using namespace quillet;
using app::MainWindow;
using namespace bench;

// <chrono> does not build with the GBK execution character set: the performance counter instead.
double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MegaBytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// ---- the window ----

// The control's own text, as any program reads it, in the control's own width.
std::wstring ControlText(HWND box) {
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), length + 1)));
    return text;
}

// ---- the longest stretch without handling messages ----

double lastTick = 0;     // when the timer was last handled; 0 while not watching
double longestGap = 0;   // the longest time between two handled timer messages

void CALLBACK NoteTick(HWND, UINT, UINT_PTR, DWORD) {
    const double now = Seconds();
    if (lastTick > 0 && now - lastTick > longestGap) longestGap = now - lastTick;
    lastTick = now;
}

// ---- the tools ----

struct Tool {
    const char* name;
    int32_t page;
    app::UnitId button;
    void (*prepare)();  // sets the page's options
};

// The cleanup page: spaces, tabs and blank lines removed; lines trimmed and joined or not.
void PrepareCleanupWith(bool trimAndJoin) {
    SetChecked(Unit::RemoveSpacesBox, true);
    SetChecked(Unit::TrimBox, trimAndJoin);
    SetChecked(Unit::RemoveTabsBox, true);
    SetChecked(Unit::RemoveBlankLinesBox, true);
    SetChecked(Unit::JoinLinesBox, trimAndJoin);
}
void PrepareCleanup() { PrepareCleanupWith(false); }
void PrepareCleanupAll() { PrepareCleanupWith(true); }

constexpr Tool Tools[] = {
    {"cleanup", 0, Unit::CleanupButton, PrepareCleanup},
    {"cleanup-all", 0, Unit::CleanupButton, PrepareCleanupAll},
    {"numbering", 1, Unit::NumberingButton, PrepareNumbering},
    {"replace", 2, Unit::ReplaceButton, PrepareReplace},
};

const Tool* ToolNamed(const char* name) {
    for (const Tool& tool : Tools)
        if (std::strcmp(tool.name, name) == 0) return &tool;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const Tool* tool = argc == 3 ? ToolNamed(argv[1]) : nullptr;
    const int32_t lines = argc == 3 ? std::atoi(argv[2]) : 0;
    if (tool == nullptr || lines <= 0) {
        std::fprintf(stderr, "usage: tool_speed_bench TOOL LINES (TOOL: cleanup, cleanup-all, numbering, replace)\n");
        return 2;
    }
    app::StartUpToWindow();
    ProcessPendingEvents();
    const std::string input = GeneratedText(lines);
    // The idle window, its box empty; the bench's own copy of the text is not the tool's.
    const SIZE_T idle = Memory().WorkingSetSize;

    HWND box = Handle(Unit::MainBox);
    ShowPage(tool->page);
    tool->prepare();
    SetText(Unit::MainBox, input);
    // The idle window with the text in its box, as a user leaves it before a run.
    const SIZE_T idleWithText = Memory().WorkingSetSize;

    // A timer on its own, handled whenever the thread handles messages.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, NoteTick);
    const double started = Seconds();
    lastTick = started;
    Click(tool->button);
    // The peak over the process's life so far; the run's own is the highest here.
    const SIZE_T peak = Memory().PeakWorkingSetSize;
    const std::wstring result = ControlText(box);
    const double toolTime = Seconds() - started;
    NoteTick(nullptr, 0, 0, 0);
    KillTimer(nullptr, timer);

    // The floor on the same box, as the run left it: the text it holds is
    // replaced, as the run replaced the input.
    const double floorStarted = Seconds();
    SetWindowTextW(box, result.c_str());
    const std::wstring readBack = ControlText(box);
    const double floorTime = Seconds() - floorStarted;
    if (readBack != result) std::fprintf(stderr, "the floor's text did not come back unchanged\n");

    const double textMb = MegaBytes(input.size());
    const double aboveIdle = MegaBytes(peak > idle ? peak - idle : 0);
    const double aboveWithText = MegaBytes(peak > idleWithText ? peak - idleWithText : 0);
    std::printf("%-12s %9d %11u %8.3f %8.3f %6.2f %8.1f %5.1f %8.1f %5.1f %7.3f\n", tool->name, lines,
                static_cast<unsigned>(input.size()), toolTime, floorTime, toolTime / floorTime, aboveIdle,
                aboveIdle / textMb, aboveWithText, aboveWithText / textMb, longestGap);
    return 0;
}
