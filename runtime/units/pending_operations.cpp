#include "runtime/units/pending_operations.h"

#include "runtime/units/unit_operation.h"

namespace quillet {
namespace {

// One stand-in per signature, so that a caller that casts the operation back to
// the signature it asked for makes a well-formed call.
void* PendingCreateUnit(const void*, int32_t, uint32_t, void*, uint32_t, void*, int32_t, int32_t, int32_t, int32_t,
                        uint32_t, uint32_t, uint32_t, int32_t) {
    return nullptr;
}
int32_t PendingSetProperty(void*, int32_t, PropertyValue*, uint32_t*) { return 0; }
void* PendingSaveProperties(void*) { return nullptr; }
int32_t PendingGetProperty(void*, int32_t, PropertyValue*) { return 0; }
void* PendingGetIconData(const void*, int32_t) { return nullptr; }
int32_t PendingWantsKey(void*, int32_t) { return 0; }
void* PendingEnumTexts(const void*, int32_t*, EnumTextCallback, uintptr_t) { return nullptr; }
int32_t PendingIsDefaultButton(void*) { return 0; }

}  // namespace

UnitOperation PendingOperation(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation<CreateUnitOperation>(PendingCreateUnit);
    case InterfaceNumber::SetProperty: return AsUnitOperation<SetPropertyOperation>(PendingSetProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(PendingSaveProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation<GetPropertyOperation>(PendingGetProperty);
    case InterfaceNumber::GetIconData: return AsUnitOperation<GetIconDataOperation>(PendingGetIconData);
    case InterfaceNumber::WantsKey: return AsUnitOperation<WantsKeyOperation>(PendingWantsKey);
    case InterfaceNumber::EnumTexts: return AsUnitOperation<EnumTextsOperation>(PendingEnumTexts);
    case InterfaceNumber::IsDefaultButton: return AsUnitOperation<IsDefaultButtonOperation>(PendingIsDefaultButton);
    default: return nullptr;
    }
}

}  // namespace quillet
