#include "tests/support/child_process.h"

#include <vector>

ChildRun RunChildProcess(const std::string& commandLine, int buttonId, DWORD timeoutMs, const ChildWatch& watch) {
    ChildRun run;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return run;
    run.started = true;
    {
        MessageBoxWatcher watcher(buttonId, {process.dwProcessId, process.hProcess, timeoutMs, watch.whileShown});
        if (watch.started) watch.started(process.hProcess);
        run.finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!run.finished) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        run.box = watcher.Result();
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

std::string BesideTests(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + fileName;
}
