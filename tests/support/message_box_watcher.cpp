#include "tests/support/message_box_watcher.h"

#include <utility>

#include "runtime/values/text_encoding.h"
#include "tools/window_search.h"

namespace {

constexpr DWORD PollMs = 20;
constexpr UINT SendTimeoutMs = 3000;

std::string ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return quillet::TextFromWide(name);
}

// WM_GETTEXT reaches windows of other threads and processes (GetWindowText
// does not ask them).
std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, SendTimeoutMs, &copied))
        return {};
    return quillet::TextFromWide(text.c_str());
}

BOOL CALLBACK ReadControl(HWND control, LPARAM param) {
    auto* seen = reinterpret_cast<SeenMessageBox*>(param);
    const std::string kind = ClassName(control);
    if (kind == "Button" && IsWindowVisible(control)) {
        seen->buttonIds.push_back(GetDlgCtrlID(control));
        seen->buttonCaptions.push_back(WindowText(control));
    } else if (kind == "Static" && seen->text.empty()) {
        seen->text = WindowText(control);  // the icon's static has no text
    }
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int buttonId, WatchOptions options)
    : buttonId_(buttonId), options_(std::move(options)) {
    if (options_.processId == 0) options_.processId = GetCurrentProcessId();
    thread_ = std::thread([this] { Watch(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    if (thread_.joinable()) thread_.join();
}

SeenMessageBox MessageBoxWatcher::Result() {
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void MessageBoxWatcher::Watch() {
    const DWORD start = GetTickCount();
    const auto isBox = [this](HWND window) {
        return ProcessOf(window) == options_.processId && IsWindowVisible(window) && ClassName(window) == "#32770";
    };
    HWND box = nullptr;
    while ((box = FindWindowWhere(nullptr, isBox)) == nullptr) {
        if (options_.process != nullptr && WaitForSingleObject(options_.process, 0) == WAIT_OBJECT_0) return;
        if (GetTickCount() - start > options_.timeoutMs) return;
        Sleep(PollMs);
    }
    seen_.found = true;
    seen_.threadId = GetWindowThreadProcessId(box, nullptr);
    seen_.handle = box;
    seen_.title = WindowText(box);
    EnumChildWindows(box, ReadControl, reinterpret_cast<LPARAM>(&seen_));
    if (options_.whileShown) options_.whileShown(box);

    int press = seen_.buttonIds.empty() ? IDCANCEL : seen_.buttonIds.front();
    for (int id : seen_.buttonIds)
        if (id == buttonId_) press = id;
    seen_.pressed = press;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
}
