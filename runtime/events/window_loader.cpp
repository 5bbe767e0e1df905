#include "runtime/events/window_loader.h"

#include <vector>

#include "runtime/app/message_loop.h"
#include "runtime/app/runtime_app.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/events/event_suppression.h"
#include "runtime/template/design_scale.h"
#include "runtime/template/record_cursor.h"
#include "runtime/template/window_menu.h"
#include "runtime/units/font_data.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_type.h"

namespace quillet {
namespace {

bool modalCreation = false;     // read by the window type while it creates itself
bool recreatingUnit = false;    // a re-created unit's old object is going
bool abandoningLoad = false;    // a failed load takes down what it built

constexpr uint32_t FirstControlId = 100;
constexpr uint32_t ControlIdStep = 10;

CWnd* ObjectOf(const UnitRecord& record) { return static_cast<CWnd*>(record.Object()); }

HWND LiveHandleOf(const UnitRecord& record) {
    // A menu item's first word is its shortcut number, not an object.
    if (record.IsMenuItem()) return nullptr;
    CWnd* object = ObjectOf(record);
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

// Events are held back while a load builds the window, after what is queued ran.
// Shows a loaded window; under a nonzero interface word A, a maximised or
// minimised style shows it so.
void ShowLoadedWindow(HWND handle) {
    int command = SW_SHOW;
    if (App().interfaceWordA != 0) {
        const LONG style = GetWindowLongW(handle, GWL_STYLE);
        if ((style & WS_MAXIMIZE) != 0) command = SW_SHOWMAXIMIZED;
        if ((style & WS_MINIMIZE) != 0) command = SW_SHOWMINIMIZED;
    }
    ShowWindow(handle, command);
}

void SuspendEvents() {
    ProcessPendingEvents();
    SuppressEvents();
}
void ResumeEvents() {
    ProcessPendingEvents();
    AllowEvents();
}

// A unit created by this load, remembered for the steps that follow creation.
struct CreatedUnit {
    int32_t index;
    CWnd* object;
    bool container;
    bool visible;
};

class Load {
public:
    Load(WindowTemplate& window, HWND owner, bool modal) : window_(window), owner_(owner), modal_(modal) {}

    int32_t Run();

private:
    UnitCollection& Records() { return window_.working; }
    bool CreateAll();
    bool CreateRecord(int32_t index, uint32_t controlId);
    void Reparent();
    void OrderSiblings();
    void MakeCursors();
    void SendToAll(UINT message);
    void ShowOrHideUnits();
    void ShowWindowAtLoad();
    void DisableOthersForModal();
    int32_t Abandon();

    WindowTemplate& window_;
    HWND owner_;
    bool modal_;
    WindowMenu menu_;
    std::vector<CreatedUnit> created_;
};

int32_t Load::Run() {
    SuspendEvents();
    // Placed at the display's scale from the start; WM_DPICHANGED rescales.
    window_.state.dpi = ScreenPixelsPerInchY();
    window_.pristine = window_.working;
    window_.hasPristine = true;
    menu_ = BuildWindowMenu(Records());

    if (!CreateAll()) return Abandon();
    Reparent();
    OrderSiblings();
    MakeCursors();
    SendToAll(UM_UNITS_CREATED);
    CWnd* windowObject = ObjectOf(Records().RecordAt(0));
    SendMessageW(windowObject->m_hWnd, UM_ARRANGE, 0, 0);
    ShowOrHideUnits();
    window_.state.menu = menu_.menu;
    window_.state.accelerators = menu_.accelerators;
    ResumeEvents();

    for (int32_t event : {0, 3, 4}) {
        if (LiveWindowOf(window_) == nullptr) return 1;
        RaiseSimpleEvent(window_.windowId, 0, event);
    }
    if (LiveWindowOf(window_) == nullptr) return 1;
    ShowWindowAtLoad();
    // A handler run by the show (shown, focus, activation) may have closed the window.
    if (LiveWindowOf(window_) == nullptr) return 1;
    if (modal_) DisableOthersForModal();

    // UM_WINDOW_SHOWN may move the focus (a tab page choosing its first unit):
    // the window keeps the focus it had.
    HWND focused = GetFocus();
    SendToAll(UM_WINDOW_SHOWN);
    if (GetFocus() != focused && focused != nullptr && IsWindow(focused)) SetFocus(focused);
    window_.state.loaded = true;
    return 1;
}

bool Load::CreateAll() {
    if (!CreateRecord(0, 0)) return false;
    uint32_t controlId = FirstControlId;
    for (int32_t index = Records().Count() - 1; index >= 1; --index) {
        if (IsMenuItemId(Records().IdAt(index))) continue;
        if (!CreateRecord(index, controlId)) return false;
        controlId += ControlIdStep;
    }
    return true;
}

bool Load::CreateRecord(int32_t index, uint32_t controlId) {
    UnitRecord record = Records().RecordAt(index);
    const UnitTypeDescriptor* type = TypeDescriptorOf(record.TypeRef());
    auto create = type != nullptr ? FindOperation<CreateUnitOperation>(*type, InterfaceNumber::CreateUnit) : nullptr;
    if (create == nullptr) return false;

    const uint32_t flags = record.Flags();
    uint32_t style = (flags & RecordFlag::TabStop) != 0 ? WS_TABSTOP : 0;
    bool visible = false;
    if ((type->stateFlags & TypeState::NoMnemonic) == 0) {
        visible = (flags & RecordFlag::Visible) != 0;
        if ((flags & RecordFlag::Disabled) != 0) style |= WS_DISABLED;
    }
    const bool isWindow = index == 0;
    HWND parent = isWindow ? owner_ : LiveWindowOf(window_);
    if (isWindow) modalCreation = modal_;
    // The type data is copied first: creation may change the collection (a tag write).
    const std::vector<uint8_t> data(record.TypeData(), record.TypeData() + record.TypeDataLength());
    const int32_t dpi = window_.state.dpi;
    void* object = create(data.data(), static_cast<int32_t>(data.size()), style, parent, controlId,
                          isWindow ? menu_.menu : nullptr, DesignToPixels(record.Left(), dpi),
                          DesignToPixels(record.Top(), dpi), DesignToPixels(record.Width(), dpi),
                          DesignToPixels(record.Height(), dpi), window_.windowId, Records().IdAt(index), 0, 0);
    modalCreation = false;
    auto* unit = static_cast<CWnd*>(object);
    if (unit == nullptr) return false;
    Records().RecordAt(index).SetObject(unit);
    created_.push_back({index, unit, (type->stateFlags & TypeState::TabPageContainer) != 0, visible});
    return IsWindow(unit->m_hWnd) != FALSE;
}

// Units go into their container, or the window; a container's units beyond its
// first page start hidden.
void Load::Reparent() {
    HWND windowHandle = LiveWindowOf(window_);
    for (CreatedUnit& unit : created_) {
        if (unit.index == 0) continue;
        const UnitId parentId = Records().RecordAt(unit.index).ParentId();
        HWND parent = windowHandle;
        if (parentId != 0) {
            const int32_t parentIndex = Records().IndexOf(parentId);
            if (parentIndex > 0 && LiveHandleOf(Records().RecordAt(parentIndex)) != nullptr)
                parent = LiveHandleOf(Records().RecordAt(parentIndex));
        }
        SetParent(unit.object->m_hWnd, parent);
    }
    for (const CreatedUnit& container : created_) {
        if (!container.container) continue;
        UnitRecord record = Records().RecordAt(container.index);
        bool pastFirstPage = false;
        for (uint32_t i = 0; i < record.ChildCount(); ++i) {
            const UnitId child = record.ChildWord(i);
            if (child == 0) {
                pastFirstPage = true;
                continue;
            }
            if (!pastFirstPage) continue;
            for (CreatedUnit& unit : created_)
                if (Records().IdAt(unit.index) == child) unit.visible = false;
        }
    }
}

// Siblings end in record order: each unit goes right after the nearest earlier
// record with the same parent, or to the top.
void Load::OrderSiblings() {
    for (int32_t index = 1; index < Records().Count(); ++index) {
        HWND unit = LiveHandleOf(Records().RecordAt(index));
        if (unit == nullptr) continue;
        HWND after = HWND_TOP;
        for (int32_t earlier = index - 1; earlier >= 1; --earlier) {
            HWND candidate = LiveHandleOf(Records().RecordAt(earlier));
            if (candidate != nullptr && GetParent(candidate) == GetParent(unit)) {
                after = candidate;
                break;
            }
        }
        SetWindowPos(unit, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Load::MakeCursors() {
    for (int32_t index = 0; index < Records().Count(); ++index) {
        UnitRecord record = Records().RecordAt(index);
        if (record.IsMenuItem()) continue;
        record.SetCursor(record.MouseDataLength() > 0 ? MakeRecordCursor(record.MouseData(), record.MouseDataLength())
                                                      : nullptr);
    }
}

// From the last record to the window's own.
void Load::SendToAll(UINT message) {
    for (int32_t index = Records().Count() - 1; index >= 0; --index) {
        HWND handle = LiveHandleOf(Records().RecordAt(index));
        if (handle != nullptr) SendMessageW(handle, message, 0, 0);
    }
}

void Load::ShowOrHideUnits() {
    for (const CreatedUnit& unit : created_)
        if (unit.index != 0) ShowWindow(unit.object->m_hWnd, unit.visible ? SW_SHOWNA : SW_HIDE);
}

void Load::ShowWindowAtLoad() {
    UnitRecord own = Records().RecordAt(0);
    if ((own.Flags() & RecordFlag::Visible) == 0) return;
    HWND handle = LiveHandleOf(own);
    ShowLoadedWindow(handle);
    HWND focus = GetFocus();
    for (int32_t index = 0; focus != nullptr && index < Records().Count(); ++index) {
        if (LiveHandleOf(Records().RecordAt(index)) == focus) {
            RaiseSimpleEvent(window_.windowId, index == 0 ? 0 : Records().IdAt(index), CommonEvent::GotFocus);
            break;
        }
    }
}

void Load::DisableOthersForModal() {
    window_.state.modal = true;
    HWND self = LiveWindowOf(window_);
    WindowTable& table = ProgramWindows();
    for (int32_t i = 0; i < table.Count(); ++i) {
        HWND other = LiveWindowOf(*table.At(i));
        if (other == nullptr || other == self || GetParent(other) != nullptr) continue;
        window_.state.disabledForModal.push_back({other, IsWindowEnabled(other) != FALSE});
        EnableWindow(other, FALSE);
    }
}

// A load that fails part-way takes down the objects it made, the window last,
// hands the template back and lowers the suppression it raised.
int32_t Load::Abandon() {
    abandoningLoad = true;
    for (auto unit = created_.rbegin(); unit != created_.rend(); ++unit) {
        // An object whose window went meanwhile cleared its slot and is gone with it.
        if (Records().RecordAt(unit->index).Object() != unit->object) continue;
        if (!IsWindow(unit->object->m_hWnd)) {
            delete unit->object;  // its type made no window for it: nothing else will delete it
            continue;
        }
        unit->object->DestroyWindow();
        if (unit->index == 0) menu_.menu = nullptr;  // it went with the window it was given to
    }
    abandoningLoad = false;
    window_.working = window_.pristine;
    window_.pristine = UnitCollection();
    window_.hasPristine = false;
    DestroyWindowMenu(menu_);
    ResumeEvents();
    return 0;
}

void RestoreTemplate(WindowTemplate& window) {
    for (int32_t index = 0; index < window.working.Count(); ++index) {
        UnitRecord record = window.working.RecordAt(index);
        if (!record.IsMenuItem()) DestroyRecordCursor(record.Cursor());
    }
    if (window.hasPristine) {
        window.working = window.pristine;
        window.pristine = UnitCollection();
        window.hasPristine = false;
    }
}

void ReenableForModalEnd(LoadedWindowState& state) {
    for (const auto& disabled : state.disabledForModal) {
        HWND other = static_cast<HWND>(disabled.window);
        if (IsWindow(other)) EnableWindow(other, disabled.wasEnabled);
    }
    state.disabledForModal.clear();
}

}  // namespace

bool ModalCreationFlag() { return modalCreation; }

void SetRecreatingUnit(bool recreating) { recreatingUnit = recreating; }

CWnd* WindowObjectOf(WindowTemplate& window) {
    return window.working.IsEmpty() ? nullptr : ObjectOf(window.working.RecordAt(0));
}

HWND LiveWindowOf(WindowTemplate& window) {
    return window.working.IsEmpty() ? nullptr : LiveHandleOf(window.working.RecordAt(0));
}

HWND ProgramOwnerWindow() {
    HWND owner = App().hiddenOwner.m_hWnd;
    return owner != nullptr && IsWindow(owner) ? owner : nullptr;
}

uint32_t ModalWindowId() { return App().modalWindowId; }

int32_t LoadWindow(WindowTemplate& window, HWND owner, bool modal) {
    if (HWND open = LiveWindowOf(window)) {
        if (!window.state.replacementMark) {
            if (IsIconic(open)) {
                ShowWindow(open, SW_RESTORE);
            } else {
                SetActiveWindow(open);
            }
            return 1;
        }
        window.state.replacementMark = false;
        WindowObjectOf(window)->DestroyWindow();
    }
    if (modal) owner = nullptr;
    if (owner != nullptr && !IsWindow(owner)) return 0;
    window.state = LoadedWindowState{};
    return Load(window, owner, modal).Run();
}

void ShowWindowFirstTime(WindowTemplate& window, bool fromVisibleWrite) {
    HWND handle = LiveWindowOf(window);
    if (handle == nullptr) return;
    if (!window.state.loaded) {
        if (fromVisibleWrite) ShowWindow(handle, SW_SHOW);
        return;
    }
    window.state.loaded = false;
    HWND parent = GetParent(handle);
    if (window.state.modal && parent != nullptr && (GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
        WindowTable& table = ProgramWindows();
        for (int32_t i = 0; i < table.Count(); ++i) {
            if (LiveWindowOf(*table.At(i)) != parent) continue;
            SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
            window.state.topmost = true;
        }
    }
    if (fromVisibleWrite) {
        ShowLoadedWindow(handle);
    }
    if (window.state.modal) RunModalLoop(window.windowId);
}

int32_t LoadWindowService(const LoadWindowRequest* request) {
    WindowTemplate* window = ProgramWindows().Find(request->windowId);
    if (window == nullptr) return -1;
    auto* owner = static_cast<CWnd*>(request->owner);
    HWND ownerHandle = owner != nullptr ? owner->m_hWnd : nullptr;
    if (LoadWindow(*window, ownerHandle, request->modal != 0) == 0) return -1;
    if (!window->working.IsEmpty() && (window->working.RecordAt(0).Flags() & RecordFlag::Visible) != 0)
        ShowWindowFirstTime(*window, false);
    return 0;
}

void UnitOrWindowDestroyed(UnitId windowId, UnitId unitId) {
    if (recreatingUnit || abandoningLoad) return;
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) return;
    if (unitId != 0) {
        const int32_t index = window->working.IndexOf(unitId);
        if (index < 0) return;
        UnitRecord record = window->working.RecordAt(index);
        DestroyRecordCursor(record.Cursor());
        record.SetCursor(nullptr);
        record.SetObject(nullptr);
        return;
    }
    // The window's menu went with it; its accelerators are ours to free.
    if (window->state.accelerators != nullptr) DestroyAcceleratorTable(static_cast<HACCEL>(window->state.accelerators));
    ReenableForModalEnd(window->state);
    window->state = LoadedWindowState{};
    RestoreTemplate(*window);
    WindowDestroyed(windowId);
}

void RebuildLoadedWindowMenu(WindowTemplate& window) {
    // A window not loaded has no menu: its next load builds one from the records.
    HWND handle = LiveWindowOf(window);
    if (handle == nullptr) return;
    WindowMenu menu = BuildWindowMenu(window.working);
    HMENU old = GetMenu(handle);
    SetMenu(handle, menu.menu);
    if (old != nullptr) DestroyMenu(old);
    if (window.state.accelerators != nullptr) DestroyAcceleratorTable(static_cast<HACCEL>(window.state.accelerators));
    window.state.menu = menu.menu;
    window.state.accelerators = menu.accelerators;
}

void ReleaseAllWindows() {
    WindowTable& table = ProgramWindows();
    for (int32_t i = 0; i < table.Count(); ++i) {
        WindowTemplate& window = *table.At(i);
        if (CWnd* object = WindowObjectOf(window); object != nullptr && IsWindow(object->m_hWnd))
            object->DestroyWindow();
    }
}

}  // namespace quillet
