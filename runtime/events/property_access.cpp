#include "runtime/events/property_access.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/property_kinds.h"
#include "runtime/events/tab_pages.h"
#include "runtime/events/unit_recreation.h"
#include "runtime/events/window_loader.h"
#include "runtime/template/design_scale.h"
#include "runtime/template/record_cursor.h"
#include "runtime/units/unit_type.h"
#include "runtime/units/window_style.h"
#include "runtime/values/array_block.h"
#include "runtime/values/text.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

namespace Common {
constexpr int32_t Left = 0, Top = 1, Width = 2, Height = 3, Tag = 4, Visible = 5, Disabled = 6, MousePointer = 7;
}
namespace MenuProperty {
constexpr int32_t Caption = 0, Checked = 1, Disabled = 2, Visible = 3;
}

// Positions and sizes are kept within what a 16-bit coordinate can carry.
constexpr int32_t MostCoordinate = 32627;

[[noreturn]] void Fail(const char* message, UnitId windowId, UnitId unitId) {
    ReportFatalError(message, 0, static_cast<int32_t>(windowId), static_cast<int32_t>(unitId));
}

// The addressed record of a loaded or unloaded window.
struct Target {
    WindowTemplate* window;
    int32_t index;
    UnitRecord Record() const { return window->working.RecordAt(index); }
    CWnd* Object() const { return static_cast<CWnd*>(Record().Object()); }
    HWND Live() const {
        CWnd* object = Object();
        return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
    }
};

Target FindTarget(UnitId windowId, UnitId unitId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) Fail("未载入欲访问窗口组件所在的窗口", windowId, unitId);
    // The compiled program addresses only its own ids; any other id is reported
    // like a lookup that must succeed.
    const int32_t index = unitId == 0 ? 0 : window->working.IndexOf(unitId);
    if (index < 0) Fail("指定窗口或窗口组件不存在或尚未载入", windowId, unitId);
    return {window, index};
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return value < low ? low : (value > high ? high : value); }

uint32_t FlagBit(const UnitRecord& record, uint32_t bit) { return (record.Flags() & bit) != 0 ? 1 : 0; }

void SetFlagBit(UnitRecord record, uint32_t bit, bool on) {
    record.SetFlags(on ? (record.Flags() | bit) : (record.Flags() & ~bit));
}

PropertyWords ReadMenuItem(const UnitRecord& item, int32_t index) {
    switch (index) {
    case MenuProperty::Caption: return {Word(CopyText(item.Caption())), 0};
    case MenuProperty::Checked: return {FlagBit(item, MenuItemFlag::Checked), 0};
    case MenuProperty::Disabled: return {FlagBit(item, MenuItemFlag::Disabled), 0};
    case MenuProperty::Visible: return {1 - FlagBit(item, MenuItemFlag::Hidden), 0};
    default: return {0, 0};
    }
}

PropertyWords ReadMousePointer(const UnitRecord& record) {
    void* bytes = NewByteSet(record.MouseData(), static_cast<int32_t>(record.MouseDataLength()));
    TranslateCursorIdToNumber(static_cast<char*>(bytes) + 8, ByteSetLength(bytes));
    return {Word(bytes), 0};
}

void WriteMenuItem(const Target& target, int32_t index, uint32_t value) {
    UnitRecord item = target.Record();
    bool changed = false;
    if (index == MenuProperty::Caption) {
        const char* caption = reinterpret_cast<const char*>(static_cast<uintptr_t>(value));
        if (CompareTexts(caption, item.Caption()) != 0) {
            target.window->working.ReplaceCaption(target.index, caption);
            changed = true;
        }
    } else {
        const uint32_t bit = index == MenuProperty::Checked    ? MenuItemFlag::Checked
                             : index == MenuProperty::Disabled ? MenuItemFlag::Disabled
                             : index == MenuProperty::Visible  ? MenuItemFlag::Hidden
                                                               : 0;
        if (bit == 0) return;
        const bool on = index == MenuProperty::Visible ? value == 0 : value != 0;
        if (on != (FlagBit(item, bit) != 0)) {
            SetFlagBit(item, bit, on);
            changed = true;
        }
    }
    if (changed) RebuildLoadedWindowMenu(*target.window);
}

void WriteVisible(const Target& target, bool visible) {
    UnitRecord record = target.Record();
    SetFlagBit(record, RecordFlag::Visible, visible);
    HWND handle = target.Live();
    if (handle == nullptr) return;
    if (!visible) {
        ShowWindow(handle, SW_HIDE);
        return;
    }
    if (target.index == 0) {
        ShowWindowFirstTime(*target.window, true);
        return;
    }
    const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
    if (type != nullptr && (type->stateFlags & TypeState::NoMnemonic) != 0) return;
    if (UnitOnShownPage(*target.window, target.window->working.IdAt(target.index))) ShowWindow(handle, SW_SHOW);
}

void WriteMousePointer(const Target& target, uint32_t value) {
    const void* byteSet = reinterpret_cast<const void*>(static_cast<uintptr_t>(value));
    const int32_t length = ByteSetLength(byteSet);
    std::vector<uint8_t> data(static_cast<size_t>(length > 0 ? length : 0));
    if (!data.empty()) std::memcpy(data.data(), ByteSetBytes(byteSet), data.size());
    TranslateCursorNumberToId(data.data(), static_cast<int32_t>(data.size()));

    UnitRecord record = target.Record();
    DestroyRecordCursor(record.Cursor());
    void* cursor = data.empty() ? nullptr : MakeRecordCursor(data.data(), static_cast<uint32_t>(data.size()));
    target.window->working.ReplaceMouseData(target.index, data.data(), static_cast<uint32_t>(data.size()));
    target.Record().SetCursor(cursor);
    if (target.Live() != nullptr) {
        POINT where;
        GetCursorPos(&where);
        SetCursorPos(where.x, where.y);  // the new pointer shows at once
    }
}

