#pragma once
// The runtime-wide count that stops event dispatch: no handler of the program
// runs while it is above 0. Window loads and unit re-creation suppress events
// and allow them again; the shutdown and a fatal runtime error suppress them
// for good.
#include <cstdint>

namespace quillet {

void SuppressEvents();  // one more
void AllowEvents();     // one fewer, never below 0
int32_t EventSuppressionCount();
inline bool EventsSuppressed() { return EventSuppressionCount() > 0; }

}  // namespace quillet
