#pragma once
// A clock for decisions taken millions of times a second: the processor's
// cycle counter, read in a few nanoseconds (the performance counter takes a
// hundred under Wine, and GetTickCount moves in steps of 16 ms there).
#include <cstdint>

namespace quillet {

uint64_t CycleCount();

// Cycles in a millisecond, measured once against the performance counter.
double CyclesPerMillisecond();

}  // namespace quillet
