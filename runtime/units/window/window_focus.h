#pragma once
// Focus moves among a window's units (Tab, Shift+Tab, EnterMovesFocus, arrow
// keys among option buttons, mnemonics of caption-only units).
//
// Candidates are the units, visited from the last template record down to the
// first, that are live, visible and enabled, have the tab-stop flag, and whose
// type is neither excluded from mnemonics (0x8000) nor kept from the focus
// (0x10000); for arrow keys only option buttons (0x400) beside the current one.
// Each is inserted after the last candidate of lower or equal focus order, so
// units of equal order keep descending template order.
#include <windows.h>

#include <vector>

#include "runtime/template/window_table.h"
#include "runtime/units/window/window_units.h"

namespace quillet {

std::vector<UnitView> FocusCandidates(WindowTemplate& window, bool optionButtons, HWND optionParent);

// The unit a move from the focused window (or its unit one level up) reaches;
// an empty view when there is none. A caption-only unit (0x2000) moves by its
// focus order, a unit focusing itself on its mnemonic (0x4000) by order 0:
// forward to the first candidate of at least that order, backward to the last
// one below it. Otherwise forward and backward step through the candidates,
// wrapping; from outside them forward takes the first, backward the last.
UnitView FocusMoveTarget(WindowTemplate& window, HWND from, bool forward, bool optionButtons);

// Moves the focus there; among option buttons the one reached is marked, its
// siblings cleared and its event 0 raised first. False when nothing was reached.
bool MoveFocus(WindowTemplate& window, HWND from, bool forward, bool optionButtons);

// Marks an option button, clears the other option buttons beside it and
// raises its event 0.
void MarkOptionButton(WindowTemplate& window, const UnitView& chosen);

// Where the focus goes when the window gets it and no unit is remembered: the
// first candidate (lowest focus order); null when there is none.
HWND FirstFocusUnit(WindowTemplate& window);

// Ctrl+Tab and its kin: the next or previous page of the tab control around
// the focus (else of the first usable one in template order), through the
// tab's own page change. A focus the new page hides goes to the page's first
// candidate; any other stays. False when no tab control took the step.
bool StepTabPage(WindowTemplate& window, bool forward);

}  // namespace quillet
