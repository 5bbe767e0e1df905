#pragma once
// The common events every unit raises from mouse and keyboard messages: the
// last stage of a window's message pre-translation.
#include <windows.h>

#include "runtime/template/window_table.h"

namespace quillet {

// Raises the common event of a message aimed at the window or at one of its
// units. True when the message is consumed: a handler returned false, or the
// window is gone. A character handler's nonzero value replaces the character.
// A key going down aimed at the window itself raises nothing here: the
// window's key event has a stage of its own (below).
bool RaiseCommonEvent(WindowTemplate& window, MSG* message);

// The window's own key event (the common key-down event of its record) for a
// key going down (WM_KEYDOWN, WM_SYSKEYDOWN) in the window or in any of its
// units, `unit` (0: the window itself): the key's code, the modifier state and
// that unit. Raised before the window's keys and the units' own events, so
// that a key the window acts on acts from wherever the focus is. True when
// consumed: a handler returned false, or the window is gone.
bool RaiseWindowKeyEvent(WindowTemplate& window, const MSG& message, UnitId unit);

// A key-down the system repeats while the key is held (bit 30 of the key
// data: the key was down already).
bool RepeatedKeyDown(const MSG& message);

// Modifier state: 1 Ctrl, 2 Shift, 4 Alt, as GetKeyState reports them now.
uint32_t ModifierState();

}  // namespace quillet
