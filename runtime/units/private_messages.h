#pragma once
// The runtime's private window messages to units (application range, from
// 0x8000), shared by the runtime and every unit type. Messages in
// 0x8064..0x8099 belong to single unit types and are defined with them.
#include <cstdint>

namespace quillet {

constexpr uint32_t UM_GET_UNIT_OBJECT = 0x8002;  // → the unit object of the window, or 0
constexpr uint32_t UM_ARRANGE = 0x8004;          // all units of the window exist; lay out docked units
constexpr uint32_t UM_DPI_CHANGED = 0x8005;      // the window's display scale is now wParam: make the font for it
// To a unit with pages (TypeState::TabPageContainer), from the window's keys:
// the next page (wParam 1) or the previous one (0), wrapping, changed as a
// click on its header changes it (its page-changing event may refuse), the
// focus left where it is. → 1 when the unit took the step (made or refused),
// 0 when it has no pages to step through.
constexpr uint32_t UM_STEP_PAGE = 0x8010;
constexpr uint32_t UM_UNITS_CREATED = 0x806F;    // every unit and the window, after creation
constexpr uint32_t UM_WINDOW_SHOWN = 0x8076;     // every unit and the window, at the end of a load

}  // namespace quillet
