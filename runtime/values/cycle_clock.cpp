#include "runtime/values/cycle_clock.h"

#include <windows.h>
#include <x86intrin.h>

namespace quillet {

uint64_t CycleCount() { return __rdtsc(); }

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1e3 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double CyclesPerMillisecond() {
    // Two milliseconds of counting, once.
    static const double perMs = [] {
        const double started = Milliseconds();
        const uint64_t cycles = CycleCount();
        double now = started;
        while (now - started < 2) now = Milliseconds();
        const double measured = static_cast<double>(CycleCount() - cycles) / (now - started);
        return measured > 0 ? measured : 1e6;
    }();
    return perMs;
}

}  // namespace quillet
