// The runtime heap's fatal report: the values below know only that one is made.
#include <cstdio>

#include "runtime/errors/error_report.h"
#include "runtime/values/runtime_heap.h"

namespace quillet {

void ReportAllocationFailure(int32_t size) {
    char message[64];
    std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(size));
    ReportFatalError(message, 0, 0, 0);
}

}  // namespace quillet
