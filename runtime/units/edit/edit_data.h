#pragma once
// The edit box's PropertyData: the stored properties in their record and the
// block they travel in (version 2; versions 0 to 2 are read).
#include <cstdint>
#include <string>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

constexpr uint32_t EditBoxDataVersion = 2;

// The 32-bit fields of the block, in their own-property meaning. PasswordChar
// travels as 16 bits in the block and is kept here as its one byte.
struct EditBoxFields {
    int32_t borderStyle = 1;      // 0..5, see UnitBorder
    uint32_t textColor = 0;       // RGB
    uint32_t backColor = 0xFFFFFF;  // RGB or DefaultColor
    int32_t hideSelection = 1;    // 0: ES_NOHIDESEL
    int32_t maxLength = 0;        // bytes; 0 the control's own maximum
    int32_t multiLine = 0;
    int32_t scrollBars = 0;       // 0 none, 1 horizontal, 2 vertical, 3 both
    int32_t alignment = 0;        // 0 left, 1 centre, 2 right
    int32_t inputMode = 0;        // EditInputMode
    int32_t passwordChar = '*';   // one byte, 0..255
    int32_t caseConversion = 0;   // 0 none, 1 lower, 2 upper
    int32_t spinMode = 0;         // 0 none, 1 automatic stepping, 2 event only
    int32_t spinLower = 0;
    int32_t spinUpper = 100;
    int32_t selStart = 0;         // bytes into the text
    int32_t selLength = 0;        // bytes
};
static_assert(sizeof(EditBoxFields) == 16 * 4, "sixteen 32-bit fields");

// Everything the block holds.
struct EditBoxData {
    EditBoxFields fields;
    std::string font{};        // a 60-byte FontData, or empty for the stock font
    std::string content{};     // the text, GBK
    std::string dataSource{};  // name of a data-source unit of the window
    std::string dataColumn{};  // name of its column
};

// False, *data unchanged, when the block's version is above 2 or the block ends
// early. Pick values out of range are brought into it.
bool ReadEditBoxData(const void* bytes, int32_t length, EditBoxData* data);
// Always as version 2.
void WriteEditBoxData(const EditBoxData& data, PropertyDataWriter& writer);

// The EnumTexts operation: Content, the font's face name, DataSource, DataColumn.
void* EnumEditBoxTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord);

}  // namespace quillet
