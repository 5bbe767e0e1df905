#pragma once
// Unit properties by (window id, unit id, property index, element index): the
// read and write support entries.
#include <cstdint>

#include "runtime/commands/support_entries.h"

namespace quillet {

PropertyWords ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element);
void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element, uint32_t low,
                       uint32_t high);

}  // namespace quillet
