// The system's dialogs for a file to open or to save, wide, so that any name
// comes back whole on any system.
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/events/run_progress.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet::commands {
namespace {

// Room for a long path: the dialog refuses a name that does not fit.
constexpr DWORD PathRoom = 32768;

// "Name|pattern|Name|pattern" as the dialog takes it: each part ended by 0,
// the whole by a second 0.
std::wstring DialogFilter(const char* filter) {
    std::wstring wide = WideFromText(filter);
    for (wchar_t& unit : wide)
        if (unit == L'|') unit = L'\0';
    wide.append(2, L'\0');
    return wide;
}

// The extension the dialog adds to a name typed without one: the chosen
// filter's first pattern's, when that is "*.ext".
std::wstring DefaultExtension(const std::wstring& filter, DWORD index) {
    size_t at = 0;
    for (DWORD part = 0; part < 2 * index + 1 && at < filter.size(); ++part) at = filter.find(L'\0', at) + 1;
    if (at >= filter.size() || filter.compare(at, 2, L"*.") != 0) return std::wstring();
    const size_t end = filter.find_first_of(std::wstring(L";\0", 2), at);
    const std::wstring extension = filter.substr(at + 2, end - at - 2);
    return extension.find_first_of(L"*?") == std::wstring::npos ? extension : std::wstring();
}

HWND OwnerOf(const CommandArg& owner) {
    if (owner.type == DataType::WindowUnit)
        return reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnit, owner.low, 0)));
    return nullptr;
}

}  // namespace

void ChooseFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    const bool save = ArgumentAt(argCount, args, 1).low != 0;
    const std::wstring filter = DialogFilter(TextArgument(ArgumentAt(argCount, args, 2)));
    std::wstring path = WideFromText(TextArgument(ArgumentAt(argCount, args, 3)));
    const CommandArg& chosen = ArgumentAt(argCount, args, 4);
    auto* filterIndex = chosen.type == DataType::Reference ? AsReference<int32_t>(chosen) : nullptr;

    path.resize(PathRoom, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerOf(ArgumentAt(argCount, args, 0));
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = filterIndex != nullptr && *filterIndex >= 0 ? static_cast<DWORD>(*filterIndex) + 1 : 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = PathRoom;
    const std::wstring extension = DefaultExtension(filter, dialog.nFilterIndex - 1);
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The program's folder stays the current one, as start-up set it.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL picked = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    RestartRunClock();  // time the user spent in the dialog is no run's
    *result = {0, 0, 0};
    if (!picked) return;
    if (filterIndex != nullptr) *filterIndex = static_cast<int32_t>(dialog.nFilterIndex) - 1;
    result->low = Word(CopyText(TextFromWide(path.c_str()).c_str()));
}

}  // namespace quillet::commands
