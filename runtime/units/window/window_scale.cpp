// The window at a display's scale: its units stand at their design places
// × DPI / 96 with fonts made for that DPI. The loader places them so at the
// scale of the screen; when Windows moves the window to a display of another
// scale, or the scale changes, WM_DPICHANGED brings everything to the new one.
#include "runtime/template/design_scale.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/window_style.h"
#include "runtime/units/window/window_unit.h"
#include "runtime/units/window/window_units.h"

namespace quillet {
namespace {

// The same design place at another scale: the corner and the size each taken
// back to design pixels, so that the size does not drift with the corner.
void Rescale(HWND unit, int32_t from, int32_t to) {
    const RECT area = PlacedRectangle(unit);
    const auto at = [from, to](LONG pixels) { return DesignToPixels(PixelsToDesign(pixels, from), to); };
    SetWindowPos(unit, nullptr, at(area.left), at(area.top), at(area.right - area.left), at(area.bottom - area.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void WindowUnit::OnDpiChanged(WPARAM wParam, const RECT* suggested) {
    WindowTemplate* window = Template();
    const int32_t dpi = HIWORD(wParam);
    if (window == nullptr || dpi <= 0) return;
    HWND self = m_hWnd;
    const int32_t old = window->state.dpi;
    if (dpi != old) {
        for (int32_t index = 1; index < window->working.Count(); ++index) {
            const UnitView unit = ViewOf(*window, index);
            if (unit.Live()) Rescale(unit.handle, old, dpi);
        }
        // The handlers a resize runs write their positions at the new scale.
        window->state.dpi = dpi;
        for (int32_t index = 1; index < window->working.Count(); ++index) {
            const UnitView unit = ViewOf(*window, index);
            if (unit.Live()) SendMessageW(unit.handle, UM_DPI_CHANGED, static_cast<WPARAM>(dpi), 0);
        }
        SendMessageW(self, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultUnitFont(dpi)), TRUE);
    }
    if (suggested != nullptr && StillAlive(self, this))
        SetWindowPos(self, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quillet
