// The window's own handlers: layout, the underline on the line-break option,
// undo, and the keys (select-all, run and undo by keyboard).
#include <iterator>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace compiled;

namespace {

constexpr uint32_t Grey = 0x808080;
// The size the units were placed for: a smaller window lays some over others
// (at 420 x 300 the run button covers "空行不加序号"), so it takes no less.
constexpr int32_t SmallestWidth = 800;
constexpr int32_t SmallestHeight = 600;
constexpr int32_t NormalState = 0;
constexpr uint32_t KeyA = 65;
constexpr uint32_t KeyZ = 90;
constexpr uint32_t KeyEnter = 13;
constexpr uint32_t KeyC = 67;
constexpr uint32_t KeyInsert = 45;
constexpr uint32_t CtrlAlone = 1;  // modifier state: 1 Ctrl, 2 Shift, 4 Alt
constexpr uint32_t AltAlone = 4;
// A key handler's value 0: the key goes no further (no character, no default).
constexpr HandlerResult KeyTaken = {1, 0, 0};

// The window's size, read afresh for every formula; the arithmetic is done in
// double precision and truncated toward zero, as compiled code does it.
int32_t WindowWidthMinus(double amount) {
    return static_cast<int32_t>(ReadInt(MainWindow, WindowRecord, Property::Width) - amount);
}
int32_t WindowHeightMinus(double amount) {
    return static_cast<int32_t>(ReadInt(MainWindow, WindowRecord, Property::Height) - amount);
}

}  // namespace

extern "C" HandlerResult WindowLoaded(const uint32_t*, int32_t) {
    LayoutUnits(nullptr, 0);
    LoadReplaceLists();
    OpenCommandLineFile();
    return NoValue;
}

extern "C" HandlerResult LayoutUnits(const uint32_t*, int32_t) {
    // Writing the size raises this event again, which lays the units out for
    // it; a minimised or maximised window keeps the size the system gave it.
    if (ReadInt(MainWindow, WindowRecord, Property::WindowState) == NormalState) {
        if (ReadInt(MainWindow, WindowRecord, Property::Width) < SmallestWidth)
            WriteInt(MainWindow, WindowRecord, Property::Width, SmallestWidth);
        if (ReadInt(MainWindow, WindowRecord, Property::Height) < SmallestHeight)
            WriteInt(MainWindow, WindowRecord, Property::Height, SmallestHeight);
    }
    WriteInt(MainWindow, Unit::AboutLabel, Property::Left, 0);
    WriteInt(MainWindow, Unit::AboutLabel, Property::Top, WindowHeightMinus(65));
    WriteInt(MainWindow, Unit::AboutLabel, Property::Width, WindowWidthMinus(0));
    WriteInt(MainWindow, Unit::AboutLabel, Property::Height, 24);

    WriteInt(MainWindow, Unit::TabControl, Property::Left, 8);
    WriteInt(MainWindow, Unit::TabControl, Property::Top, 8);
    WriteInt(MainWindow, Unit::TabControl, Property::Width, WindowWidthMinus(30));
    WriteInt(MainWindow, Unit::TabControl, Property::Height, 88);

    WriteInt(MainWindow, Unit::CleanupButton, Property::Left, WindowWidthMinus(105));
    WriteInt(MainWindow, Unit::NumberingButton, Property::Left, WindowWidthMinus(105));
    WriteInt(MainWindow, Unit::ReplaceButton, Property::Left, WindowWidthMinus(105));

    WriteInt(MainWindow, Unit::MainBox, Property::Width, WindowWidthMinus(30));
    WriteInt(MainWindow, Unit::MainBox, Property::Height, WindowHeightMinus(172));

    WriteInt(MainWindow, Unit::UndoLabel, Property::Left, WindowWidthMinus(220));
    WriteInt(MainWindow, Unit::OpenLabel, Property::Left, WindowWidthMinus(400));
    WriteInt(MainWindow, Unit::SaveLabel, Property::Left, WindowWidthMinus(352));
    WriteInt(MainWindow, Unit::SaveAsLabel, Property::Left, WindowWidthMinus(304));
    return NoValue;
}

extern "C" HandlerResult NoteWindowDestroyed(const uint32_t*, int32_t) {
    WindowClosed = true;
    return NoValue;
}

// While the button is held on "去换行符(空行分割)": a grey underline under
// "去空行", which is unticked whatever the click does to the line-break option.
extern "C" HandlerResult ShowUnderline(const uint32_t*, int32_t) {
    WriteBool(MainWindow, Unit::UnderlineLabel, Property::Visible, true);
    WriteInt(MainWindow, Unit::UnderlineLabel, Property::LabelTextColor, Grey);
    WriteBool(MainWindow, Unit::RemoveBlankLinesBox, Property::Checked, false);
    return NoValue;
}

