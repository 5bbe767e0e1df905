#pragma once
// The program's side of its contract with the runtime (program.cpp): the code
// area that starts with the two stubs and the handler entries, ProgramInfo,
// the template data and StartRoutine.
#include <cstdint>

#include "app/handler_list.h"
#include "app/handlers.h"
#include "runtime/app/program_info.h"
#include "runtime/events/event_dispatch.h"

namespace quillet::app {

extern const ProgramInfo QuilletProgramInfo;

// The window template's bytes (read-only data made from template_description.cpp).
extern const uint8_t WindowTemplateData[];
extern const uint32_t WindowTemplateSize;

// The start routine up to the loaded start-up window: the runtime initialised,
// the globals set up, the clean-up routine registered, window 0x52010001
// loaded. StartRoutine then runs the main loop; tests drive the window instead.
void StartUpToWindow();

// The start routine the runtime calls from InitInstance.
int StartRoutine();

}  // namespace quillet::app
