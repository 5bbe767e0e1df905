#pragma once
// The runtime's side of tab pages: a tab control's template record lists the
// units of each page (ids, each page ended by a 0 word), and only the units of
// its current page are shown.
#include <cstdint>

#include "runtime/template/window_table.h"

namespace quillet {

constexpr UnitTypeRef TabControlType = 0x00010015;
constexpr int32_t TabCurrentPageProperty = 12;

// The tab control's current page as the control reports it; 0 when negative.
int32_t CurrentTabPage(WindowTemplate& window, int32_t tabIndex);

// The page of a tab's list that holds the unit, or -1.
int32_t PageOfUnit(UnitRecord tab, UnitId unitId);

// False only when some live tab control of the window lists the unit on a page
// other than its current one.
bool UnitOnShownPage(WindowTemplate& window, UnitId unitId);

// Shows the units of one page of a tab control and hides those of the others.
// respectFlags: a unit is shown only when its record says visible (and never a
// type excluded from mnemonics); otherwise every unit of the page is shown.
// page < 0 takes the current page; then, with respectFlags and moveFocus, the
// focus goes to the enabled unit of the page with the lowest focus order.
void ShowTabPage(WindowTemplate& window, int32_t tabIndex, bool respectFlags, int32_t page = -1,
                 bool moveFocus = true);

}  // namespace quillet