extern "C" HandlerResult HideUnderline(const uint32_t*, int32_t) {
    WriteBool(MainWindow, Unit::UnderlineLabel, Property::Visible, false);
    return NoValue;
}

// One level of undo: the text saved by the last run, as often as pressed; the
// footer says so. A press before any run (nothing saved yet) or during a run
// is ignored: the first would empty the box, the second would pull the text
// from under the run.
extern "C" HandlerResult Undo(const uint32_t*, int32_t) {
    if (!UndoSaved || !RunMayStart()) return NoValue;
    BoxHoldsRunResult = false;
    WriteInt(MainWindow, Unit::UndoLabel, Property::LabelBackColor, Grey);
    WriteText(MainWindow, Unit::MainBox, Property::EditContent, UndoText.Get());
    Call(commands::SetBoxFile, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), IntArg(UndoFile));
    NoteFileChanged();
    ShowUndoSummary(UndoText.Get());
    return NoValue;
}

extern "C" HandlerResult RestoreUndoLabel(const uint32_t*, int32_t) {
    WriteInt(MainWindow, Unit::UndoLabel, Property::LabelBackColor, static_cast<int32_t>(DefaultColor));
    return NoValue;
}

namespace {

// What a press and release of 撤消 do, through the same guard.
void UndoByKey() {
    Undo(nullptr, 0);
    RestoreUndoLabel(nullptr, 0);
}

// Keys that leave the box's text as it is: Shift, Ctrl, Alt, the function
// keys, Esc, Tab and moving (Page Up to Down, 33 to 40), and with Ctrl alone
// copying and selecting.
bool LeavesTextAlone(uint32_t key, uint32_t modifiers) {
    constexpr uint32_t Shift = 16, Alt = 18, Escape = 27, PageUp = 33, Down = 40, F1 = 112, F24 = 135, Tab = 9;
    if ((key >= Shift && key <= Alt) || key == Escape || key == Tab || (key >= PageUp && key <= Down) ||
        (key >= F1 && key <= F24))
        return true;
    return modifiers == CtrlAlone && (key == KeyC || key == KeyA || key == KeyInsert);
}

// What the current page's 执行 does.
void RunCurrentPage() {
    constexpr EventHandler Runs[] = {RunCleanup, RunNumbering, RunMultiReplace};
    const int32_t page = ReadInt(MainWindow, Unit::TabControl, Property::CurrentPage);
    if (page >= 0 && page < static_cast<int32_t>(std::size(Runs))) Runs[page](nullptr, 0);
}

}  // namespace

// Wherever the focus is: Alt+Z 撤消; Ctrl+O opens a file, Ctrl+S saves it,
// Ctrl+Shift+S saves it elsewhere.
extern "C" HandlerResult WindowKey(const uint32_t* args, int32_t count) {
    if (count < 2) return NoValue;
    constexpr uint32_t KeyO = 79, KeyS = 83, CtrlShift = 3;
    const uint32_t key = args[0], modifiers = args[1];
    if (key == KeyZ && modifiers == AltAlone) {
        UndoByKey();
    } else if (key == KeyO && modifiers == CtrlAlone) {
        OpenFileByDialog();
    } else if (key == KeyS && (modifiers == CtrlAlone || modifiers == CtrlShift)) {
        SaveFile(modifiers == CtrlShift);
    } else {
        return NoValue;
    }
    return KeyTaken;
}

// The main box's keys, Ctrl alone held: A selects the whole text (the key
// still reaches the box); Enter runs the page's tool instead of breaking the
// line; Z undoes the last run while the box still holds its result, and is
// the box's own undo once the text was edited. Alt+Z as everywhere.
extern "C" HandlerResult MainBoxKey(const uint32_t* args, int32_t count) {
    if (count < 2) return NoValue;
    const bool undoable = BoxHoldsRunResult;
    if (!LeavesTextAlone(args[0], args[1])) BoxHoldsRunResult = false;
    if (args[1] != CtrlAlone) return WindowKey(args, count);
    switch (args[0]) {
    case KeyA: WriteInt(MainWindow, Unit::MainBox, Property::EditSelLength, -1); return NoValue;
    case KeyEnter: RunCurrentPage(); return KeyTaken;
    case KeyZ:
        if (!undoable) return NoValue;
        UndoByKey();
        return KeyTaken;
    default: return WindowKey(args, count);
    }
}

// The box's menu may paste, cut, delete or undo.
extern "C" HandlerResult ForgetRunResult(const uint32_t*, int32_t) {
    BoxHoldsRunResult = false;
    return NoValue;
}

}  // namespace quillet::app
