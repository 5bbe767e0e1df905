// How long a click on the main box's scroll bar takes while a big result is
// still on its way into the box, and where it leaves the view:
//   held_click_bench.exe [LINES]
// Runs the cleanup page's defaults on a generated text of LINES lines (default
// 650,000: about 8 MB of result), handles the click on 执行 but none of the
// pieces that follow it, then clicks the box's vertical scroll bar above its
// thumb (a page up: the box shows the end of what it has) as the mouse does.
// Prints the bytes still held before and after the click, the click's time,
// and the box's first visible line before and after: the click should take
// the time of a page up, move the view by a page, and hand nothing over.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "bench/bench_text.h"
#include "bench/bench_window.h"
#include "runtime/units/held_output.h"

namespace {

using namespace quillet;
using namespace bench;

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MegaBytes(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The line at the top of the box as the EDIT class's own procedure tells it:
// asking the box itself would have its held text handed over first.
LRESULT FirstVisibleLine(HWND box) {
    WNDCLASSW editClass{};
    GetClassInfoW(nullptr, L"EDIT", &editClass);
    return CallWindowProcW(editClass.lpfnWndProc, box, EM_GETFIRSTVISIBLELINE, 0, 0);
}

// A press and release on the vertical scroll bar, a little below its up arrow.
void ClickPageUp(HWND box) {
    RECT area;
    GetWindowRect(box, &area);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const POINT at{area.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 1, area.top + 3 * arrow};
    PostMessageW(box, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(at.x, at.y));
    POINT client = at;
    ScreenToClient(box, &client);
    PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

}  // namespace

int main(int argc, char** argv) {
    const int32_t lines = argc > 1 ? std::atoi(argv[1]) : 650000;
    if (lines <= 0) {
        std::fprintf(stderr, "usage: held_click_bench [LINES]\n");
        return 2;
    }
    app::StartUpToWindow();
    ProcessPendingEvents();
    HWND box = Handle(Unit::MainBox);
    SetText(Unit::MainBox, GeneratedText(lines));
    PostMessageW(Handle(Unit::CleanupButton), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(Handle(Unit::CleanupButton), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ProcessPendingEvents();  // the handler; the pieces wait for an idle loop

    const size_t heldBefore = HeldByteCount();
    const LRESULT topBefore = FirstVisibleLine(box);
    const double started = Milliseconds();
    ClickPageUp(box);
    ProcessPendingEvents();
    const double clickMs = Milliseconds() - started;
    const size_t heldAfter = HeldByteCount();
    const LRESULT topAfter = FirstVisibleLine(box);
    std::printf("lines %d: held %.1f MB before the click, %.1f MB after; click %.1f ms; first visible line %ld -> %ld\n",
                lines, MegaBytes(heldBefore), MegaBytes(heldAfter), clickMs, static_cast<long>(topBefore),
                static_cast<long>(topAfter));
    return 0;
}
