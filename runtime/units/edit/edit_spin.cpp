#include "runtime/units/edit/edit_spin.h"

#include <commctrl.h>

#include "runtime/units/edit/edit_unit.h"

namespace quillet {

void EditSpinAdjuster::PlaceBeside(HWND box) {
    if (m_hWnd == nullptr) return;
    HWND parent = GetParent(box);
    if (GetParent(m_hWnd) != parent) SetParent(m_hWnd, parent);
    RECT area;
    GetWindowRect(box, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    // SetWindowPos(hWnd, insertAfter) puts the window right below insertAfter,
    // so the window above the box is the one to name.
    HWND above = GetWindow(box, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE;
    if (above == m_hWnd) flags |= SWP_NOZORDER;
    SetWindowPos(m_hWnd, above != nullptr ? above : HWND_TOP, area.right, area.top, SpinAdjusterWidth,
                 area.bottom - area.top, flags);
}

void EditSpinAdjuster::FollowVisibility(bool shown) {
    if (m_hWnd != nullptr) ShowWindow(m_hWnd, shown ? SW_SHOWNA : SW_HIDE);
}

LRESULT EditSpinAdjuster::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_BASE + WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (notice->hdr.code != UDN_DELTAPOS) break;
        box_.SpinStep(notice->iDelta);
        return 0;  // the control's own position may always change
    }
    default: break;
    }
    return CSpinButtonCtrl::WindowProc(message, wParam, lParam);
}

int64_t SteppedValue(int64_t value, int32_t delta, int32_t lower, int32_t upper) {
    // Just outside the range steps exactly as any value further out; held there,
    // the step cannot overflow.
    if (value < static_cast<int64_t>(lower) - 1) value = static_cast<int64_t>(lower) - 1;
    if (value > static_cast<int64_t>(upper) + 1) value = static_cast<int64_t>(upper) + 1;
    if (delta > 0) {
        const int64_t next = value + 1;
        return next < lower ? lower : (next > upper ? lower : next);
    }
    const int64_t next = value - 1;
    return next > upper ? upper : (next < lower ? upper : next);
}

}  // namespace quillet
