// Commands on edit boxes.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/units/edit/edit_text.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/value_text.h"

namespace quillet::commands {

// A unit that is not loaded is a fatal error, reported by the lookup itself.
// Each text goes to the end of the box, whatever the caret position was; the
// edit box does the inserting, so that every change of its text has one way in.
void AppendText(CommandArg*, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    auto box = reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high)));
    // Each insertion raises ContentChanged, whose handler may close the window
    // (the rest is then dropped) or rebuild the box in a new window (the rest
    // goes on into that one).
    for (int32_t k = 1; k < argCount; ++k) {
        ScalarText scratch;
        const AppendOutcome outcome = AppendToEditBox(box, DisplayText(args[k], &scratch));
        if (outcome == AppendOutcome::NotEditBox) return;
        if (outcome == AppendOutcome::BoxClosed) {
            box = reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnit, unit.low, unit.high)));
            if (box == nullptr) return;
        }
    }
}

}  // namespace quillet::commands
