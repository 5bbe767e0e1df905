#include "runtime/events/property_access.h"

#include "runtime/errors/error_report.h"

namespace quillet {

// No window can be loaded yet: every unit is missing, which is a fatal error.
PropertyWords ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t, int32_t) {
    ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, static_cast<int32_t>(windowId),
                     static_cast<int32_t>(unitId));
}

void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t, int32_t, uint32_t, uint32_t) {
    ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, static_cast<int32_t>(windowId),
                     static_cast<int32_t>(unitId));
}

}  // namespace quillet
