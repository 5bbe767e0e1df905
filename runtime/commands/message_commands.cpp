// The modal message box.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/events/held_handover.h"
#include "runtime/events/run_progress.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/system_text.h"
#include "runtime/values/value_text.h"

namespace quillet::commands {
namespace {

constexpr char DefaultTitle[] = "信息：";

// The box's answer → the button number the program sees; anything else,
// a failed call included, is 0.
int32_t ButtonNumber(int answer) {
    switch (answer) {
    case IDOK: return 0;
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return 0;
    }
}

// A window reference owns the box when that window is loaded; an int is taken
// as a window handle.
HWND OwnerWindow(const CommandArg& owner) {
    if (owner.type == DataType::WindowUnit)
        return reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnit, owner.low, 0)));
    if (owner.type == DataType::Int) return reinterpret_cast<HWND>(static_cast<uintptr_t>(owner.low));
    return nullptr;
}

// Task-modal unless the caller asked for system-modal.
UINT BoxStyle(uint32_t flags) { return (flags & MB_SYSTEMMODAL) != 0 ? flags : flags | MB_TASKMODAL; }

}  // namespace

void ShowMessage(CommandArg* result, int32_t argCount, CommandArg* args) {
    ScalarText messageScratch, titleScratch;
    const char* message = DisplayText(ArgumentAt(argCount, args, 0), &messageScratch);
    const uint32_t flags = ArgumentAt(argCount, args, 1).low;
    const CommandArg& titleArg = ArgumentAt(argCount, args, 2);
    const char* title = IsOmitted(titleArg) ? DefaultTitle : DisplayText(titleArg, &titleScratch);
    const CommandArg& ownerArg = ArgumentAt(argCount, args, 3);
    const bool ownerWasLive = IsWindow(OwnerWindow(ownerArg)) != FALSE;

    // The box is modal: the window shows every text held back until now
    // while the user reads it. Messages handled between the pieces may close
    // the owner: it is looked up again, and a box whose owner closed meanwhile
    // shows without one (an owner that was never there still fails it).
    HandOverHeldOutput();
    HWND owner = OwnerWindow(ownerArg);
    if (ownerWasLive && !IsWindow(owner)) owner = nullptr;
    result->low = static_cast<uint32_t>(ButtonNumber(ShowMessageBox(owner, message, title, BoxStyle(flags))));
    result->high = 0;
    RestartRunClock();
}

}  // namespace quillet::commands
