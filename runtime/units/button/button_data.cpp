#include "runtime/units/button/button_data.h"

#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/field_walk.h"

namespace quillet {
namespace {

// Both kinds in one walk: the fields before the picture are each kind's own.
// The check box's logicals are kept as stored.
constexpr auto WalkButtonFields = [](auto& visit, uint32_t version, auto& d) {
    if (d.kind == ButtonKind::PushButton) {
        visit.Pick(d.buttonType, LastChoiceOf(ButtonOwnProperties, ButtonProperty::ButtonType));
        visit.Pick(d.hAlign, LastChoiceOf(ButtonOwnProperties, ButtonProperty::HAlign));
        visit.Pick(d.vAlign, LastChoiceOf(ButtonOwnProperties, ButtonProperty::VAlign));
    } else {
        Ints(visit, d.pushLike, d.flat, d.textOnLeft);
        visit.Pick(d.hAlign, LastChoiceOf(CheckBoxOwnProperties, CheckBoxProperty::HAlign));
        visit.Pick(d.vAlign, LastChoiceOf(CheckBoxOwnProperties, CheckBoxProperty::VAlign));
        Words(visit, d.textColor, d.backColor);
        visit.Int(d.checked);
    }
    visit.Bytes(d.picture);
    visit.Font(d.font);
    visit.LeadText(d.caption);
    if (d.kind == ButtonKind::CheckBox) DataBinding(visit, version, d);
};

uint32_t DataVersion(ButtonKind kind) {
    return kind == ButtonKind::PushButton ? PushButtonDataVersion : CheckBoxDataVersion;
}

}  // namespace

ButtonData DefaultButtonData(ButtonKind kind) {
    ButtonData data;
    data.kind = kind;
    if (kind == ButtonKind::PushButton) {
        data.caption = "按钮";
    } else {
        data.hAlign = 0;
        data.caption = "选择框";
    }
    return data;
}

bool ReadButtonData(ButtonKind kind, const void* data, int32_t length, ButtonData* into) {
    return ReadFields(data, length, DataVersion(kind), WalkButtonFields, DefaultButtonData(kind), into);
}

void WriteButtonData(const ButtonData& data, PropertyDataWriter& writer) {
    WriteFields(writer, DataVersion(data.kind), WalkButtonFields, data);
}

void* EnumButtonTexts(ButtonKind kind, const void* data, int32_t* length, EnumTextCallback callback,
                      uintptr_t userWord) {
    const auto read = [kind](const void* bytes, int32_t size, ButtonData* into) {
        return ReadButtonData(kind, bytes, size, into);
    };
    return EnumFieldTexts<ButtonData>(data, length, callback, userWord, read, DataVersion(kind), WalkButtonFields);
}

}  // namespace quillet
