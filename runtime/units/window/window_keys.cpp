// The window's pre-translation of the messages of its own window and its
// units, in this order: drag-anywhere, accelerators, the window's own key
// event, the page keys (Ctrl+Tab, Ctrl+PgDn and their reverses), Tab, Enter,
// Esc, arrow keys, F1, Alt mnemonics, then the common events.
//
// The road of a key going down in any unit, the tab strip included:
//  1. The loop takes WM_KEYDOWN (WM_SYSKEYDOWN with Alt) aimed at the focused
//     control; RuntimeApp::PreTranslateMessage walks up its parents
//     (CWnd::WalkPreTranslateTree) to this window's PreTranslateMessage.
//  2. Accelerators of the window's menu, if any.
//  3. TakenByWindow → RaiseWindowKeyEvent (runtime/events/common_events.h):
//     the key-down event (-9) of the window's own record with the key's code,
//     the modifier state and the unit the key went to (its own record or its
//     parent's, 0 for the window). The program binds one handler there (the
//     tool's WindowKey), so a key the window acts on acts from every unit. A
//     false from it ends the road: no character, nothing for the unit.
//  4. The window's keys (HandleKeyDown, HandleMnemonic), then the unit's own
//     common events (RaiseCommonEvent), as before the window's event existed;
//     the loop then translates and dispatches what was not consumed.
// A key-down the system repeats while the key is held (bit 30) raises no
// window key event and presses no default button, so that a held key starts
// no second run, undo or load; the repeats of a key whose first press the
// window's handler took are consumed at step 3, other repeats go on to step 4.
#include <string>

#include "runtime/events/common_events.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/units/window/window_focus.h"
#include "runtime/units/window/window_unit.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// As in property sheets: Ctrl+Tab and Ctrl+PgDn the next page, Ctrl+Shift+Tab
// and Ctrl+PgUp the previous one (1 and -1); 0 for any other key.
int32_t PageStep(int32_t key) {
    if (!KeyHeld(VK_CONTROL)) return 0;
    if (key == VK_TAB) return KeyHeld(VK_SHIFT) ? -1 : 1;
    return key == VK_NEXT ? 1 : (key == VK_PRIOR ? -1 : 0);
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// Alt was held when the key went down (bit 29 of the key data).
bool AltContext(LPARAM keyData) { return (keyData & (1L << 29)) != 0; }

// "&" followed by the key's character, "&&" being a plain "&"; a letter also
// matches its lower case. Captions are GBK: a lead byte takes its trail byte along.
bool CaptionHasMnemonic(const std::string& caption, int32_t key) {
    const char upper = static_cast<char>(key);
    const char lower = (key >= 'A' && key <= 'Z') ? static_cast<char>(key - 'A' + 'a') : upper;
    for (size_t i = 0; i < caption.size(); ++i) {
        const auto byte = static_cast<unsigned char>(caption[i]);
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;
            continue;
        }
        if (caption[i] != '&' || i + 1 >= caption.size()) continue;
        const char next = caption[++i];
        if (next == upper || next == lower) return true;
    }
    return false;
}

// Pressed, toggled, marked or focused, as the unit's type says.
void ActOnMnemonic(WindowTemplate& window, const UnitView& unit) {
    if (unit.Has(TypeState::OptionButtonKeys)) {
        MarkOptionButton(window, unit);
    } else if (unit.Has(TypeState::PushButtonKeys)) {
        RaiseUnitEvent(window.windowId, unit.id, 0);
    } else if (unit.Has(TypeState::CheckBoxKeys)) {
        const LRESULT checked = SendMessageW(unit.handle, BM_GETCHECK, 0, 0);
        SendMessageW(unit.handle, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        RaiseUnitEvent(window.windowId, unit.id, 0);
    } else if (unit.Has(TypeState::CaptionOnly)) {
        MoveFocus(window, unit.handle, true, false);
    } else if (unit.Has(TypeState::MnemonicFocusesSelf)) {
        SetFocus(unit.handle);
    }
}

// The help file of the window: HelpFile, or the program's file name with the
// extension "hlp".
std::string HelpFileName(const std::string& helpFile) {
    if (!helpFile.empty()) return helpFile;
    const auto* program = reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::ExecutableName));
    std::string name = program != nullptr ? program : "";
    if (name.empty()) return name;
    // A file name without folder: its last dot starts the extension (no GBK
    // trail byte is a dot).
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.resize(dot);
    return name + ".hlp";
}

}  // namespace

BOOL WindowUnit::PreTranslateMessage(MSG* message) {
    HWND self = m_hWnd;
    // Owned pop-up windows pass their messages up to their owner's object too.
    if (self == nullptr || message->hwnd == nullptr || (message->hwnd != self && !IsChild(self, message->hwnd)))
        return FALSE;
    WindowTemplate* window = Template();
    if (window == nullptr) return FALSE;
    const bool key = IsKeyMessage(message->message);
    if (key && (!IsWindowEnabled(self) || !IsWindowEnabled(message->hwnd))) return FALSE;

    if (message->message == WM_LBUTTONDOWN && options_.dragAnywhere != 0) StartDragIfAnywhere(*window, *message);
    if (key) {
        if (window->state.accelerators != nullptr &&
            TranslateAcceleratorW(self, static_cast<HACCEL>(window->state.accelerators), message) != 0)
            return TRUE;
        const bool down = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN;
        if (down && TakenByWindow(*window, *message)) return TRUE;
        bool consumed = false;
        if (message->message == WM_KEYDOWN) consumed = HandleKeyDown(*window, *message);
        if (message->message == WM_SYSKEYDOWN) consumed = HandleMnemonic(*window, *message);
        if (consumed || !StillAlive(self, this)) return TRUE;
    }
    return RaiseCommonEvent(*window, message) ? TRUE : FALSE;
}

