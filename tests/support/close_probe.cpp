// A window with the tool's caption whose end on WM_CLOSE the test chooses, for
// the tests of scripts/run-program: CLOSE_PROBE_EXIT is the exit code it ends
// with, or "hang" to ignore WM_CLOSE as a program stuck in a loop would.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "tests/support/holds.h"

namespace {

bool hang = false;
int exitCode = 0;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (!hang) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(exitCode);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const char* mode = std::getenv("CLOSE_PROBE_EXIT");
    hang = mode != nullptr && std::strcmp(mode, "hang") == 0;
    exitCode = mode != nullptr && !hang ? std::atoi(mode) : 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "QuilletCloseProbe";
    // Without its window the probe would only wait to be killed; a crash tells the test why.
    const ATOM registered = RegisterClassA(&windowClass);
    ASSERT_HOLDS(registered != 0, "the probe's window class");
    HWND window = CreateWindowA("QuilletCloseProbe", "Quillet [Sandpost_tmwrk]", WS_OVERLAPPEDWINDOW, 100, 100,
                                400, 300, nullptr, nullptr, instance, nullptr);
    ASSERT_HOLDS(window != nullptr, "the probe's window");
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
