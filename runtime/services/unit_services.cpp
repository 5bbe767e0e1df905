#include "runtime/services/unit_services.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/runtime_app.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/tab_pages.h"
#include "runtime/events/window_loader.h"
#include "runtime/services/library_info.h"
#include "runtime/template/window_menu.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

// The live object of a record, or null.
CWnd* LiveUnit(UnitId windowId, UnitId unitId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = unitId == 0 ? 0 : window->working.IndexOf(unitId);
    if (index < 0) return nullptr;
    auto* object = static_cast<CWnd*>(window->working.RecordAt(index).Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object : nullptr;
}

// Callers pass a MAX_PATH buffer, while the module path may be far longer: one
// that does not fit with its ending 0 gives the empty text, as a cut path would
// name another file.
void CopyPath(const std::string& text, char* destination) {
    if (text.size() >= MAX_PATH) {
        destination[0] = '\0';
        return;
    }
    std::memcpy(destination, text.c_str(), text.size() + 1);
}

}  // namespace

const UnitTypeDescriptor* ResolveProgramType(uint32_t typeRef) {
    const std::vector<const LibraryInfo*>& libraries = App().libraries;
    return ResolveUnitType(typeRef, libraries.data(), static_cast<int32_t>(libraries.size()));
}

uintptr_t ServeProgramIcons(uintptr_t twoWords, uintptr_t) {
    RuntimeApp& app = App();
    if (app.programIcons[0] == nullptr) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        app.programIcons[0] =
            static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        app.programIcons[1] = static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON),
                                                            GetSystemMetrics(SM_CYSMICON), 0));
    }
    auto* icons = Reference<HICON>(twoWords);
    icons[0] = app.programIcons[0];
    icons[1] = app.programIcons[1];
    return 0;
}

uintptr_t ServeWindowTable(uintptr_t, uintptr_t) { return Word(&ProgramWindows()); }

uintptr_t ServeTypeDescriptor(uintptr_t typeRef, uintptr_t) {
    return Word(TypeDescriptorOf(static_cast<UnitTypeRef>(typeRef)));
}

uintptr_t ServeConstant(uintptr_t, uintptr_t) { return 1; }

uintptr_t ServeRuntimeVersion(uintptr_t, uintptr_t) { return 0x70005; }

uintptr_t ServeProgramPaths(uintptr_t which, uintptr_t destination) {
    char* into = Reference<char>(destination);
    if (which == 1 || which == 2001) {
        CopyPath(App().programDirectoryWithSlash, into);
    } else if (which == 2002) {
        CopyPath(App().programFileName, into);
    } else {
        into[0] = '\0';
    }
    return 0;
}

uintptr_t ServeWrapWindowHandle(uintptr_t handle, uintptr_t) {
    if (handle == 0) return 0;
    auto* object = new CWnd;
    if (!object->Attach(Reference<HWND__>(handle))) {
        delete object;
        return 0;
    }
    return Word(object);
}

uintptr_t ServeDeleteObject(uintptr_t object, uintptr_t) {
    delete Reference<CWnd>(object);
    return 0;
}

uintptr_t ServeDetachObject(uintptr_t object, uintptr_t) {
    return object != 0 ? Word(Reference<CWnd>(object)->Detach()) : 0;
}

uintptr_t ServeWindowHandleOf(uintptr_t object, uintptr_t) {
    return object != 0 ? Word(Reference<CWnd>(object)->m_hWnd) : 0;
}

uintptr_t ServeAttachIfUnattached(uintptr_t handle, uintptr_t object) {
    auto* wnd = Reference<CWnd>(object);
    HWND window = Reference<HWND__>(handle);
    if (wnd == nullptr || window == nullptr || CWnd::FromHandlePermanent(window) != nullptr || wnd->m_hWnd != nullptr)
        return 0;
    return wnd->Attach(window) ? 1 : 0;
}

uintptr_t ServeAddIdleCallback(uintptr_t entry, uintptr_t) {
    AddIdleCallback(*Reference<IdleCallback>(entry));
    return 0;
}

uintptr_t ServeRemoveIdleCallback(uintptr_t handle, uintptr_t) {
    RemoveIdleCallback(Reference<HWND__>(handle));
    return 0;
}

uintptr_t ServeIsUnitWindow(uintptr_t handle, uintptr_t) {
    WindowTable& table = ProgramWindows();
    for (int32_t w = 0; w < table.Count(); ++w) {
        UnitCollection& records = table.At(w)->working;
        for (int32_t i = 0; i < records.Count(); ++i) {
            auto* object = static_cast<CWnd*>(records.RecordAt(i).Object());
            if (object != nullptr && Word(object->m_hWnd) == handle) return 1;
        }
    }
    return 0;
}

uintptr_t ServeUnitDestroyed(uintptr_t windowId, uintptr_t unitId) {
    UnitOrWindowDestroyed(static_cast<UnitId>(windowId), static_cast<UnitId>(unitId));
    return 0;
}

uintptr_t ServeLoadWindow(uintptr_t request, uintptr_t) {
    return static_cast<uintptr_t>(LoadWindowService(Reference<const LoadWindowRequest>(request)));
}

