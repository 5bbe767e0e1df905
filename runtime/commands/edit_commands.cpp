// Commands on edit boxes.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/commands/notify_runtime.h"
#include "runtime/commands/unit_window.h"
#include "runtime/commands/value_text.h"
#include "runtime/units/edit/edit_text.h"

namespace quillet {

// A unit that is not loaded is a fatal error, reported by the lookup itself.
// Each text goes to the end of the box, whatever the caret position was; the
// edit box does the inserting, so that every change of its text has one way in.
void AppendText(CommandArg*, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    const auto box = reinterpret_cast<HWND>(
        UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high)));
    // Each insertion raises ContentChanged, whose handler may close the window:
    // the rest is then dropped.
    for (int32_t k = 1; k < argCount; ++k) {
        ScalarText scratch;
        if (AppendToEditBox(box, DisplayText(args[k], &scratch)) != AppendOutcome::Appended) return;
    }
}

}  // namespace quillet
