#include "runtime/units/window/window_focus.h"

#include <iterator>

#include "runtime/units/private_messages.h"
#include "runtime/units/unit_object.h"

namespace quillet {

std::vector<UnitView> FocusCandidates(WindowTemplate& window, bool optionButtons, HWND optionParent) {
    std::vector<UnitView> candidates;
    for (int32_t index = window.working.Count() - 1; index >= 1; --index) {
        const UnitView unit = ViewOf(window, index);
        if (!unit.Usable() || (unit.flags & RecordFlag::TabStop) == 0) continue;
        if (unit.Has(TypeState::NoMnemonic | TypeState::NoFocusOnPageShow)) continue;
        if (optionButtons && (!unit.Has(TypeState::OptionButtonKeys) || GetParent(unit.handle) != optionParent))
            continue;
        auto at = candidates.end();
        while (at != candidates.begin() && std::prev(at)->focusOrder > unit.focusOrder) --at;
        candidates.insert(at, unit);
    }
    return candidates;
}

UnitView FocusMoveTarget(WindowTemplate& window, HWND from, bool forward, bool optionButtons) {
    const UnitView current = ViewOf(window, UnitOwning(window, from));
    const HWND optionParent = current.Live() ? GetParent(current.handle) : nullptr;
    const std::vector<UnitView> candidates = FocusCandidates(window, optionButtons, optionParent);
    if (candidates.empty()) return {};

    if (current.Has(TypeState::CaptionOnly | TypeState::MnemonicFocusesSelf)) {
        const uint32_t reference = current.Has(TypeState::MnemonicFocusesSelf) ? 0 : current.focusOrder;
        if (forward) {
            for (const UnitView& unit : candidates)
                if (unit.focusOrder >= reference) return unit;
        } else {
            for (auto unit = candidates.rbegin(); unit != candidates.rend(); ++unit)
                if (unit->focusOrder < reference) return *unit;
        }
        return {};
    }

    const auto count = static_cast<int32_t>(candidates.size());
    int32_t at = -1;
    for (int32_t i = 0; i < count; ++i)
        if (candidates[static_cast<size_t>(i)].index == current.index) at = i;
    if (at < 0) return forward ? candidates.front() : candidates.back();
    const int32_t next = forward ? (at + 1) % count : (at + count - 1) % count;
    return candidates[static_cast<size_t>(next)];
}

void MarkOptionButton(WindowTemplate& window, const UnitView& chosen) {
    const HWND parent = GetParent(chosen.handle);
    for (int32_t index = 1; index < window.working.Count(); ++index) {
        const UnitView unit = ViewOf(window, index);
        if (!unit.Live() || !unit.Has(TypeState::OptionButtonKeys) || GetParent(unit.handle) != parent) continue;
        SendMessageW(unit.handle, BM_SETCHECK, unit.index == chosen.index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    RaiseUnitEvent(window.windowId, chosen.id, 0);
}

bool MoveFocus(WindowTemplate& window, HWND from, bool forward, bool optionButtons) {
    const UnitView chosen = FocusMoveTarget(window, from, forward, optionButtons);
    if (!chosen.Live()) return false;
    if (optionButtons) MarkOptionButton(window, chosen);
    // The event's handler may have taken the unit away.
    if (IsWindow(chosen.handle)) SetFocus(chosen.handle);
    return true;
}

HWND FirstFocusUnit(WindowTemplate& window) {
    const std::vector<UnitView> candidates = FocusCandidates(window, false, nullptr);
    return candidates.empty() ? nullptr : candidates.front().handle;
}

namespace {

// The innermost tab control around the focus, else the first usable one.
UnitView PageTurningUnit(WindowTemplate& window, HWND focus) {
    UnitView first, around;
    for (int32_t index = 1; index < window.working.Count(); ++index) {
        const UnitView unit = ViewOf(window, index);
        if (!unit.Has(TypeState::TabPageContainer) || !unit.Usable()) continue;
        if (!first.Live()) first = unit;
        const bool holdsFocus = unit.handle == focus || IsChild(unit.handle, focus);
        if (holdsFocus && (!around.Live() || IsChild(around.handle, unit.handle))) around = unit;
    }
    return around.Live() ? around : first;
}

}  // namespace

bool StepTabPage(WindowTemplate& window, bool forward) {
    HWND focus = GetFocus();
    const UnitView tab = PageTurningUnit(window, focus);
    if (!tab.Live() || SendMessageW(tab.handle, UM_STEP_PAGE, forward ? 1 : 0, 0) == 0) return false;
    // A handler of the change may have closed the window.
    if (!IsWindow(tab.handle) || focus == nullptr || IsWindowVisible(focus)) return true;
    for (const UnitView& unit : FocusCandidates(window, false, nullptr)) {
        if (!IsChild(tab.handle, unit.handle)) continue;
        SetFocus(unit.handle);
        break;
    }
    return true;
}

}  // namespace quillet
