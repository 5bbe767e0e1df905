#pragma once
// Runs a program as a user would: starts it, closes the message box it shows
// (reading it first) and reports how it ended.
#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/message_box_watcher.h"

struct ChildRun {
    bool started = false;
    bool finished = false;  // ended by itself within the time limit
    DWORD exitCode = 0;     // ExitProcess(-1) reads as 0xFFFFFFFF
    SeenMessageBox box;     // box.found is false when it showed none
};

// What a test does meanwhile: once the process is started, and while its box
// shows (before the press).
struct ChildWatch {
    std::function<void(HANDLE process)> started = nullptr;
    std::function<void(HWND box)> whileShown = nullptr;
};

// commandLine as CreateProcessA takes it; the box is closed with buttonId.
ChildRun RunChildProcess(const std::string& commandLine, int buttonId = IDOK, DWORD timeoutMs = 30000,
                         const ChildWatch& watch = {});

// The full path of a file beside the running test executable (a program built there, a file a test writes).
std::string BesideTests(const char* fileName);
