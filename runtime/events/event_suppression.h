#pragma once
// The runtime-wide count that stops event dispatch: no handler of the program
// runs while it is above 0. Window loads and unit re-creation raise it and lower
// it again; the shutdown and a fatal runtime error raise it for good.
#include <cstdint>

namespace quillet {

void RaiseEventSuppression();
void LowerEventSuppression();  // never below 0
int32_t EventSuppressionCount();
inline bool EventsSuppressed() { return EventSuppressionCount() > 0; }

}  // namespace quillet
