// The property data blocks handed out of the runtime: movable global memory,
// as the callers of SaveProperties, GetIconData and EnumTexts free it.
#include <windows.h>

#include <cstring>

#include "framework/wnd.h"
#include "runtime/units/property_data.h"

namespace quillet {

void* GlobalBlockOf(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return nullptr;
    void* into = GlobalLock(block);
    if (into == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    if (!bytes.empty()) std::memcpy(into, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

void* SaveUnitProperties(void* unit) {
    if (unit == nullptr) return nullptr;
    auto* source = dynamic_cast<PropertyDataSource*>(static_cast<CWnd*>(unit));
    if (source == nullptr) return nullptr;
    PropertyDataWriter writer;
    source->WritePropertyData(writer);
    return GlobalBlockOf(writer.Data());
}

}  // namespace quillet
