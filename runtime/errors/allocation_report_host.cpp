// The runtime heap's fatal report in the host build (linked in place of
// allocation_report.cpp): no window to show it in, so it is printed and the
// process ends at once, which a sanitizer or fuzzer reports as a crash.
#include <cstdio>
#include <cstdlib>

#include "runtime/values/runtime_heap.h"

namespace quillet {

void ReportAllocationFailure(int32_t size) {
    std::fprintf(stderr, "fatal: allocating %d bytes failed\n", static_cast<int>(size));
    std::abort();
}

}  // namespace quillet
