#pragma once
// How a type's entry function hands out its operations: from one table per
// type, each entry converted first to the signature of its interface number
// (so that a handler of the wrong shape does not compile), then to the plain
// UnitOperation the caller casts back (FindOperation).
#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

template <typename Operation>
UnitOperation AsUnitOperation(Operation operation) {
    return reinterpret_cast<UnitOperation>(operation);
}

// A type's operations; null where it offers none. SaveProperties is the same
// for every type and is not listed.
struct UnitOperations {
    CreateUnitOperation createUnit;
    SetPropertyOperation setProperty;
    GetPropertyOperation getProperty;
    GetIconDataOperation getIconData;
    WantsKeyOperation wantsKey;
    EnumTextsOperation enumTexts;
    IsDefaultButtonOperation isDefaultButton;
};
static_assert(sizeof(UnitOperations) == 7 * sizeof(void*), "seven operations");

// The body of every type's entry function: the operation under a number, or null.
inline UnitOperation OfferOperation(const UnitOperations& operations, int32_t interfaceNumber) {
    switch (interfaceNumber) {
    case InterfaceNumber::CreateUnit: return AsUnitOperation(operations.createUnit);
    case InterfaceNumber::SetProperty: return AsUnitOperation(operations.setProperty);
    case InterfaceNumber::SaveProperties: return AsUnitOperation<SavePropertiesOperation>(SaveUnitProperties);
    case InterfaceNumber::GetProperty: return AsUnitOperation(operations.getProperty);
    case InterfaceNumber::GetIconData: return AsUnitOperation(operations.getIconData);
    case InterfaceNumber::WantsKey: return AsUnitOperation(operations.wantsKey);
    case InterfaceNumber::EnumTexts: return AsUnitOperation(operations.enumTexts);
    case InterfaceNumber::IsDefaultButton: return AsUnitOperation(operations.isDefaultButton);
    default: return nullptr;
    }
}

}  // namespace quillet
