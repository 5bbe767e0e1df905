// Commands about the running program: pending events, the run directory.
#include "runtime/commands/command_list.h"
#include "runtime/commands/notify_runtime.h"
#include "runtime/values/text.h"

namespace quillet {

// Handlers of other events may run inside this command.
void ProcessEvents(CommandArg*, int32_t, CommandArg*) { NotifyRuntime(ServiceCode::ProcessEvents); }

void RunDirectory(CommandArg* result, int32_t, CommandArg*) {
    result->low = ReferenceWord(CopyText(reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::RunDirectory))));
    result->high = 0;
}

}  // namespace quillet
