#pragma once
// The tab control's stored properties: its PropertyData (versions 0 to 3) and
// the page list bytes that carry its page captions.
//
// PropertyData, version 3:
//   version, TabPosition, MultiLine, CurrentPage        (32-bit each)
//   HideTabs                                            (from version 2)
//   DrawBackground, BackColor                           (from version 3)
//   Font                                                (32-bit length, bytes)
//   page list
// Page list: a 16-bit page count (0xFFFF: a 32-bit count follows), then per
// page a 32-bit caption length and the caption's bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

constexpr uint32_t TabDataVersion = 3;

// Where the headers are: TabPosition values.
namespace TabSide {
enum : int32_t { Top, Bottom, Left, Right };
}  // namespace TabSide

struct TabData {
    int32_t tabPosition = TabSide::Top;   // 0..3
    int32_t multiLine = 0;                // 1: headers wrap into several rows
    int32_t currentPage = 0;              // the page whose units are shown
    int32_t hideTabs = 0;                 // 1: a plain container without headers
    int32_t drawBackground = 1;           // without headers: 1 fills with backColor, 0 paints nothing
    uint32_t backColor = DefaultColor;    // without headers, when drawBackground is 1
    std::string font{};                     // a FontData block, or empty for DEFAULT_GUI_FONT
    std::vector<std::string> pages{""};   // page captions (GBK), never fewer than one
};

// Reads PropertyData of versions 0 to 3. False, *data unchanged, for a higher
// version or a block that ends before its last field. TabPosition is brought
// into 0..3; data older than version 3 paints no background; an empty page
// list gives one page with an empty caption.
bool ReadTabData(const void* bytes, int32_t length, TabData* data);

// Writes version-3 PropertyData.
void WriteTabData(const TabData& data, PropertyDataWriter& writer);

// The page list bytes of the captions.
std::string WritePageList(const std::vector<std::string>& pages);

// The captions of a page list written to Pages: every complete page the bytes
// hold, and one page with an empty caption when they hold none.
std::vector<std::string> ReadPageListValue(const void* bytes, uint32_t length);

// The page brought into 0..pageCount - 1 (0 without pages).
int32_t ClampPage(int32_t page, int32_t pageCount);

// EnumTexts: the font's face name (flagged as a font name) and then every
// caption, each offered for replacement; the block written anew. Null, *length
// unchanged, when the block is refused.
void* EnumTabTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord);

}  // namespace quillet
