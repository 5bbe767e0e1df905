#include "runtime/commands/unit_window.h"

#include "runtime/units/notify_runtime.h"

namespace quillet {

// A unit object is a framework window object: the runtime core knows its handle.
uintptr_t UnitWindowHandle(uintptr_t unitObject) {
    return unitObject != 0 ? NotifyRuntime(ServiceCode::WindowHandleOf, unitObject) : 0;
}

}  // namespace quillet
