#pragma once
// The program's event handlers, reached through their entries after
// HandlerBase (handler_list.h gives the order). Each takes the event's
// arguments as 32-bit words and returns no value.
#include <cstdint>

#include "app/handler_list.h"
#include "runtime/events/event_dispatch.h"

namespace quillet::app {

extern "C" {
HandlerResult WindowLoaded(const uint32_t* args, int32_t count);
HandlerResult LayoutUnits(const uint32_t* args, int32_t count);
HandlerResult NoteWindowDestroyed(const uint32_t* args, int32_t count);
HandlerResult RunCleanup(const uint32_t* args, int32_t count);
HandlerResult RunNumbering(const uint32_t* args, int32_t count);
HandlerResult RunMultiReplace(const uint32_t* args, int32_t count);
HandlerResult ShowUnderline(const uint32_t* args, int32_t count);
HandlerResult HideUnderline(const uint32_t* args, int32_t count);
HandlerResult Undo(const uint32_t* args, int32_t count);
HandlerResult RestoreUndoLabel(const uint32_t* args, int32_t count);
HandlerResult MainBoxKey(const uint32_t* args, int32_t count);
HandlerResult LoadDroppedFile(const uint32_t* args, int32_t count);
HandlerResult WindowKey(const uint32_t* args, int32_t count);
HandlerResult OpenFileLabel(const uint32_t* args, int32_t count);
HandlerResult SaveFileLabel(const uint32_t* args, int32_t count);
HandlerResult SaveFileAsLabel(const uint32_t* args, int32_t count);
HandlerResult UpdateTitle(const uint32_t* args, int32_t count);
HandlerResult AskBeforeClosing(const uint32_t* args, int32_t count);
}

// Handler k of the entry table, in HandlerIndex order.
inline constexpr EventHandler HandlerFunctions[HandlerCount] = {
    WindowLoaded,  LayoutUnits,   NoteWindowDestroyed, RunCleanup,       RunNumbering, RunMultiReplace,
    ShowUnderline, HideUnderline, Undo,                RestoreUndoLabel, MainBoxKey,   LoadDroppedFile,
    WindowKey,     OpenFileLabel, SaveFileLabel,       SaveFileAsLabel,  UpdateTitle,  AskBeforeClosing,
};

// What a handler returns when it returns nothing: the runtime goes its default way.
constexpr HandlerResult NoValue = {0, 0, 0};

// Files in and out of the main box (files.cpp): one road in for a path, the
// dialogs, the saves (as: choose where and in which encoding first), the file
// named on the command line, and the title told to look again.
void LoadFile(const char* path);
void OpenFileByDialog();
void SaveFile(bool choosePath);
void OpenCommandLineFile();
void NoteFileChanged();

// The settings file routines (replace.cpp): both replacement boxes from and to
// "qlt_config.ini", beside the program or in the user's application data, chosen
// when the lists are loaded. Saving tells whether the file took both lists.
void LoadReplaceLists();
bool SaveReplaceLists();

}  // namespace quillet::app
