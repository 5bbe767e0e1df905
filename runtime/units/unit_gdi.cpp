#include "runtime/units/unit_gdi.h"

#include "runtime/units/font_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

COLORREF ColorOf(uint32_t color) { return color == DefaultColor ? GetSysColor(COLOR_BTNFACE) : color; }

HFONT DefaultUnitFont() {
    static const HFONT font = [] {
        const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW shape;
        if (GetObjectW(stock, sizeof shape, &shape) != sizeof shape || shape.lfCharSet == GB2312_CHARSET)
            return stock;
        shape.lfCharSet = GB2312_CHARSET;
        const HFONT made = CreateFontIndirectW(&shape);
        return made != nullptr ? made : stock;
    }();
    return font;
}

UnitFont::~UnitFont() {
    if (own_ != nullptr) DeleteObject(own_);
}

void UnitFont::Make(const std::string& fontBlock, HWND window) {
    HFONT old = own_;
    own_ = static_cast<HFONT>(CreateUnitFont(fontBlock.data(), static_cast<int32_t>(fontBlock.size())));
    if (window != nullptr) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Handle()), TRUE);
    if (old != nullptr) DeleteObject(old);
}

HFONT UnitFont::Handle() const {
    return own_ != nullptr ? own_ : DefaultUnitFont();
}

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
