// Commands on edit boxes.
#include "runtime/commands/command_list.h"
#include "runtime/commands/notify_runtime.h"
#include "runtime/commands/value_text.h"
#include "runtime/units/edit/edit_text.h"

namespace quillet {

// A unit that is not loaded is a fatal error, reported by the lookup itself.
// Each text goes to the end of the box, whatever the caret position was; the
// edit box does the inserting, so that every change of its text has one way in.
void AppendText(CommandArg*, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    void* box = reinterpret_cast<void*>(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high));
    if (box == nullptr) return;
    for (int32_t k = 1; k < argCount; ++k) {
        ScalarText scratch;
        if (!AppendToEditBox(box, DisplayText(args[k], &scratch))) return;  // not an edit box
    }
}

}  // namespace quillet
