#include "runtime/events/common_events.h"

#include "framework/wnd.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/events/window_loader.h"
#include "runtime/units/unit_type.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr uint32_t CtrlBit = 1, ShiftBit = 2, AltBit = 4;
constexpr TypeStateFlags TakesChildMessages = 0x00200200;

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Keypad digits read as digits; keypad minus, point and divide as the main keys'.
uint32_t KeyCode(WPARAM wParam) {
    const uint32_t key = static_cast<uint32_t>(wParam) & 0xFF;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return '0' + (key - VK_NUMPAD0);
    if (key == VK_SUBTRACT) return 189;
    if (key == VK_DECIMAL) return 190;
    if (key == VK_DIVIDE) return 191;
    return key;
}

// A modifier key does not count itself.
uint32_t KeyModifiers(WPARAM wParam) {
    const auto key = static_cast<int>(wParam & 0xFF);
    uint32_t state = 0;
    if (key != VK_CONTROL && KeyDown(VK_CONTROL)) state |= CtrlBit;
    if (key != VK_SHIFT && KeyDown(VK_SHIFT)) state |= ShiftBit;
    if (key != VK_MENU && KeyDown(VK_MENU)) state |= AltBit;
    return state;
}

// The record the message is aimed at: the window itself, exactly the window of a
// unit, or a child window of a unit whose type takes its children's messages.
int32_t TargetRecord(WindowTemplate& window, HWND target) {
    UnitCollection& records = window.working;
    for (int32_t i = 0; i < records.Count(); ++i) {
        UnitRecord record = records.RecordAt(i);
        if (record.IsMenuItem()) continue;
        auto* object = static_cast<CWnd*>(record.Object());
        if (object == nullptr || object->m_hWnd == nullptr) continue;
        if (object->m_hWnd == target) return i;
    }
    for (int32_t i = 1; i < records.Count(); ++i) {
        UnitRecord record = records.RecordAt(i);
        if (record.IsMenuItem()) continue;
        auto* object = static_cast<CWnd*>(record.Object());
        const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
        if (object == nullptr || type == nullptr || (type->stateFlags & TakesChildMessages) == 0) continue;
        if (IsChild(object->m_hWnd, target)) return i;
    }
    return -1;
}

struct CommonEventOf {
    int32_t event;
    uint32_t args[3];
    int32_t argCount;
};

bool Translate(const MSG& message, CommonEventOf* out) {
    const auto x = static_cast<uint32_t>(LOWORD(message.lParam));
    const auto y = static_cast<uint32_t>(HIWORD(message.lParam));
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        *out = {down ? CommonEvent::KeyDown : CommonEvent::KeyUp,
                {KeyCode(message.wParam), KeyModifiers(message.wParam)},
                2};
        return true;
    }
    case WM_CHAR: *out = {CommonEvent::Character, {static_cast<uint32_t>(message.wParam)}, 1}; return true;
    case WM_MOUSEMOVE: *out = {CommonEvent::MouseMove, {x, y, ModifierState()}, 3}; return true;
    case WM_LBUTTONDOWN: *out = {CommonEvent::LeftDown, {x, y, ModifierState()}, 3}; return true;
    case WM_LBUTTONUP: *out = {CommonEvent::LeftUp, {x, y, ModifierState()}, 3}; return true;
    case WM_LBUTTONDBLCLK: *out = {CommonEvent::LeftDoubleClick, {x, y, ModifierState()}, 3}; return true;
    case WM_RBUTTONDOWN: *out = {CommonEvent::RightDown, {x, y, ModifierState()}, 3}; return true;
    case WM_RBUTTONUP: *out = {CommonEvent::RightUp, {x, y, ModifierState()}, 3}; return true;
    case WM_MOUSEWHEEL: {
        const auto notches = (static_cast<int32_t>(message.wParam) >> 16) / WHEEL_DELTA;
        *out = {CommonEvent::Wheel, {static_cast<uint32_t>(notches), ModifierState()}, 2};
        return true;
    }
    default: return false;
    }
}

}  // namespace

uint32_t ModifierState() {
    return (KeyDown(VK_CONTROL) ? CtrlBit : 0) | (KeyDown(VK_SHIFT) ? ShiftBit : 0) | (KeyDown(VK_MENU) ? AltBit : 0);
}

// A typed character arrives in UTF-16; its event carries the code page's
// bytes, one event a byte, as an ANSI loop delivered them. A handler's result
// replaces its byte (0 swallows the character). A character the code page
// lacks has no such bytes and raises no event: it goes into the box as typed.
bool RaiseCharacterEvents(WindowTemplate& window, UnitId unitId, MSG* message) {
    char bytes[4];
    const size_t count = EncodeCharacter(static_cast<uint32_t>(message->wParam & 0xFFFF), bytes);
    if (count > 2) return false;
    bool changed = false;
    for (size_t i = 0; i < count; ++i) {
        uint32_t args[1] = {static_cast<unsigned char>(bytes[i])};
        uint32_t result = 0;
        const bool returned = RaiseSimpleEvent(window.windowId, unitId, CommonEvent::Character, args, 1, &result);
        if (LiveWindowOf(window) == nullptr) return true;  // the handler closed the window
        if (!returned) continue;
        if (result == 0) return true;
        changed |= static_cast<char>(result) != bytes[i];
        bytes[i] = static_cast<char>(result);
    }
    if (changed) message->wParam = CharacterAt(bytes, count, 0).codePoint;
    return false;
}

bool RaiseCommonEvent(WindowTemplate& window, MSG* message) {
    CommonEventOf common;
    if (!Translate(*message, &common)) return false;
    const int32_t index = TargetRecord(window, message->hwnd);
    if (index < 0 || (index == 0 && common.event == CommonEvent::KeyDown)) return false;
    const UnitId unitId = index == 0 ? 0 : window.working.IdAt(index);
    if (common.event == CommonEvent::Character) return RaiseCharacterEvents(window, unitId, message);
    uint32_t result = 0;
    const bool returned = RaiseSimpleEvent(window.windowId, unitId, common.event, common.args, common.argCount, &result);
    if (LiveWindowOf(window) == nullptr) return true;  // the handler closed the window
    if (!returned) return false;
    return result == 0;
}

bool RaiseWindowKeyEvent(WindowTemplate& window, const MSG& message, UnitId unit) {
    const uint32_t args[3] = {KeyCode(message.wParam), KeyModifiers(message.wParam), unit};
    uint32_t result = 0;
    const bool returned = RaiseSimpleEvent(window.windowId, 0, CommonEvent::KeyDown, args, 3, &result);
    if (LiveWindowOf(window) == nullptr) return true;  // the handler closed the window
    return returned && result == 0;
}

bool RepeatedKeyDown(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && (message.lParam & (1L << 30)) != 0;
}

}  // namespace quillet
