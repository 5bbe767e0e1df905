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
constexpr uint32_t KeyO = 79;
constexpr uint32_t KeyS = 83;
constexpr uint32_t CtrlAlone = 1;  // modifier state: 1 Ctrl, 2 Shift, 4 Alt
constexpr uint32_t CtrlShift = 3;
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

// What the current page's 执行 does.
void RunCurrentPage() {
    constexpr EventHandler Runs[] = {RunCleanup, RunNumbering, RunMultiReplace};
    const int32_t page = ReadInt(MainWindow, Unit::TabControl, Property::CurrentPage);
    if (page >= 0 && page < static_cast<int32_t>(std::size(Runs))) Runs[page](nullptr, 0);
}

// The keys that act from every unit of the window, a line each.
struct WindowWideKey {
    uint32_t key;
    uint32_t modifiers;
    void (*action)();
};
void SaveHere() { SaveFile(false); }
void SaveElsewhere() { SaveFile(true); }

constexpr WindowWideKey WindowWideKeys[] = {
    {KeyZ, AltAlone, UndoByKey},             // 撤消
    {KeyEnter, CtrlAlone, RunCurrentPage},   // the current page's 执行
    {KeyO, CtrlAlone, OpenFileByDialog},     // 打开
    {KeyS, CtrlAlone, SaveHere},             // 保存
    {KeyS, CtrlShift, SaveElsewhere},        // 另存为
};

// Ctrl+Z in the main box is 撤消 while the box still holds what the last run
// or dropped file left: the runtime's writes leave the box nothing of its own
// to undo, and whatever changed the text since (a key, the box's menu, an
// input method) gave it something. Asked when Ctrl+Z comes, so that no
// handler runs for each change.
bool CtrlZUndoesRun() { return BoxHoldsRunResult && !ReadBool(MainWindow, Unit::MainBox, Property::EditCanUndo); }

}  // namespace

// Every key going down in the window comes here first, from whichever unit
// has the focus (the tab strip too), with the unit it went to; the repeats of
// a held key do not (the runtime keeps them from starting a second run, undo
// or load). The window-wide keys, and Ctrl+Z in the main box.
extern "C" HandlerResult WindowKey(const uint32_t* args, int32_t count) {
    if (count < 2) return NoValue;
    const uint32_t key = args[0], modifiers = args[1];
    for (const WindowWideKey& wide : WindowWideKeys) {
        if (wide.key != key || wide.modifiers != modifiers) continue;
        wide.action();
        return KeyTaken;
    }
    const UnitId from = count > 2 ? args[2] : 0;
    if (from == Unit::MainBox && key == KeyZ && modifiers == CtrlAlone && CtrlZUndoesRun()) {
        UndoByKey();
        return KeyTaken;
    }
    return NoValue;
}

// Ctrl+A in the main box selects its whole text; the key still reaches the box.
extern "C" HandlerResult MainBoxKey(const uint32_t* args, int32_t count) {
    if (count >= 2 && args[0] == KeyA && args[1] == CtrlAlone)
        WriteInt(MainWindow, Unit::MainBox, Property::EditSelLength, -1);
    return NoValue;
}

}  // namespace quillet::app
