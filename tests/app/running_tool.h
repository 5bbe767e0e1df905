#pragma once
// quillet.exe run as a user runs it: started from a folder of its own, driven
// through its window with messages from this process, closed with WM_CLOSE.
// A watcher closes (and records) any message box it shows during its life.
#include <windows.h>

#include <memory>
#include <string>

#include "app/unit_ids.h"
#include "tests/support/message_box_watcher.h"

// How the tool is started besides its folder.
struct ToolStart {
    std::wstring arguments;  // after the program's name on its command line
    std::string startIn;     // the current folder it starts in; empty: its own folder
    int boxButton = IDOK;    // what the watcher presses on a box the tool shows
};

class RunningTool {
public:
    // Copies the built quillet.exe into the folder and starts it there, with
    // the folder's AppData as its application data; Started() tells whether its
    // window came up.
    explicit RunningTool(const std::string& folder, const ToolStart& start = {});
    ~RunningTool();  // ends the process if it still runs
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    bool Started() const { return window_ != nullptr; }

    // The window of a unit, found by the control id the loader gave it.
    HWND Unit(quillet::app::UnitId unit) const;
    std::string Text(quillet::app::UnitId unit) const;
    void SetText(quillet::app::UnitId unit, const std::string& text) const;
    // The same in UTF-16, as a paste brings any character.
    std::wstring WideText(quillet::app::UnitId unit) const;
    void SetWideText(quillet::app::UnitId unit, const std::wstring& text) const;

    // A click on a page's header of the tab control, and on a unit.
    void ShowPage(int32_t page) const;
    void Click(quillet::app::UnitId unit) const;

    // Waits until the unit's text satisfies the test, up to timeoutMs.
    template <typename Test>
    bool WaitForText(quillet::app::UnitId unit, Test test, DWORD timeoutMs = 20000) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            if (test(Text(unit))) return true;
            Sleep(50);
        }
        return false;
    }

    // Posts WM_CLOSE to the window and waits for the process to end; false on a timeout.
    bool Close(DWORD timeoutMs = 20000);
    DWORD ExitCode() const;
    // What the watcher saw over the process's whole life (call after Close), or,
    // when a box is expected, the first box it closed.
    SeenMessageBox Box();

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    std::unique_ptr<MessageBoxWatcher> watcher_;
};
