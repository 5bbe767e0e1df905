#pragma once
// What start-up, the message loops and the shutdown need of the program's
// windows, as one table that the window layer (window table, loading, events)
// provides. Until a table is installed the program has no windows: nothing to
// load, nothing live, nothing to release.
#include <windows.h>

#include <cstdint>

namespace quillet {

struct WindowLayer {
    // Start-up: reads the template data into the WindowTable, making handler
    // offsets absolute from handlerBase; false when the data is unreadable.
    bool (*DeserialiseTemplate)(const uint8_t* data, uint32_t size, uintptr_t handlerBase);
    // The WindowTable: its length, and per entry the window id and, while the
    // window's object exists and is a live window, its handle (else null). A
    // window whose destruction has begun no longer counts as live.
    int32_t (*WindowCount)();
    uint32_t (*WindowIdAt)(int32_t index);
    HWND (*LiveWindowAt)(int32_t index);
    // Loads the start-up window, not modal, without owner: 1 when loaded, 0 when
    // the id is not in the table or the load failed.
    uint32_t (*LoadStartupWindow)(uint32_t windowId);
    // Raises window event 7 (idle) with one argument, the milliseconds since the
    // idle period began; true when a handler returned a nonzero value.
    bool (*RaiseIdleEvent)(uint32_t windowId, uint32_t elapsedMs);
    // Shutdown: every window template releases its units' window objects,
    // cursors and accelerator table.
    void (*ReleaseWindows)();
    // The loops: one piece of the output units hold for their windows (false
    // when nothing is held), and a long run's progress brought up to date on
    // its window's title (held_handover.h, run_progress.h). Either may be null.
    bool (*HandOverHeldPiece)();
    void (*UpdateRunProgress)();
};
static_assert(sizeof(WindowLayer) == 9 * sizeof(void*), "a plain table of entry points");

// Null until a layer is installed.
const WindowLayer* InstalledWindowLayer();
void InstallWindowLayer(const WindowLayer* layer);

// The window table through the installed layer.
int32_t ProgramWindowCount();
bool AnyProgramWindowLive(uint32_t exceptWindowId = 0);

// The loops' entries through the installed layer; without one nothing is held.
bool HandOverHeldPieceToWindows();
void UpdateRunProgressOnWindows();

}  // namespace quillet
