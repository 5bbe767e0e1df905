#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

constinit TypeResolver installedResolver = nullptr;

}  // namespace

void SetTypeResolver(TypeResolver resolver) { installedResolver = resolver; }

const UnitTypeDescriptor* TypeDescriptorOf(uint32_t typeRef) {
    return installedResolver != nullptr ? installedResolver(typeRef) : nullptr;
}

}  // namespace quillet
