// Commands about the running program: pending events, progress, output on its
// way, the run directory, the files named on its command line, the texts kept
// when it crashes.
#include "runtime/commands/command_list.h"
#include "runtime/units/held_output.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/units/text_rescue.h"
#include "runtime/values/text.h"

namespace quillet::commands {

// Handlers of other events may run inside this command.
void ProcessEvents(CommandArg*, int32_t, CommandArg*) { NotifyRuntime(ServiceCode::ProcessEvents); }

// How far the running handler is: shown on its window once its run is long.
void ReportProgress(CommandArg*, int32_t argCount, CommandArg* args) {
    const auto done = static_cast<int32_t>(ArgumentAt(argCount, args, 0).low);
    const auto total = static_cast<int32_t>(ArgumentAt(argCount, args, 1).low);
    NotifyRuntime(ServiceCode::RunProgress, static_cast<uintptr_t>(done), static_cast<uintptr_t>(total));
}

void OutputPending(CommandArg* result, int32_t, CommandArg*) {
    result->low = HeldByteCount() > 0 ? 1u : 0u;
    result->high = 0;
}

// The variable's address comes as a reference; its text is read only when
// the process ends, so the program may change it as it likes meanwhile.
void KeepTextOnCrash(CommandArg*, int32_t argCount, CommandArg* args) {
    KeepForRescue(AsReference<char*>(ArgumentAt(argCount, args, 0)), TextArgument(ArgumentAt(argCount, args, 1)));
}

void RunDirectory(CommandArg* result, int32_t, CommandArg*) {
    result->low = Word(CopyText(reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::RunDirectory))));
    result->high = 0;
}

void CommandLineFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    const auto index = static_cast<int32_t>(ArgumentAt(argCount, args, 0).low);
    const auto* path = reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::CommandLineFile, static_cast<uintptr_t>(index)));
    result->low = Word(CopyText(path));
    result->high = 0;
}

}  // namespace quillet::commands
