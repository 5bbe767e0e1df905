#pragma once
// The properties a label keeps, and their PropertyData (version 2).
#include <cstdint>
#include <string>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

namespace LabelEffect {
enum : int32_t { Plain, Engraved, Embossed, Shadow };
}  // namespace LabelEffect

// The border style painted by the label itself: a gradient frame.
constexpr int32_t GradientFrameBorder = 6;
// A written BorderWidth below this becomes this.
constexpr int32_t LeastBorderWidth = 5;

struct LabelData {
    std::string caption = "标签";     // also the window text
    int32_t effect = 0;               // LabelEffect
    int32_t borderStyle = 0;          // 0..5 window borders, 6 the gradient frame
    int32_t borderWidth = 8;          // gradient frame thickness, pixels
    uint32_t borderColors[3] = {0x808080, 0xFFFFFF, 0x808080};  // frame colours; DefaultColor leaves one out
    std::string font{};                 // a FontData block, or empty for DEFAULT_GUI_FONT
    uint32_t textColor = 0;           // caption colour, RGB
    uint32_t backColor = DefaultColor;  // background; DefaultColor: button face
    std::string backPicture{};          // image file bytes
    int32_t pictureMode = 1;          // 0 natural size, 1 tiled, 2 fitted and centred
    int32_t gradientMode = 0;         // 0 none, 1..8 gradient directions
    uint32_t gradientColors[3] = {0x808080, 0xFFFFFF, 0x808080};  // DefaultColor leaves one out
    int32_t hAlign = 0;               // 0 left, 1 centre, 2 right
    int32_t vAlign = 1;               // 0 top, 1 centre, 2 bottom (single-line captions)
    int32_t wordWrap = 0;             // 1: wrap at word boundaries
    std::string dataSource{};           // binding names: stored only
    std::string dataColumn{};
};

constexpr uint32_t LabelDataVersion = 2;

// Reads a PropertyData block (versions 0 to 2); false when its version is
// above 2 or the block ends early. Pick values out of range are brought into it.
bool ReadLabelData(const void* data, int32_t length, LabelData* into);
void WriteLabelData(const LabelData& data, PropertyDataWriter& writer);

// EnumTexts: the caption, the font's face name and the two binding names, each
// offered for replacement; the block written anew. Null, *length unchanged,
// when the block is refused.
void* EnumLabelTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord);

}  // namespace quillet
