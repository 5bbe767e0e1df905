#pragma once
// The properties a button or check box keeps, and their PropertyData: the
// button's (version 1) and the check box's (version 2).
#include <cstdint>
#include <string>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

// The two unit types built on the BUTTON control.
enum class ButtonKind : int32_t {
    PushButton,  // type 11
    CheckBox,    // type 12, an automatic two-state check box
};

// Highest PropertyData version each kind reads (and the one it writes).
constexpr uint32_t PushButtonDataVersion = 1;
constexpr uint32_t CheckBoxDataVersion = 2;

// Every property of both kinds; each kind uses its own share.
enum class ButtonField : int32_t {
    Picture,
    ButtonType,
    Caption,
    HAlign,
    VAlign,
    Font,
    PushLike,
    Flat,
    TextOnLeft,
    TextColor,
    BackColor,
    Checked,
    DataSource,
    DataColumn,
};

struct ButtonData {
    ButtonKind kind = ButtonKind::PushButton;  // which type the data belongs to
    int32_t buttonType = 0;           // push button: 0 normal, 1 default button
    int32_t pushLike = 0;             // check box: drawn as a push button
    int32_t flat = 0;                 // check box: flat look
    int32_t textOnLeft = 0;           // check box: box to the right of the text
    int32_t hAlign = 1;               // 0 left, 1 centre, 2 right (check box default 0)
    int32_t vAlign = 1;               // 0 top, 1 centre, 2 bottom
    uint32_t textColor = 0;           // check box caption colour, RGB
    uint32_t backColor = DefaultColor;  // check box background; DefaultColor: button face
    int32_t checked = 0;              // check box mark: set only when 1
    std::string picture;              // image file bytes, shown instead of the caption
    std::string font;                 // a FontData block, or empty for DEFAULT_GUI_FONT
    std::string caption;
    std::string dataSource;           // check box binding names: stored only
    std::string dataColumn;
};

// The properties of a new unit of the kind, before any data is read.
ButtonData DefaultButtonData(ButtonKind kind);

// Reads a PropertyData block; false when its version is above the kind's or
// the block ends early. Pick values out of range are brought into it.
bool ReadButtonData(ButtonKind kind, const void* data, int32_t length, ButtonData* into);
// Writes the block in the kind's current version.
void WriteButtonData(const ButtonData& data, PropertyDataWriter& writer);

// EnumTexts of both kinds: the caption, the font's face name and (check box)
// the two binding names, each offered for replacement; the block written anew.
// Null, *length unchanged, when the block is refused.
void* EnumButtonTexts(ButtonKind kind, const void* data, int32_t* length, EnumTextCallback callback,
                      uintptr_t userWord);
// The same as each kind's EnumTexts operation.
template <ButtonKind Kind>
void* EnumButtonKindTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EnumButtonTexts(Kind, data, length, callback, userWord);
}

}  // namespace quillet
