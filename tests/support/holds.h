#pragma once
// The check of test code that runs outside GoogleTest (fuzz targets, probe
// programs): when the condition does not hold it says which, why and where on
// standard error and aborts, so that libFuzzer keeps the input and a probe's
// test sees a crash. Unlike assert it is never compiled away.
#include <cstdio>
#include <cstdlib>

#define ASSERT_HOLDS(condition, what) \
    ((condition) ? static_cast<void>(0) : ::quillet::test_support::FailedCheck(#condition, what, __FILE__, __LINE__))

namespace quillet::test_support {

[[noreturn]] inline void FailedCheck(const char* condition, const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s%s%s\n", file, line, condition, *what != '\0' ? " -- " : "", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace quillet::test_support
