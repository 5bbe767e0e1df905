#include "runtime/template/window_menu.h"

#include <vector>

#include "runtime/values/system_text.h"

namespace quillet {
namespace {

struct Shortcut {
    BYTE modifiers;  // FCONTROL, FSHIFT
    WORD key;        // virtual key
    const char* prefix;
};

// Shortcut numbers: 1-26 Ctrl+A..Z, then five runs of twelve function keys, then Ins and Del.
bool DecodeShortcut(uint32_t number, Shortcut* shortcut) {
    if (number >= 1 && number <= 26) {
        *shortcut = {FCONTROL, static_cast<WORD>('A' + number - 1), "Ctrl+"};
        return true;
    }
    struct FunctionRun {
        uint32_t first;
        BYTE modifiers;
        const char* prefix;
    };
    static constexpr FunctionRun runs[] = {
        {27, 0, ""}, {39, FCONTROL, "Ctrl+"}, {51, FSHIFT, "Shift+"}, {63, FCONTROL | FSHIFT, "Ctrl+Shift+"}};
    for (const FunctionRun& run : runs) {
        if (number >= run.first && number < run.first + 12) {
            *shortcut = {run.modifiers, static_cast<WORD>(VK_F1 + number - run.first), run.prefix};
            return true;
        }
    }
    if (number == 75) *shortcut = {0, VK_INSERT, ""};
    if (number == 76) *shortcut = {0, VK_DELETE, ""};
    return number == 75 || number == 76;
}

}  // namespace

std::string ShortcutName(uint32_t number) {
    Shortcut shortcut;
    if (!DecodeShortcut(number, &shortcut)) return "";
    if (shortcut.key == VK_INSERT) return "Ins";
    if (shortcut.key == VK_DELETE) return "Del";
    std::string name = shortcut.prefix;
    if (shortcut.key >= VK_F1 && shortcut.key <= VK_F12) {
        name += 'F';
        name += std::to_string(shortcut.key - VK_F1 + 1);
    } else {
        name += static_cast<char>(shortcut.key);
    }
    return name;
}

void FindMenuItemRun(UnitCollection& records, int32_t* first, int32_t* count) {
    *first = 0;
    *count = 0;
    for (int32_t i = 0; i < records.Count(); ++i) {
        if (!IsMenuItemId(records.IdAt(i))) {
            if (*count > 0) return;
            continue;
        }
        if (*count == 0) *first = i;
        ++*count;
    }
}

WindowMenu BuildWindowMenu(UnitCollection& records) {
    WindowMenu result;
    int32_t first = 0, count = 0;
    FindMenuItemRun(records, &first, &count);
    if (count == 0) return result;

    // menus[level] is the menu that items of that nesting level go into; an item
    // followed by a deeper one opens a submenu for it.
    std::vector<HMENU> menus = {CreateMenu()};
    std::vector<ACCEL> accelerators;
    for (int32_t k = 0; k < count; ++k) {
        UnitRecord item = records.RecordAt(first + k);
        const uint32_t level = item.NestingLevel();
        const bool opensSubmenu =
            k + 1 < count && records.RecordAt(first + k + 1).NestingLevel() > level;
        if (level >= menus.size()) continue;  // deeper than any open submenu
        menus.resize(level + 1);
        if ((item.Flags() & MenuItemFlag::Hidden) != 0) continue;

        std::string caption = item.Caption();
        Shortcut shortcut;
        if (DecodeShortcut(item.Shortcut(), &shortcut)) {
            caption += '\t';
            caption += ShortcutName(item.Shortcut());
            accelerators.push_back({static_cast<BYTE>(FVIRTKEY | shortcut.modifiers), shortcut.key,
                                    static_cast<WORD>(FirstMenuCommandId + k)});
        }
        UINT flags = MF_STRING;
        if ((item.Flags() & MenuItemFlag::Disabled) != 0) flags |= MF_GRAYED;
        if ((item.Flags() & MenuItemFlag::Checked) != 0) flags |= MF_CHECKED;
        if (caption == "-") flags = MF_SEPARATOR;
        if (opensSubmenu) {
            HMENU submenu = CreatePopupMenu();
            AppendMenuW(menus[level], flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                        WideArgument(caption).Get());
            menus.push_back(submenu);
        } else {
            AppendMenuW(menus[level], flags, FirstMenuCommandId + k, WideArgument(caption).Get());
        }
    }
    result.menu = menus.front();
    if (!accelerators.empty())
        result.accelerators = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    return result;
}

void DestroyWindowMenu(WindowMenu& menu) {
    if (menu.menu != nullptr) DestroyMenu(menu.menu);
    if (menu.accelerators != nullptr) DestroyAcceleratorTable(menu.accelerators);
    menu = WindowMenu{};
}

}  // namespace quillet
