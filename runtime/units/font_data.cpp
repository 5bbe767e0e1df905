#include "runtime/units/font_data.h"

#include <windows.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>

#include "runtime/template/design_scale.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

// FontData is LOGFONTA field for field, and LOGFONTW but for the face name.
static_assert(sizeof(FontData) == sizeof(LOGFONTA) && FaceNameSize == LF_FACESIZE);
static_assert(offsetof(FontData, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
static_assert(offsetof(FontData, lfWeight) == offsetof(LOGFONTA, lfWeight));
static_assert(offsetof(FontData, lfPitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily));
static_assert(offsetof(FontData, lfFaceName) == offsetof(LOGFONTA, lfFaceName));

constexpr int32_t BoldWeight = 700;
constexpr int32_t FullTurn = 3600;  // tenths of a degree

uint8_t Flag(uint32_t value) { return value != 0 ? 1 : 0; }

// The face name bytes of a block that need not end inside its 32 bytes.
int32_t FaceNameLength(const FontData& font) {
    return static_cast<int32_t>(strnlen(font.lfFaceName, FaceNameSize));
}

void SetFaceName(FontData* font, const char* name) {
    // Empty names and names that leave no room for the ending 0 byte fall back.
    const int32_t length = TextByteCount(name);
    if (length == 0 || length >= FaceNameSize) name = FallbackFaceName;
    std::memset(font->lfFaceName, 0, sizeof font->lfFaceName);
    std::strcpy(font->lfFaceName, name);
}

}  // namespace

int32_t ScreenPixelsPerInchY() {
    HDC screen = GetDC(nullptr);
    const int32_t perInch = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return perInch > 0 ? perInch : 96;
}

int32_t FontHeightForPoints(int32_t points) {
    if (points == INT_MIN) return 0;  // no magnitude to take
    if (points < 0) points = -points;
    const int32_t height = MulDiv(points, DesignDpi, 72);
    return height > 0 ? -height : 0;  // MulDiv answers -1 on overflow
}

int32_t PointsForFontHeight(int32_t height) {
    const int32_t magnitude = height == INT_MIN ? INT_MAX : (height < 0 ? -height : height);
    const int32_t points = MulDiv(magnitude, 72, DesignDpi);
    return points > 0 ? points : 0;
}

int32_t FontHeightForDpi(int32_t height, int32_t from, int32_t to) {
    if (from <= 0 || to <= 0) return height;
    // The whole point size whose height at `from` this is, if any.
    const int32_t points = height < 0 && height != INT_MIN ? MulDiv(-height, 72, from) : 0;
    if (points > 0 && MulDiv(points, from, 72) == -height) {
        const int32_t made = MulDiv(points, to, 72);
        if (made > 0) return -made;
    }
    return ScaledRounded(height, to, from);
}

FontData DefaultGuiFontData() {
    LOGFONTW stock;
    FontData font{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock) != sizeof stock) {
        SetFaceName(&font, nullptr);
        return font;
    }
    // The same fields, the height in design pixels; the face name in the
    // runtime's encoding.
    std::memcpy(&font, &stock, offsetof(FontData, lfFaceName));
    font.lfHeight = FontHeightForDpi(stock.lfHeight, ScreenPixelsPerInchY(), DesignDpi);
    const std::string face = TextFromWide(stock.lfFaceName, wcsnlen(stock.lfFaceName, LF_FACESIZE));
    SetFaceName(&font, face.c_str());
    return font;
}

FontData FontDataOrDefault(const PropertyValue& reported) {
    const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(reported.first));
    if (block == nullptr || reported.second != sizeof(FontData)) return DefaultGuiFontData();
    FontData font;
    std::memcpy(&font, block, sizeof font);
    return font;
}

FontData BuildWholeFont(const FontValue* value) {
    const FontValue fields = value != nullptr ? *value : FontValue{};
    FontData font{};
    font.lfEscapement = fields.angle;
    font.lfOrientation = fields.angle;
    font.lfWeight = fields.bold != 0 ? BoldWeight : 0;
    font.lfItalic = Flag(fields.italic);
    font.lfStrikeOut = Flag(fields.strikeOut);
    font.lfUnderline = Flag(fields.underline);
    font.lfHeight = FontHeightForPoints(fields.size);
    SetFaceName(&font, fields.faceName);
    return font;
}

bool SetFontField(FontData* font, int32_t element, uint32_t value) {
    switch (element) {
    case FontField::Angle:
        font->lfEscapement = font->lfOrientation = static_cast<int32_t>(value) % FullTurn;
        return true;
    case FontField::Bold: font->lfWeight = value != 0 ? BoldWeight : 0; return true;
    case FontField::Italic: font->lfItalic = Flag(value); return true;
    case FontField::StrikeOut: font->lfStrikeOut = Flag(value); return true;
    case FontField::Underline: font->lfUnderline = Flag(value); return true;
    case FontField::Size: font->lfHeight = FontHeightForPoints(static_cast<int32_t>(value)); return true;
    case FontField::FaceName:
        SetFaceName(font, reinterpret_cast<const char*>(static_cast<uintptr_t>(value)));
        return true;
    default: return false;
    }
}

PropertyWords ReadFontField(const FontData& font, int32_t element) {
    auto word = [](int32_t value) { return PropertyWords{static_cast<uint32_t>(value), 0}; };
    switch (element) {
    case FontField::Angle: return word(font.lfOrientation);
    case FontField::Bold: return word(font.lfWeight >= BoldWeight ? 1 : 0);
    case FontField::Italic: return word(font.lfItalic != 0 ? 1 : 0);
    case FontField::StrikeOut: return word(font.lfStrikeOut != 0 ? 1 : 0);
    case FontField::Underline: return word(font.lfUnderline != 0 ? 1 : 0);
    case FontField::Size: return word(PointsForFontHeight(font.lfHeight));
    case FontField::FaceName:
        return {Word(CopyBytes(font.lfFaceName, FaceNameLength(font))), 0};
    case FontField::Whole: {
        auto* value = static_cast<FontValue*>(AllocateBlock(sizeof(FontValue)));
        value->angle = font.lfOrientation;
        value->bold = font.lfWeight >= BoldWeight ? 1 : 0;
        value->italic = font.lfItalic != 0 ? 1 : 0;
        value->strikeOut = font.lfStrikeOut != 0 ? 1 : 0;
        value->underline = font.lfUnderline != 0 ? 1 : 0;
        value->size = PointsForFontHeight(font.lfHeight);
        value->faceName = CopyBytes(font.lfFaceName, FaceNameLength(font));
        return {Word(value), 0};
    }
    default: return {0, 0};
    }
}

void* CreateUnitFont(const void* data, int32_t length, int32_t dpi) {
    if (data == nullptr || length != sizeof(FontData)) return nullptr;
    FontData block;
    std::memcpy(&block, data, sizeof block);
    LOGFONTW font{};
    std::memcpy(&font, &block, offsetof(FontData, lfFaceName));
    font.lfHeight = FontHeightForDpi(block.lfHeight, DesignDpi, dpi);
    font.lfWidth = DesignToPixels(block.lfWidth, dpi);
    // Chinese glyphs on every system: with DEFAULT_CHARSET the system's own
    // language picks the fallback, Japanese shapes or empty boxes.
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    // The block comes from stored data: its name need not end inside its 32
    // bytes, and is cut to 31 as the system would cut it.
    const std::wstring face = WideFromText(block.lfFaceName, strnlen(block.lfFaceName, FaceNameSize - 1));
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

}  // namespace quillet
