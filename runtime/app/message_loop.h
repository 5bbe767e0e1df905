#pragma once
// The runtime's message loops and what runs between messages.
#include <windows.h>

#include <cstdint>

#include "runtime/app/runtime_app.h"

namespace quillet {

// Runs the modal loop of a window (modalWindowId = windowId) and restores the
// previous modal window id when it returns.
void RunModalLoop(uint32_t windowId);

// Pumps one message at a time while the queue holds one that is not WM_QUIT;
// a WM_QUIT stays queued.
void ProcessPendingEvents();

// What the main loop does until it would wait: the same, and the output units
// hold is handed over piece by piece, with waiting messages handled between
// pieces. For programs that pump on their own (tests, benchmarks).
void ProcessPendingEventsAndOutput();

// Service 2018, which handlers call once per line of a run: the same, except
// that in a tight loop of calls the queue is looked at only every few
// milliseconds (a look costs tens of microseconds); a call after a pause looks
// at once. A long run's held output is refreshed from here too.
void ProcessEventsPaced();

// The last step of a program window's destruction: a modal loop of that window
// ends, and once the main loop has started (QuitOnLastClose), the main loop is
// told to end (WM_QUIT, code 0) when no other program window lives.
void WindowDestroyed(uint32_t windowId);

// Services 1012 and 1013. Adding refuses a handle that is not a window or is
// listed already.
bool AddIdleCallback(const IdleCallback& callback);
void RemoveIdleCallback(HWND window);

}  // namespace quillet
