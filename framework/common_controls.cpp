#include "framework/common_controls.h"

#include <commctrl.h>

namespace {
DWORD registeredClasses = 0;  // ICC_* bits registered so far
}  // namespace

BOOL AfxInitCommonControls(DWORD classes) {
    if ((registeredClasses & classes) == classes) return TRUE;
    INITCOMMONCONTROLSEX init{sizeof init, classes};
    if (!InitCommonControlsEx(&init)) return FALSE;
    registeredClasses |= classes;
    return TRUE;
}
