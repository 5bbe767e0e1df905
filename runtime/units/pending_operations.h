#pragma once
// Stand-ins for the unit types' own operations until each type has them: every
// operation handed out here does nothing and answers 0 (no unit, no data, not
// known), which the runtime already treats as a refusal.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// A stand-in with the signature of the operation numbered interfaceNumber, or
// null for a number that names no operation.
UnitOperation PendingOperation(int32_t interfaceNumber);

}  // namespace quillet
