#pragma once
// The numbered services the unit layer asks of the runtime core: windows and
// records, unit objects and their handles, events, loading, tab pages, menus.
// Each takes the service's two values and gives its one result; the core's
// service table lists them by code.
#include <cstdint>

#include "runtime/units/unit_type.h"

namespace quillet {

// The descriptor of a type of the program's libraries as start-up recorded
// them, or null when the reference names none: the resolver start-up installs
// for TypeDescriptorOf.
const UnitTypeDescriptor* ResolveProgramType(uint32_t typeRef);

uintptr_t ServeProgramIcons(uintptr_t twoWords, uintptr_t);
uintptr_t ServeWindowTable(uintptr_t, uintptr_t);
uintptr_t ServeTypeDescriptor(uintptr_t typeRef, uintptr_t);
uintptr_t ServeConstant(uintptr_t, uintptr_t);
uintptr_t ServeRuntimeVersion(uintptr_t, uintptr_t);
// Service 1006: a program path into destination, a MAX_PATH buffer.
uintptr_t ServeProgramPaths(uintptr_t which, uintptr_t destination);
uintptr_t ServeWrapWindowHandle(uintptr_t handle, uintptr_t);
uintptr_t ServeDeleteObject(uintptr_t object, uintptr_t);
uintptr_t ServeDetachObject(uintptr_t object, uintptr_t);
uintptr_t ServeWindowHandleOf(uintptr_t object, uintptr_t);
uintptr_t ServeAttachIfUnattached(uintptr_t handle, uintptr_t object);
uintptr_t ServeAddIdleCallback(uintptr_t entry, uintptr_t);
uintptr_t ServeRemoveIdleCallback(uintptr_t handle, uintptr_t);
uintptr_t ServeIsUnitWindow(uintptr_t handle, uintptr_t);
uintptr_t ServeUnitDestroyed(uintptr_t windowId, uintptr_t unitId);
uintptr_t ServeLoadWindow(uintptr_t request, uintptr_t);
uintptr_t ServeFindUnit(uintptr_t windowId, uintptr_t unitId);
uintptr_t ServeFindUnitOrFail(uintptr_t windowId, uintptr_t unitId);
uintptr_t ServeRaiseEvent(uintptr_t record, uintptr_t);
uintptr_t ServeSuspendEvents(uintptr_t, uintptr_t);
uintptr_t ServeResumeEvents(uintptr_t, uintptr_t);
uintptr_t ServeCurrentEventSource(uintptr_t twoWords, uintptr_t);
uintptr_t ServeRecordType(uintptr_t windowId, uintptr_t unitId);
uintptr_t ServeTypeKind(uintptr_t typeRef, uintptr_t);
uintptr_t ServeInterfaceWordA(uintptr_t, uintptr_t);
uintptr_t ServeRaiseTypedEvent(uintptr_t record, uintptr_t);
uintptr_t ServeWindowCount(uintptr_t, uintptr_t);
uintptr_t ServeWindowHandleByIndex(uintptr_t index, uintptr_t);
uintptr_t ServeMenuCommandLookup(uintptr_t request, uintptr_t);
uintptr_t ServeShowTabPage(uintptr_t windowId, uintptr_t tabId);
uintptr_t ServeRebuildMenu(uintptr_t windowId, uintptr_t);

// Service 2038's request: the caller fills the first two words.
struct MenuCommandRequest {
    uint32_t windowId;
    uint32_t commandId;
    char caption[256];      // the item's caption, its shortcut name after a tab, cut to 250 bytes
    uint32_t nestingLevel;
    uint32_t visible;
    uint32_t recordId;
};

}  // namespace quillet
