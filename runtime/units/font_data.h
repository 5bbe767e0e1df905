#pragma once
// FontData: a unit's font as the 60-byte LOGFONTA block, built from the font
// values compiled code writes and read back one field at a time.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

constexpr int32_t FaceNameSize = 32;  // LF_FACESIZE

// LOGFONTA's fields and layout in fixed-width types, so that the blocks read and
// write without <windows.h> (font_data.cpp checks the layout against it).
struct FontData {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[FaceNameSize];
};
static_assert(sizeof(FontData) == 60, "the LOGFONTA layout");

// A whole font as compiled code holds it.
struct FontValue {
    int32_t angle;        // tenths of a degree
    int32_t bold;
    int32_t italic;
    int32_t strikeOut;
    int32_t underline;
    int32_t size;         // points
    const char* faceName;
};
static_assert(sizeof(FontValue) == 28, "seven 32-bit fields");

// The element index of a font write or read: the whole font or one field.
namespace FontField {
enum : int32_t { Whole = -1, Angle, Bold, Italic, StrikeOut, Underline, Size, FaceName };
}  // namespace FontField

// The face name given to a font whose name is empty or does not fit.
inline constexpr char FallbackFaceName[] = "宋体";

// The screen's LOGPIXELSY (96 when the screen cannot be asked).
int32_t ScreenPixelsPerInchY();

// lfHeight for a size in points, and back, in design pixels (96 per inch, as
// every position of a template): a block holds the same height on every
// display, and the font made from it is made for its window's DPI from the
// point size that height stands for (FontHeightForDpi). A negative
// size counts by its magnitude; a size whose height cannot be represented
// counts as 0.
int32_t FontHeightForPoints(int32_t points);
int32_t PointsForFontHeight(int32_t height);

// A font height made for one DPI, made for another. A height that a whole
// point size gives at `from` (-MulDiv(points, from, 72), as the system and
// FontHeightForPoints make it) becomes that size's height at `to`, rounded
// once from the points as the system rounds it: 8 pt is -11 at 96 DPI and
// -13 at 120, where scaling -11 would give -14. Any other height (a cell
// height, or one from other data) is scaled.
int32_t FontHeightForDpi(int32_t height, int32_t from, int32_t to);

// The stock DEFAULT_GUI_FONT as a block (its height in design pixels).
FontData DefaultGuiFontData();

// The font a unit reported (pointer and length): its block when it is 60 bytes
// long, otherwise the stock DEFAULT_GUI_FONT.
FontData FontDataOrDefault(const PropertyValue& reported);

// A whole font from a font value (null: every field 0, no face name).
FontData BuildWholeFont(const FontValue* value);

// Changes one field (FontField 0..6; the face name is a text pointer in value).
// false, leaving the block alone, for an element that names no field.
bool SetFontField(FontData* font, int32_t element, uint32_t value);

// One field for compiled code: numbers and logicals in the low word, the face
// name as a new text, the whole font (-1) as a new FontValue block whose face
// name is a new text of its own. An element that names no field reads 0.
PropertyWords ReadFontField(const FontData& font, int32_t element);

// The font a unit makes from its Font block for a window at `dpi`, with the
// character set, precision, quality and pitch every unit forces, as an HFONT;
// null when the block is not 60 bytes or the font cannot be made (the unit
// then uses the default unit font).
void* CreateUnitFont(const void* data, int32_t length, int32_t dpi);

}  // namespace quillet
