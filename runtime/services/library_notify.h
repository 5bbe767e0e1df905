#pragma once
// The libraries' part in start-up and shutdown: at start-up each library whose
// record has a notify function is handed the runtime's service dispatcher
// (request 1), and from then on its NotifyRuntime reaches the dispatcher; at
// shutdown each is told again, with its data word (request 6).
#include "runtime/app/program_info.h"

namespace quillet {

void NotifyLibrariesOfStart(const ProgramInfo& program);
void NotifyLibrariesOfShutdown();  // then the library table is cleared

}  // namespace quillet
