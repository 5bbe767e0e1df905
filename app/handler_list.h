#pragma once
// The program's event handlers in the order of their entries after HandlerBase:
// entry k (at HandlerBase + 8·k) jumps to handler k, and the window template
// binds events by these offsets. The entry table itself is written in
// program.cpp, in this same order; app_window_tests checks that it matches.
#include <cstdint>

namespace quillet::app {

enum class HandlerIndex : int32_t {
    WindowLoaded,      // window event 0: LayoutUnits, then LoadReplaceLists
    LayoutUnits,       // window event 4: loaded, and every resize
    NoteWindowDestroyed,  // window event 2: a tool run in progress stops
    RunCleanup,        // 按钮_提交0 clicked
    RunNumbering,      // 按钮_提交1 clicked
    RunMultiReplace,   // 按钮_提交2 clicked
    ShowUnderline,     // left button down on 选择框_去换行符
    HideUnderline,     // left button up on 选择框_去换行符
    Undo,              // left button down on 标签_撤消
    RestoreUndoLabel,  // left button up on 标签_撤消
    MainBoxKey,        // key down in 编辑框_主
    LoadDroppedFile,   // a file dropped on 编辑框_主
    WindowKey,         // the window's key event: a key down in any unit, or the window
    OpenFileLabel,     // left button up on 标签_打开
    SaveFileLabel,     // left button up on 标签_保存
    SaveFileAsLabel,   // left button up on 标签_另存为
    UpdateTitle,       // window event 7: idle time
    AskBeforeClosing,  // window event 1: about to close, or Windows ends the session
    Count
};

constexpr int32_t HandlerCount = static_cast<int32_t>(HandlerIndex::Count);

// The template's offset of a handler: its entry's distance from HandlerBase.
constexpr int32_t HandlerOffset(HandlerIndex handler) { return 8 * static_cast<int32_t>(handler); }

}  // namespace quillet::app
