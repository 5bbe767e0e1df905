#include "tools/window_search.h"

#include <cstring>

namespace {

struct TitleSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || std::strcmp(title, search->caption) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

struct IdSearch {
    int32_t id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<IdSearch*>(param);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindShownWindowTitled(const char* caption) {
    TitleSearch search{caption, nullptr};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendantWithId(HWND window, int32_t id) {
    IdSearch search{id, nullptr};
    EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
