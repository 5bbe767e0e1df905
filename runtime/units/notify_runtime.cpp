#include "runtime/units/notify_runtime.h"

namespace quillet {
namespace {

constinit ServiceFunction installedService = nullptr;

}  // namespace

uintptr_t NotifyRuntime(int32_t service, uintptr_t value1, uintptr_t value2) {
    return installedService != nullptr ? installedService(service, value1, value2) : 0;
}

void InstallServiceFunction(ServiceFunction function) { installedService = function; }

}  // namespace quillet