void WindowUnit::StartDragIfAnywhere(WindowTemplate& window, const MSG& message) {
    bool drag = message.hwnd == m_hWnd;
    if (!drag) drag = ViewOf(window, RecordOfHandle(window, message.hwnd)).Has(TypeState::DragsWindow);
    if (!drag) return;
    ReleaseCapture();
    PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(message.pt.x, message.pt.y));
}

// The window's key event for a key going down, or for its repeats what the
// first press decided. True when the key goes no further.
bool WindowUnit::TakenByWindow(WindowTemplate& window, const MSG& message) {
    const auto key = static_cast<uint32_t>(message.wParam);
    if (RepeatedKeyDown(message)) return key == live_.heldWindowKey;
    HWND self = m_hWnd;
    const bool taken = RaiseWindowKeyEvent(window, message, ViewOf(window, UnitOwning(window, message.hwnd)).id);
    if (!StillAlive(self, this)) return true;
    live_.heldWindowKey = taken ? key : 0;
    return taken;
}

// True when the key was the window's: it goes no further. Nothing of the object
// is used once a handler may have run.
bool WindowUnit::HandleKeyDown(WindowTemplate& window, const MSG& message) {
    const auto key = static_cast<int32_t>(message.wParam);
    const UnitView focused = ViewOf(window, UnitOwning(window, message.hwnd));
    // Pages turn from wherever the focus is, even a unit that wants the key.
    const int32_t step = PageStep(key);
    if (step != 0 && StepTabPage(window, step > 0)) return true;
    switch (key) {
    case VK_TAB:
        if (UnitWantsKey(focused, key)) return false;
        MoveFocus(window, message.hwnd, !KeyHeld(VK_SHIFT), false);
        return true;
    case VK_RETURN: {
        if (UnitWantsKey(focused, key)) return false;
        // A held Enter is the window's as its first press was, but presses nothing again.
        const bool press = !RepeatedKeyDown(message);
        if (focused.Has(TypeState::PushButtonKeys) && IsWindowEnabled(focused.handle) &&
            UnitIsDefaultButton(focused)) {
            if (press) RaiseUnitEvent(window.windowId, focused.id, 0);
            return true;
        }
        if (options_.enterMovesFocus != 0) {
            MoveFocus(window, message.hwnd, true, false);
            return true;
        }
        return PressDefaultButton(window, press);
    }
    case VK_ESCAPE:
        if (UnitWantsKey(focused, key) || options_.escCloses == 0) return false;
        SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!focused.Has(TypeState::OptionButtonKeys) || UnitWantsKey(focused, key)) return false;
        MoveFocus(window, message.hwnd, key == VK_RIGHT || key == VK_DOWN, true);
        return true;
    case VK_F1:
        if (UnitWantsKey(focused, key) || options_.f1Help == 0) return false;
        OpenHelp();
        return true;
    default: return false;
    }
}

// The first push button in template order that is the default button, pressed
// when `press`; false when there is none. Only a button that can be seen
// counts: the run buttons of hidden tab pages stay put.
bool WindowUnit::PressDefaultButton(WindowTemplate& window, bool press) {
    for (int32_t index = 1; index < window.working.Count(); ++index) {
        const UnitView unit = ViewOf(window, index);
        if (!unit.Has(TypeState::PushButtonKeys) || !unit.Usable() || !UnitIsDefaultButton(unit)) continue;
        if (press) RaiseUnitEvent(window.windowId, unit.id, 0);
        return true;
    }
    return false;
}

bool WindowUnit::HandleMnemonic(WindowTemplate& window, const MSG& message) {
    const auto key = static_cast<int32_t>(message.wParam);
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!letterOrDigit || !AltContext(message.lParam)) return false;
    for (int32_t index = 1; index < window.working.Count(); ++index) {
        const UnitView unit = ViewOf(window, index);
        if (!unit.Usable() || !unit.Has(TypeState::MnemonicTypes) || unit.Has(TypeState::NoMnemonic)) continue;
        if (!CaptionHasMnemonic(ReadWindowText(unit.handle), key)) continue;
        ActOnMnemonic(window, unit);
        return true;
    }
    return false;
}

void WindowUnit::OpenHelp() {
    const std::string file = HelpFileName(options_.helpFile);
    const WideArgument wideFile(file);
    if (file.empty() || GetFileAttributesW(wideFile.Get()) == INVALID_FILE_ATTRIBUTES) return;
    const auto topic = static_cast<ULONG_PTR>(options_.helpTopic);
    if (WinHelpW(m_hWnd, wideFile.Get(), topic != 0 ? HELP_CONTEXT : HELP_FINDER, topic)) live_.helpOpened = true;
}

}  // namespace quillet
