#pragma once
// What the probe programs share (app_probe, runtime_probe): the scenario a
// test names on the command line, and the record file they append a line to
// per step for the test to read.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "tests/support/holds.h"

namespace probeprogram {

struct Scenario {
    const char* name;
    void (*run)();
};

// The scenario called `name`, or null.
template <size_t N>
const Scenario* Named(const Scenario (&scenarios)[N], const char* name) {
    for (const Scenario& scenario : scenarios)
        if (std::strcmp(scenario.name, name) == 0) return &scenario;
    return nullptr;
}

// Appends the line to the file; other threads of the probe may append at the
// same time. A record that cannot be written ends the probe at once: its test
// would otherwise read a shorter story and blame the runtime for it.
inline void AppendLine(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    ASSERT_HOLDS(file != INVALID_HANDLE_VALUE, path.c_str());
    const std::string text = line + "\n";
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_HOLDS(wrote != FALSE && written == text.size(), path.c_str());
}

}  // namespace probeprogram
