#pragma once
// The runtime's clocks. For decisions taken millions of times a second, the
// processor's cycle counter, read in a few nanoseconds (the performance counter
// takes a hundred under Wine, and GetTickCount moves in steps of 16 ms there);
// for timing what takes a millisecond or more, the performance counter.
#include <cstdint>

namespace quillet {

uint64_t CycleCount();

// Cycles in a millisecond, measured once against the performance counter.
double CyclesPerMillisecond();

// The performance counter in milliseconds.
double Milliseconds();

}  // namespace quillet