uintptr_t ServeFindUnit(uintptr_t windowId, uintptr_t unitId) {
    return Word(LiveUnit(static_cast<UnitId>(windowId), static_cast<UnitId>(unitId)));
}

uintptr_t ServeFindUnitOrFail(uintptr_t windowId, uintptr_t unitId) {
    CWnd* unit = LiveUnit(static_cast<UnitId>(windowId), static_cast<UnitId>(unitId));
    if (unit == nullptr)
        ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, static_cast<int32_t>(windowId),
                         static_cast<int32_t>(unitId));
    return Word(unit);
}

uintptr_t ServeRaiseEvent(uintptr_t record, uintptr_t) {
    return static_cast<uintptr_t>(DispatchEvent(Reference<EventRecord>(record)));
}

uintptr_t ServeRaiseTypedEvent(uintptr_t record, uintptr_t) {
    return static_cast<uintptr_t>(DispatchTypedEvent(Reference<TypedEventRecord>(record)));
}

uintptr_t ServeSuspendEvents(uintptr_t, uintptr_t) {
    ProcessPendingEvents();
    SuppressEvents();
    return 0;
}

uintptr_t ServeResumeEvents(uintptr_t, uintptr_t) {
    ProcessPendingEvents();
    AllowEvents();
    return 0;
}

uintptr_t ServeCurrentEventSource(uintptr_t twoWords, uintptr_t) {
    auto* words = Reference<uint32_t>(twoWords);
    return CurrentEventSource(&words[0], &words[1]) ? 1 : 0;
}

uintptr_t ServeRecordType(uintptr_t windowId, uintptr_t unitId) {
    WindowTemplate* window = ProgramWindows().Find(static_cast<UnitId>(windowId));
    if (window == nullptr || window->working.IsEmpty()) return 0;
    const int32_t index = unitId == 0 ? 0 : window->working.IndexOf(static_cast<UnitId>(unitId));
    return index < 0 ? 0 : window->working.RecordAt(index).TypeRef();
}

uintptr_t ServeTypeKind(uintptr_t typeRef, uintptr_t) {
    const UnitTypeDescriptor* type = TypeDescriptorOf(static_cast<UnitTypeRef>(typeRef));
    if (type == nullptr) return 0;
    if ((type->stateFlags & TypeState::RaisesEventsAlt) != 0) return 2;
    return (type->stateFlags & TypeState::RaisesEvents) != 0 ? 1 : 0;
}

uintptr_t ServeInterfaceWordA(uintptr_t, uintptr_t) { return App().interfaceWordA; }

uintptr_t ServeWindowCount(uintptr_t, uintptr_t) { return static_cast<uintptr_t>(ProgramWindows().Count()); }

uintptr_t ServeWindowHandleByIndex(uintptr_t index, uintptr_t) {
    WindowTable& table = ProgramWindows();
    const auto at = static_cast<int32_t>(index);
    return at >= 0 && at < table.Count() ? Word(LiveWindowOf(*table.At(at))) : 0;
}

uintptr_t ServeMenuCommandLookup(uintptr_t request, uintptr_t) {
    auto* lookup = Reference<MenuCommandRequest>(request);
    WindowTemplate* window = ProgramWindows().Find(lookup->windowId);
    if (window == nullptr || window->working.IsEmpty() || lookup->commandId < FirstMenuCommandId) return 0;
    int32_t first = 0, count = 0;
    FindMenuItemRun(window->working, &first, &count);
    const uint32_t k = lookup->commandId - FirstMenuCommandId;
    if (k >= static_cast<uint32_t>(count)) return 0;
    UnitRecord item = window->working.RecordAt(first + static_cast<int32_t>(k));
    std::string caption = item.Caption();
    const std::string shortcut = ShortcutName(item.Shortcut());
    if (!shortcut.empty()) {
        caption += '\t';
        caption += shortcut;
    }
    if (caption.size() > 250) caption.resize(250);
    std::memcpy(lookup->caption, caption.c_str(), caption.size() + 1);
    lookup->nestingLevel = item.NestingLevel();
    lookup->visible = (item.Flags() & MenuItemFlag::Hidden) == 0 ? 1 : 0;
    lookup->recordId = window->working.IdAt(first + static_cast<int32_t>(k));
    return 1;
}

uintptr_t ServeShowTabPage(uintptr_t windowId, uintptr_t tabId) {
    WindowTemplate* window = ProgramWindows().Find(static_cast<UnitId>(windowId));
    if (window == nullptr || window->working.IsEmpty()) return 0;
    const int32_t index = window->working.IndexOf(static_cast<UnitId>(tabId));
    if (index > 0) ShowTabPage(*window, index, true);
    return 0;
}

uintptr_t ServeRebuildMenu(uintptr_t windowId, uintptr_t) {
    WindowTemplate* window = ProgramWindows().Find(static_cast<UnitId>(windowId));
    if (window != nullptr && !window->working.IsEmpty()) RebuildLoadedWindowMenu(*window);
    return 0;
}

}  // namespace quillet
