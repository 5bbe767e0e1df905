// The operations of the six unit types, side by side: each type's unit class
// in the one shape (unit_shape.h), and what only that type has.
#include "runtime/units/button/button_data.h"
#include "runtime/units/button/button_type.h"
#include "runtime/units/button/button_unit.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/edit/edit_unit.h"
#include "runtime/units/label/label_data.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/label/label_unit.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/units/tab/tab_unit.h"
#include "runtime/units/unit_operation.h"
#include "runtime/units/unit_shape.h"
#include "runtime/units/window/window_data.h"
#include "runtime/units/window/window_type.h"
#include "runtime/units/window/window_unit.h"

namespace quillet {
namespace {

// The operations every type has, from its unit class, and its EnumTexts.
template <class Unit, auto Create = &Unit::CreateUnit>
constexpr UnitOperations Shaped(EnumTextsOperation enumTexts) {
    return {CreateUnitWith<Create>, SetUnitProperty<Unit>, GetUnitProperty<Unit>, nullptr, nullptr, enumTexts, nullptr};
}

constexpr UnitOperations WithIconData(UnitOperations operations, GetIconDataOperation getIconData) {
    operations.getIconData = getIconData;
    return operations;
}

constexpr UnitOperations WithWantsKey(UnitOperations operations, WantsKeyOperation wantsKey) {
    operations.wantsKey = wantsKey;
    return operations;
}

constexpr UnitOperations WithDefaultButton(UnitOperations operations, IsDefaultButtonOperation isDefaultButton) {
    operations.isDefaultButton = isDefaultButton;
    return operations;
}

constexpr ButtonKind Push = ButtonKind::PushButton;
constexpr ButtonKind Box = ButtonKind::CheckBox;

constexpr UnitOperations WindowOperations = WithIconData(Shaped<WindowUnit>(EnumWindowTexts), GetWindowIconData);
constexpr UnitOperations EditBoxOperations = WithWantsKey(Shaped<EditBoxUnit>(EnumEditBoxTexts), EditBoxWantsKey);
constexpr UnitOperations LabelOperations = Shaped<LabelUnit>(EnumLabelTexts);
constexpr UnitOperations ButtonOperations = WithDefaultButton(
    Shaped<ButtonUnit, &ButtonUnit::CreateUnit<Push>>(EnumButtonKindTexts<Push>), IsDefaultButtonUnit);
constexpr UnitOperations CheckBoxOperations =
    Shaped<ButtonUnit, &ButtonUnit::CreateUnit<Box>>(EnumButtonKindTexts<Box>);
constexpr UnitOperations TabOperations = Shaped<TabUnit>(EnumTabTexts);

}  // namespace

UnitOperation WindowInterface(int32_t number) { return OfferOperation(WindowOperations, number); }
UnitOperation EditBoxInterface(int32_t number) { return OfferOperation(EditBoxOperations, number); }
UnitOperation LabelInterface(int32_t number) { return OfferOperation(LabelOperations, number); }
UnitOperation ButtonInterface(int32_t number) { return OfferOperation(ButtonOperations, number); }
UnitOperation CheckBoxInterface(int32_t number) { return OfferOperation(CheckBoxOperations, number); }
UnitOperation TabInterface(int32_t number) { return OfferOperation(TabOperations, number); }

}  // namespace quillet
