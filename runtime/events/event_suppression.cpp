#include "runtime/events/event_suppression.h"

namespace quillet {
namespace {
int32_t suppressionCount = 0;  // user-interface thread only
}  // namespace

void SuppressEvents() { ++suppressionCount; }

void AllowEvents() {
    if (suppressionCount > 0) --suppressionCount;
}

int32_t EventSuppressionCount() { return suppressionCount; }

}  // namespace quillet
