#pragma once
// Drawing objects a unit keeps for its window: the font made from its Font
// block, a solid brush, and the colour a BackColor value stands for.
#include <windows.h>

#include <cstdint>
#include <string>

namespace quillet {

// The colour to paint with: DefaultColor stands for the system button-face colour.
COLORREF ColorOf(uint32_t color);

// The font of units without one of their own: the system's DEFAULT_GUI_FONT
// with the character set that picks Chinese glyphs. On a Chinese system that
// is the stock font itself; elsewhere a copy with GB2312_CHARSET, made once,
// since with the stock set the system falls back to the glyphs of its own
// language (Japanese shapes) or to none at all (empty boxes).
// At another scale than the system's a copy follows the window's (the stock
// font keeps the system's, on Windows whatever monitor the window is on).
HFONT DefaultUnitFont(int32_t dpi);

// The scale the units of a loaded window stand at (its WM_DPICHANGED's), or
// the screen's when the window is not loaded.
int32_t WindowDpi(uint32_t windowId);

// The font made from a Font block (60-byte FontData), or the default unit
// font when the block holds no font that can be made.
class UnitFont {
public:
    UnitFont() = default;
    ~UnitFont();
    UnitFont(const UnitFont&) = delete;
    UnitFont& operator=(const UnitFont&) = delete;

    // Makes the font of a block for a window at `dpi`. A window given here gets
    // the new font (WM_SETFONT, redrawn) before the old one is deleted, so that
    // it never holds a dead handle.
    void Make(const std::string& fontBlock, int32_t dpi, HWND window = nullptr);
    HFONT Handle() const;

private:
    HFONT own_ = nullptr;  // made from the block; null when the default unit font is used
    int32_t dpi_ = 96;     // the scale the font was made for
};

// A solid brush of one colour, made again when the colour changes.
class SolidBrush {
public:
    SolidBrush() = default;
    ~SolidBrush();
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    void Make(COLORREF color);
    HBRUSH Handle() const { return brush_; }

private:
    HBRUSH brush_ = nullptr;  // null until made
};

}  // namespace quillet