void WriteOwnProperty(const Target& target, UnitId windowId, UnitId unitId, int32_t index, int32_t element,
                      uint32_t low, uint32_t high) {
    HWND handle = target.Live();
    if (handle == nullptr) Fail("修改组件属性时发现指定窗口尚未载入", windowId, unitId);
    const UnitTypeDescriptor* type = TypeDescriptorOf(target.Record().TypeRef());
    if (type == nullptr) return;
    if (WriteTypeProperty(*type, target.Object(), index, element, low, high) != AfterWrite::RebuildWindow) return;
    if (!IsWindow(handle) || (type->stateFlags & TypeState::NeverRebuilt) != 0) return;
    // The unit may have moved in the collection meanwhile: it is found again by its window.
    UnitCollection& records = target.window->working;
    for (int32_t i = 1; i < records.Count(); ++i) {
        auto* object = static_cast<CWnd*>(records.RecordAt(i).Object());
        if (object == nullptr || object->m_hWnd != handle) continue;
        ProcessPendingEvents();
        SuppressEvents();
        RecreateUnit(*target.window, i);
        ProcessPendingEvents();
        AllowEvents();
        return;
    }
}

}  // namespace

PropertyWords ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element) {
    const Target target = FindTarget(windowId, unitId);
    UnitRecord record = target.Record();
    if (record.IsMenuItem()) return ReadMenuItem(record, index);
    HWND handle = target.Live();
    if (index >= CommonPropertyCount) {
        if (handle == nullptr) Fail("读取组件属性时发现指定窗口尚未载入", windowId, unitId);
        const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
        return type != nullptr ? ReadTypeProperty(*type, target.Object(), index, element) : PropertyWords{0, 0};
    }
    const int32_t dpi = target.window->state.dpi;
    const auto design = [dpi](LONG pixels) {
        return PropertyWords{static_cast<uint32_t>(PixelsToDesign(pixels, dpi)), 0};
    };
    switch (index) {
    case Common::Left:
    case Common::Top: {
        if (handle == nullptr) return {static_cast<uint32_t>(index == Common::Left ? record.Left() : record.Top()), 0};
        const RECT area = PlacedRectangle(handle);
        return design(index == Common::Left ? area.left : area.top);
    }
    case Common::Width:
    case Common::Height: {
        if (handle == nullptr)
            return {static_cast<uint32_t>(index == Common::Width ? record.Width() : record.Height()), 0};
        RECT area;
        GetWindowRect(handle, &area);
        return design(index == Common::Width ? area.right - area.left : area.bottom - area.top);
    }
    case Common::Tag: return {Word(CopyText(record.Tag())), 0};
    case Common::Visible:
        return {handle != nullptr ? (IsWindowVisible(handle) ? 1u : 0u) : FlagBit(record, RecordFlag::Visible), 0};
    case Common::Disabled:
        return {handle != nullptr ? (IsWindowEnabled(handle) ? 0u : 1u) : FlagBit(record, RecordFlag::Disabled), 0};
    case Common::MousePointer: return ReadMousePointer(record);
    default: return {0, 0};
    }
}

void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t element, uint32_t low,
                       uint32_t high) {
    const Target target = FindTarget(windowId, unitId);
    if (target.Record().IsMenuItem()) {
        WriteMenuItem(target, index, low);
        return;
    }
    if (index >= CommonPropertyCount) {
        WriteOwnProperty(target, windowId, unitId, index, element, low, high);
        return;
    }
    const auto value = static_cast<int32_t>(low);
    UnitRecord record = target.Record();
    HWND handle = target.Live();
    const int32_t dpi = target.window->state.dpi;
    switch (index) {
    case Common::Width:
    case Common::Height: {
        const int32_t size = Clamp(value, 0, MostCoordinate);
        index == Common::Width ? record.SetWidth(size) : record.SetHeight(size);
        if (handle == nullptr) return;
        RECT area;
        GetWindowRect(handle, &area);
        const int32_t width = index == Common::Width ? DesignToPixels(size, dpi) : area.right - area.left;
        const int32_t height = index == Common::Height ? DesignToPixels(size, dpi) : area.bottom - area.top;
        SetWindowPos(handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    case Common::Left:
    case Common::Top: {
        const int32_t position = Clamp(value, -MostCoordinate, MostCoordinate);
        index == Common::Left ? record.SetLeft(position) : record.SetTop(position);
        if (handle == nullptr) return;
        const RECT area = PlacedRectangle(handle);
        const int32_t pixels = DesignToPixels(position, dpi);
        MoveWindow(handle, index == Common::Left ? pixels : area.left, index == Common::Top ? pixels : area.top,
                   area.right - area.left, area.bottom - area.top, TRUE);
        return;
    }
    case Common::Tag:
        target.window->working.ReplaceTag(target.index, reinterpret_cast<const char*>(static_cast<uintptr_t>(low)));
        return;
    case Common::Visible: WriteVisible(target, value != 0); return;
    case Common::Disabled:
        SetFlagBit(record, RecordFlag::Disabled, value != 0);
        if (handle != nullptr) EnableWindow(handle, value == 0);
        return;
    case Common::MousePointer: WriteMousePointer(target, low); return;
    default: return;
    }
}

}  // namespace quillet
