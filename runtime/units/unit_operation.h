#pragma once
// How a type's entry function hands out an operation: converted first to the
// signature of its interface number, so that a handler of the wrong shape does
// not compile, then to the plain UnitOperation the caller casts back
// (FindOperation).
#include "runtime/units/unit_type.h"

namespace quillet {

template <typename Operation>
UnitOperation AsUnitOperation(Operation operation) {
    return reinterpret_cast<UnitOperation>(operation);
}

}  // namespace quillet
