#pragma once
// Finding another program's windows, for the helpers the scripts run and the
// tests that watch a child process.
#include <windows.h>

#include <cstdint>
#include <functional>

// The first window `match` accepts: a top-level one where `parent` is null,
// else one of `parent`'s descendants; null when it accepts none.
HWND FindWindowWhere(HWND parent, const std::function<bool(HWND)>& match);

// The id of the process that made `window`.
DWORD ProcessOf(HWND window);

// The shown top-level window titled exactly `caption`; null when there is none.
HWND FindShownWindowTitled(const char* caption);

// The window with this control id among all of `window`'s descendants; null when none has it.
HWND FindDescendantWithId(HWND window, int32_t id);
