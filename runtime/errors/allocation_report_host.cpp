// The runtime heap's fatal report in the host build (linked in place of
// allocation_report.cpp): no window to show it in, so it is printed and the
// process ends at once, which a sanitizer or fuzzer reports as a crash.
// An operator new that consults the new handler (the allocation-failure
// runners' does; the sanitizers' reports by itself) ends the same way, so that
// no std::bad_alloc leaves the runtime's code.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

[[noreturn]] void EndOutOfMemory(const char* what) {
    std::fprintf(stderr, "fatal: out of memory: %s\n", what);
    std::abort();
}

void OperatorNewRanOut() { EndOutOfMemory("operator new failed"); }

struct NewHandler {
    NewHandler() { std::set_new_handler(OperatorNewRanOut); }
} installed;

}  // namespace

void ReportAllocationFailure(int32_t size) {
    char what[64];
    std::snprintf(what, sizeof what, "allocating %d bytes failed", static_cast<int>(size));
    EndOutOfMemory(what);
}

}  // namespace quillet
