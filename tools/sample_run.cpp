// sample_run CAPTION: a first run as a new user makes it, for the README's
// picture: puts a short sample text into the main box of the shown window
// titled CAPTION, presses the first page's run button and waits until the
// footer has told what the run did (the title carries no progress then).
// Exit status: 0 done, 3 no such window or unit, 2 the run did not end in time.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/template_description.h"
#include "tools/window_search.h"

namespace {

// A poem with the clutter pasted text brings: doubled spaces, tabs, blank lines.
constexpr wchar_t SampleText[] =
    L"  静夜思\r\n\r\n"
    L"床前明月光，  疑是地上霜。\r\n"
    L"\r\n"
    L"\t举头望明月，\t低头思故乡。\r\n"
    L"   \r\n"
    L"—— 李白  \r\n"
    L"\r\n";

// A unit's window: units on a page are not the window's own children.
HWND UnitWindow(HWND window, quillet::app::UnitId unit) {
    const int32_t id = quillet::app::LoadedControlId(unit);
    return id < 0 ? nullptr : FindDescendantWithId(window, id);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample_run CAPTION\n");
        return 3;
    }
    HWND window = FindShownWindowTitled(argv[1]);
    HWND box = window != nullptr ? UnitWindow(window, quillet::app::Unit::MainBox) : nullptr;
    HWND button = window != nullptr ? UnitWindow(window, quillet::app::Unit::CleanupButton) : nullptr;
    if (box == nullptr || button == nullptr) {
        std::fprintf(stderr, "sample_run: no tool window titled \"%s\"\n", argv[1]);
        return 3;
    }
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(SampleText));
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The run is over once the text has changed and the title is the program's own again.
    for (int wait = 0; wait < 100; ++wait) {
        Sleep(100);
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (GetWindowTextLengthW(box) < static_cast<int>(wcslen(SampleText)) && std::strcmp(title, argv[1]) == 0)
            return 0;
    }
    std::fprintf(stderr, "sample_run: the run did not end within 10 s\n");
    return 2;
}
