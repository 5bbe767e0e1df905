#pragma once
// A unit whose type asks for it after a property write is built again from its
// saved properties, in place: same id, rectangle, parent, z-order, focus and,
// for containers, children and current page.
#include <cstdint>

#include "runtime/template/window_table.h"

namespace quillet {

void RecreateUnit(WindowTemplate& window, int32_t index);

}  // namespace quillet
