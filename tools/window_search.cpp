#include "tools/window_search.h"

#include <cstring>

namespace {

struct Search {
    const std::function<bool(HWND)>& match;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!search->match(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindWindowWhere(HWND parent, const std::function<bool(HWND)>& match) {
    Search search{match, nullptr};
    if (parent == nullptr)
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    else
        EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HWND FindShownWindowTitled(const char* caption) {
    return FindWindowWhere(nullptr, [caption](HWND window) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        return IsWindowVisible(window) && std::strcmp(title, caption) == 0;
    });
}

HWND FindDescendantWithId(HWND window, int32_t id) {
    return FindWindowWhere(window, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}
