#pragma once
// The common-control window classes must be registered before a control of
// theirs is created; each class set is registered once per process.
#include <windows.h>

// classes: ICC_* bits (ICC_TAB_CLASSES, ICC_UPDOWN_CLASS, ...).
BOOL AfxInitCommonControls(DWORD classes);
