#pragma once
// Watches for a message box (dialog class "#32770") of this process or of a child
// process on a thread of its own, reads its title, text and buttons, then presses
// a chosen button. The process showing the box runs its modal loop meanwhile.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    bool found = false;
    std::string title;
    std::string text;                   // the message, GBK bytes as the box holds them
    std::vector<int> buttonIds;         // visible buttons, in the box's child order
    std::vector<std::string> buttonCaptions;
    int pressed = 0;                    // id of the button pressed
    DWORD threadId = 0;                 // the thread that showed it
    HWND handle = nullptr;              // the box's window, gone once it was answered
};

struct WatchOptions {
    DWORD processId = 0;                     // 0: this process
    HANDLE process = nullptr;                // the watch also ends when this process ends
    DWORD timeoutMs = 15000;
    std::function<void(HWND box)> whileShown = nullptr;  // runs on the watching thread before the press
};

class MessageBoxWatcher {
public:
    // Presses the button with buttonId (IDOK, IDYES, IDNO, ...), or the box's first
    // button when it has none with that id. The watch ends once a box was handled,
    // when the watched process has ended, or after the time limit.
    explicit MessageBoxWatcher(int buttonId, WatchOptions options = {});
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Waits for the watch to end and gives what was read.
    SeenMessageBox Result();

private:
    void Watch();

    int buttonId_;
    WatchOptions options_;
    SeenMessageBox seen_;
    std::thread thread_;
};
