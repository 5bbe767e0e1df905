#pragma once
// The spin adjuster of an edit box: an up-down control glued to the box's right
// edge that steps the number in the box or only reports its arrows.
#include <windows.h>

#include <cstdint>

#include "framework/spin_button_ctrl.h"

namespace quillet {

class EditBoxUnit;

constexpr int32_t SpinAdjusterWidth = 18;
constexpr uint32_t SpinAdjusterIdOffset = 4;  // control id = the edit box's + 4

class EditSpinAdjuster : public CSpinButtonCtrl {
public:
    EditSpinAdjuster(EditBoxUnit& box, bool automatic) : box_(box), automatic_(automatic) {}

    bool Automatic() const { return automatic_; }
    // A child of the box's parent at the box's right edge, same top and height,
    // directly before the box in z-order.
    void PlaceBeside(HWND box);
    // Shown without activation, or hidden, as the box is.
    void FollowVisibility(bool shown);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    EditBoxUnit& box_;  // the edit box it belongs to
    bool automatic_;    // SpinMode 1: steps the number itself; otherwise raises SpinAdjusted
};

// Automatic stepping: one up (delta > 0) or down from the value within
// lower..upper; stepping past either end wraps to the other, a value outside
// the range comes back to the nearer end.
int64_t SteppedValue(int64_t value, int32_t delta, int32_t lower, int32_t upper);

}  // namespace quillet
