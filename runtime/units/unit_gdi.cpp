#include "runtime/units/unit_gdi.h"

#include <map>

#include "runtime/template/design_scale.h"
#include "runtime/template/window_table.h"
#include "runtime/units/font_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

COLORREF ColorOf(uint32_t color) { return color == DefaultColor ? GetSysColor(COLOR_BTNFACE) : color; }

HFONT DefaultUnitFont(int32_t dpi) {
    // One font per scale for the process's life: few scales ever meet.
    static std::map<int32_t, HFONT> made;
    const auto found = made.find(dpi);
    if (found != made.end()) return found->second;
    const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HFONT font = stock;
    LOGFONTW shape;
    const int32_t systemDpi = ScreenPixelsPerInchY();
    if (GetObjectW(stock, sizeof shape, &shape) == sizeof shape &&
        (shape.lfCharSet != GB2312_CHARSET || dpi != systemDpi)) {
        shape.lfCharSet = GB2312_CHARSET;
        shape.lfHeight = FontHeightForDpi(shape.lfHeight, systemDpi, dpi);
        shape.lfWidth = ScaledRounded(shape.lfWidth, dpi, systemDpi);
        if (HFONT copy = CreateFontIndirectW(&shape)) font = copy;
    }
    made.emplace(dpi, font);
    return font;
}

int32_t WindowDpi(uint32_t windowId) {
    const WindowTemplate* window = ProgramWindows().Find(windowId);
    return window != nullptr && window->state.dpi > 0 ? window->state.dpi : ScreenPixelsPerInchY();
}

UnitFont::~UnitFont() {
    if (own_ != nullptr) DeleteObject(own_);
}

void UnitFont::Make(const std::string& fontBlock, int32_t dpi, HWND window) {
    HFONT old = own_;
    dpi_ = dpi;
    own_ = static_cast<HFONT>(CreateUnitFont(fontBlock.data(), static_cast<int32_t>(fontBlock.size()), dpi));
    if (window != nullptr) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Handle()), TRUE);
    if (old != nullptr) DeleteObject(old);
}

HFONT UnitFont::Handle() const { return own_ != nullptr ? own_ : DefaultUnitFont(dpi_); }

SolidBrush::~SolidBrush() {
    if (brush_ != nullptr) DeleteObject(brush_);
}

void SolidBrush::Make(COLORREF color) {
    HBRUSH made = CreateSolidBrush(color);
    if (made == nullptr) return;  // the old brush stays: something to paint with
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = made;
}

}  // namespace quillet
