#include "runtime/units/pending_operations.h"

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

template <typename Operation>
UnitOperation Hand(Operation operation) {
    return reinterpret_cast<UnitOperation>(operation);
}

}  // namespace

UnitOperation PendingOperation(int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return Hand<CreateUnitOperation>(PendingCreateUnit);
    case InterfaceNumber::SetProperty: return Hand<SetPropertyOperation>(PendingSetProperty);
    case InterfaceNumber::SaveProperties: return Hand<SavePropertiesOperation>(PendingSaveProperties);
    case InterfaceNumber::GetProperty: return Hand<GetPropertyOperation>(PendingGetProperty);
    case InterfaceNumber::GetIconData: return Hand<GetIconDataOperation>(PendingGetIconData);
    case InterfaceNumber::WantsKey: return Hand<WantsKeyOperation>(PendingWantsKey);
    case InterfaceNumber::EnumTexts: return Hand<EnumTextsOperation>(PendingEnumTexts);
    case InterfaceNumber::IsDefaultButton: return Hand<IsDefaultButtonOperation>(PendingIsDefaultButton);
    default: return nullptr;
    }
}

}  // namespace quillet
