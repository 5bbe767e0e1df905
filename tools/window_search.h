#pragma once
// Finding another program's windows, for the helpers the scripts run.
#include <windows.h>

#include <cstdint>

// The shown top-level window titled exactly `caption`; null when there is none.
HWND FindShownWindowTitled(const char* caption);

// The window with this control id among all of `window`'s descendants; null when none has it.
HWND FindDescendantWithId(HWND window, int32_t id);
