// How large a text the tool holds: a text of MB megabytes put into the main box
// as a dropped file's text is put there (a Content write, with the text before
// it kept for undo), then one tool run over it in the real window, and undo.
// Run through bench/file_load.sh, one process per size and tool:
//   file_load_bench.exe MB TOOL [RUNS]
// RUNS (default 1) runs of the tool one after the other, each on the last one's result.
// TOOL is numbering (start 1, suffix "、", zero fill, blank lines skipped) or
// replace (three pairs), the two that need most memory. Lines average about
// 60 bytes of GBK and ASCII words. Prints a row after each step (so that a
// process that dies shows how far it came): the step, the box's text in MB,
// whether the box holds all of it, the working set and its peak so far, the
// committed private memory's peak so far and the largest free range of the
// address space (MB): a 32-bit process fails for want of the last two.
// A message box (the runtime's fatal report when memory runs out, naming the
// file the box's text was saved into) is printed and closed.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/globals.h"
#include "app/program.h"
#include "app/unit_ids.h"
#include "bench/bench_window.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/errors/crash_report.h"
#include "runtime/services/compiled_code.h"
#include "runtime/template/window_table.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/message_box_watcher.h"

namespace {

using namespace quillet;
using app::MainWindow;
using namespace bench;

double MegaBytes(double bytes) { return bytes / (1024.0 * 1024.0); }

// A small linear congruential generator: the same text for the same size on every run.
class Random {
public:
    uint32_t Below(uint32_t limit) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % limit;
    }

private:
    uint32_t state_ = 20240501u;
};

constexpr char Hanzi[] = "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说"
                         "产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从";
constexpr const char* Words[] = {"text", "line", "Quillet", "abc", "tool", "data", "hello", "edit", "2024"};

// Lines of one to sixteen words, one in ten empty, ended by CR LF.
std::string GeneratedText(size_t bytes) {
    Random random;
    std::string text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        if (random.Below(10) != 0) {
            for (uint32_t w = 1 + random.Below(16); w > 0; --w) {
                if (random.Below(2) == 0) {
                    text += Words[random.Below(sizeof Words / sizeof Words[0])];
                } else {
                    for (uint32_t k = 1 + random.Below(4); k > 0; --k)
                        text.append(Hanzi + 2 * random.Below((sizeof Hanzi - 1) / 2), 2);
                }
                if (w > 1) text += random.Below(8) == 0 ? "\xA1\xA1" : " ";
            }
        }
        text += "\r\n";
    }
    return text;
}

// The largest range of free addresses: what the next big block must fit in.
double LargestFreeRange() {
    SIZE_T largest = 0;
    MEMORY_BASIC_INFORMATION range{};
    for (const char* at = nullptr; VirtualQuery(at, &range, sizeof range) == sizeof range;) {
        if (range.State == MEM_FREE && range.RegionSize > largest) largest = range.RegionSize;
        const char* next = static_cast<const char*>(range.BaseAddress) + range.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return MegaBytes(static_cast<double>(largest));
}

// One row: the box's text as the runtime reads it, and whether the control
// holds all of it (its UTF-16 length against the text's).
void Report(const char* step) {
    ProcessPendingEventsAndOutput();
    compiled::OwnedText text = compiled::ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    const size_t size = text.Get() != nullptr ? std::strlen(text.Get()) : 0;
    const size_t wide = WideLength(text.Get() != nullptr ? text.Get() : "", size);
    const bool whole = static_cast<size_t>(GetWindowTextLengthW(Handle(Unit::MainBox))) == wide;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("%-10s %8.1f %-5s %8.1f %8.1f %8.1f %8.1f\n", step, MegaBytes(static_cast<double>(size)),
                whole ? "whole" : "CUT", MegaBytes(static_cast<double>(counters.WorkingSetSize)),
                MegaBytes(static_cast<double>(counters.PeakWorkingSetSize)),
                MegaBytes(static_cast<double>(counters.PeakPagefileUsage)), LargestFreeRange());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const bool arguments = argc == 3 || argc == 4;
    const double mb = arguments ? std::atof(argv[1]) : 0;
    const bool numbering = arguments && std::strcmp(argv[2], "numbering") == 0;
    const bool replace = arguments && std::strcmp(argv[2], "replace") == 0;
    const int runs = argc == 4 ? std::atoi(argv[3]) : 1;
    if (mb <= 0 || (!numbering && !replace) || runs < 1) {
        std::fprintf(stderr, "usage: file_load_bench MB TOOL [RUNS] (TOOL: numbering, replace)\n");
        return 2;
    }
    // The watch ends with the bench (this event), or at the first box.
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WatchOptions options;
    options.process = finished;
    options.timeoutMs = INFINITE;
    // Printed from the watching thread: a fatal report never returns to main.
    options.whileShown = [](HWND box) {
        char text[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        std::printf("message box: %s\n", text);
        std::fflush(stdout);
    };
    MessageBoxWatcher watcher(IDOK, options);

    // As quillet.exe starts (RuntimeApp::InitInstance): memory that runs out in
    // the run ends in the crash report, which saves the box's text first.
    InstallCrashReport();
    app::StartUpToWindow();
    ProcessPendingEvents();
    {
        const std::string text = GeneratedText(static_cast<size_t>(mb * 1024 * 1024));
        Report("idle");
        // As the drop handler does: the old text kept for undo, the new one written whole.
        app::UndoText = compiled::ReadText(MainWindow, Unit::MainBox, Property::EditContent);
        app::UndoSaved = true;
        SetText(Unit::MainBox, text);
    }
    Report("loaded");
    ShowPage(numbering ? 1 : 2);
    numbering ? PrepareNumbering() : PrepareReplace();
    for (int run = 0; run < runs; ++run) {
        Click(numbering ? Unit::NumberingButton : Unit::ReplaceButton);
        Report(numbering ? "numbered" : "replaced");
    }
    Click(Unit::UndoLabel);
    Report("undone");
    SetEvent(finished);
    watcher.Result();
    CloseHandle(finished);
    return 0;
}
