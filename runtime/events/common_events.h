#pragma once
// The common events every unit raises from mouse and keyboard messages: the
// last stage of a window's message pre-translation.
#include <windows.h>

#include "runtime/template/window_table.h"

namespace quillet {

// Raises the common event of a message aimed at the window or at one of its
// units. True when the message is consumed: a handler returned false, or the
// window is gone. A character handler's nonzero value replaces the character.
bool RaiseCommonEvent(WindowTemplate& window, MSG* message);

// Modifier state: 1 Ctrl, 2 Shift, 4 Alt, as GetKeyState reports them now.
uint32_t ModifierState();

}  // namespace quillet
