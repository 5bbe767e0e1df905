#pragma once
// A window's menu and accelerator table, built from its run of menu-item
// records. Item k of the run has the command id 20000 + k.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/template/unit_collection.h"

namespace quillet {

constexpr UINT FirstMenuCommandId = 20000;

struct WindowMenu {
    HMENU menu = nullptr;           // null when the window has no menu items
    HACCEL accelerators = nullptr;  // null when no item has a shortcut
};

WindowMenu BuildWindowMenu(UnitCollection& records);
void DestroyWindowMenu(WindowMenu& menu);

// Index of the first menu-item record and how many follow it; count 0 when none.
void FindMenuItemRun(UnitCollection& records, int32_t* first, int32_t* count);

// "Ctrl+A", "F5", "Ctrl+Shift+F12", "Ins", ...; empty for 0 or an unknown number.
std::string ShortcutName(uint32_t shortcut);

}  // namespace quillet
