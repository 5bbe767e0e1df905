// close_window CAPTION SECONDS: closes a program the way a user does, for
// scripts/run-program, which has no user to click the close button. Posts
// WM_CLOSE to the shown top-level window titled CAPTION, waits up to SECONDS
// for its process to end and prints that process's exit code.
// Exit status: 0 the program ended (whatever its code), 2 it did not end in
// time, 3 no such window, 4 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tools/window_search.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: close_window CAPTION SECONDS\n");
        return 4;
    }
    const DWORD timeoutMs = static_cast<DWORD>(std::atoi(argv[2])) * 1000;
    HWND window = FindShownWindowTitled(argv[1]);
    DWORD processId = 0;
    if (window != nullptr) GetWindowThreadProcessId(window, &processId);
    // Opened before the close, so the exit code can still be read once it has ended.
    HANDLE process =
        processId != 0 ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;
    if (process == nullptr) {
        std::fprintf(stderr, "close_window: no shown window titled \"%s\"\n", argv[1]);
        return 3;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "close_window: \"%s\" did not end within %s s of WM_CLOSE\n", argv[1], argv[2]);
        return 2;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    // A code above 255 (a crash's status, ExitProcess(-1)) also in hex: the shell sees only its low byte.
    if (code > 255)
        std::printf("%ld (0x%08lx)\n", static_cast<long>(code), static_cast<unsigned long>(code));
    else
        std::printf("%lu\n", static_cast<unsigned long>(code));
    return 0;
}
