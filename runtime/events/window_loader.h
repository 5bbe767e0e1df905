#pragma once
// Loading a window from its template: every unit created through its type,
// placed, ordered and shown, and the load events raised. Destruction hands the
// template back.
#include <windows.h>

#include <cstdint>

#include "framework/wnd.h"
#include "runtime/template/window_table.h"

namespace quillet {

// 1 when the window is loaded (or was open already and has been activated),
// 0 when it could not be; a failed load leaves nothing of itself behind.
int32_t LoadWindow(WindowTemplate& window, HWND owner, bool modal);

// Service 2005: the request is (window id, owner unit object or null, modal
// flag). Loads the window and gives it its first show (a modal window's loop
// runs inside); 0 on success, -1 on failure.
struct LoadWindowRequest {
    UnitId windowId;
    void* owner;
    uint32_t modal;
};
static_assert(sizeof(LoadWindowRequest) == 12, "three words");
int32_t LoadWindowService(const LoadWindowRequest* request);

// The first show of a loaded window: from the load-window service, or from a
// write of Visible = true to the window's record (fromVisibleWrite).
void ShowWindowFirstTime(WindowTemplate& window, bool fromVisibleWrite);

// True while a window's own object is being created for a modal load.
bool ModalCreationFlag();

// What a window needs of the program around it: the hidden window that owns
// top-level windows (null when there is none), and the window whose modal loop
// runs (0 for none).
HWND ProgramOwnerWindow();
uint32_t ModalWindowId();

// The window's own framework object and its handle; null when not loaded.
CWnd* WindowObjectOf(WindowTemplate& window);
HWND LiveWindowOf(WindowTemplate& window);

// Service 2000: a unit (unitId != 0) or a window has been destroyed.
void UnitOrWindowDestroyed(UnitId windowId, UnitId unitId);

// Set while a unit is re-created: its old object's destruction leaves the record alone.
void SetRecreatingUnit(bool recreating);

// Builds the window's menu and accelerators anew from its menu-item records
// and installs them (service 2040, and after a menu item's property changed);
// nothing for a window that is not loaded.
void RebuildLoadedWindowMenu(WindowTemplate& window);

// Shutdown: destroys every loaded window and gives each template back.
void ReleaseAllWindows();

}  // namespace quillet
