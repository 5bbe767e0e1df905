#pragma once
// The runtime core's side of the numbered services (runtime/units/notify_runtime.h):
// one table from service code to handler, most of them in unit_services.h.
#include <cstdint>

namespace quillet {

// Unknown codes answer 0.
uintptr_t DispatchService(int32_t service, uintptr_t value1, uintptr_t value2);

}  // namespace quillet
