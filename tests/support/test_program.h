#pragma once
// A test process that runs as a program of the runtime: its ProgramInfo names
// the unit libraries the test wants (the real one, or a library of the test's
// own), the runtime is initialised once, and windows come from templates that
// the test writes.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/events/event_dispatch.h"
#include "runtime/services/library_info.h"
#include "runtime/template/template_writer.h"

namespace testprogram {

// Initialises the runtime for a program with this one library (once per process).
void Start(const quillet::LibraryInfo& library);

// The program's code as the runtime expects it: the two stubs, then HandlerBase
// with one jump entry per handler. Entries are made as tests bind handlers;
// entry 0 (offset 0) is FirstHandler, a handler that does nothing.
uintptr_t HandlerBase();
int32_t HandlerOffset(quillet::EventHandler handler);
quillet::HandlerResult FirstHandler(const uint32_t* args, int32_t count);

// Deserialises the descriptions into the program's window table.
bool UseTemplate(const std::vector<quillet::WindowDescription>& windows);

// Loads a window of the table (no owner, not modal) and gives it its first show; 1 when loaded.
int32_t Load(uint32_t windowId);

// Closes every loaded window and handles what that queues.
void CloseAll();

// Handles queued messages through the runtime's loop (service 2018).
void Pump();

// The live handle of a record of a loaded window (unit id 0: the window), or null.
HWND HandleOf(uint32_t windowId, uint32_t unitId);

}  // namespace testprogram
