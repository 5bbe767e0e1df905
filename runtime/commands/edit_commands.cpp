// Commands on edit boxes.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/commands/notify_runtime.h"
#include "runtime/commands/unit_window.h"
#include "runtime/commands/value_text.h"

namespace quillet {
namespace {

// At the end of the box, whatever the caret position was; wParam 0 keeps the
// insertion out of the control's undo buffer.
void AppendAtEnd(HWND edit, const char* text) {
    const int length = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

// A unit that is not loaded is a fatal error, reported by the lookup itself.
void AppendText(CommandArg*, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    const auto edit = reinterpret_cast<HWND>(
        UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high)));
    if (edit == nullptr) return;
    for (int32_t k = 1; k < argCount; ++k) {
        ScalarText scratch;
        AppendAtEnd(edit, DisplayText(args[k], &scratch));
    }
}

}  // namespace quillet
