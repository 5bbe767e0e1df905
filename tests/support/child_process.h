#pragma once
// Runs a program as a user would: starts it, closes the message box it shows
// (reading it first) and reports how it ended.
#include <windows.h>

#include <string>

#include "tests/support/message_box_watcher.h"

struct ChildRun {
    bool started = false;
    bool finished = false;  // ended by itself within the time limit
    DWORD exitCode = 0;     // ExitProcess(-1) reads as 0xFFFFFFFF
    SeenMessageBox box;     // box.found is false when it showed none
};

// commandLine as CreateProcessA takes it; the box is closed with buttonId.
ChildRun RunChildProcess(const std::string& commandLine, int buttonId = IDOK, DWORD timeoutMs = 30000);

// The full path of a file beside the running test executable (a program built there, a file a test writes).
std::string BesideTests(const char* fileName);
