#pragma once
// The one place where library commands turn a unit object (what services 2006
// and 2007 return) into its window handle.
#include <cstdint>

namespace quillet {

// The unit's window handle as a word; 0 for a null object or one without a window.
uintptr_t UnitWindowHandle(uintptr_t unitObject);

}  // namespace quillet
