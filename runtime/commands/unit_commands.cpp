// Commands on a unit of any type.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/units/notify_runtime.h"

namespace quillet::commands {

// Puts the keyboard focus in the unit's window, as a click there would; a
// hidden or disabled unit does not take it. A unit that is not loaded is a
// fatal error, reported by the lookup itself. The result is a logical: whether
// the unit has the focus afterwards.
void FocusUnit(CommandArg* result, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    auto window = reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high)));
    if (window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window)) SetFocus(window);
    result->low = window != nullptr && GetFocus() == window ? 1u : 0u;
}

}  // namespace quillet::commands
