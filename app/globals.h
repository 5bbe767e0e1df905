#pragma once
// The program's values: the two the tools share, and the guards of a run.
// They belong to the program; its clean-up routine frees them at shutdown.
#include "app/constant_texts.h"
#include "app/tools.h"
#include "runtime/services/compiled_code.h"

namespace quillet::app {

// The main edit box's content saved by the last tool run before it changed anything.
extern compiled::OwnedText UndoText;
// True once a run has saved UndoText: until then undo has nothing to restore.
extern bool UndoSaved;
// The file UndoText belonged to (the runtime's number; 0: none): the box's
// file during a run, the file before a load. Undo gives it back with the text,
// so that a save never writes one file's text into another.
extern int32_t UndoFile;
// The main edit box's lines while a tool runs (a one-dimensional text array).
extern compiled::OwnedArray LineArray;

// Set while a tool runs: its per-line ProcessEvents lets clicks through, and a
// second run or an undo in the middle would work on the same LineArray.
extern bool ToolRunning;
// Set when the window has been destroyed: a run stops at its next line instead
// of reaching for units that no longer exist.
extern bool WindowClosed;
// Set by the end of a run or a file's load, cleared by an undo: Ctrl+Z in the
// main box is then an undo, unless the box has an edit of its own to undo
// (its CanUndo): whatever changed the text since the runtime wrote it. No
// handler runs for each change of the text, nor for each of a run's lines.
extern bool BoxHoldsRunResult;
// Set once the user has been told that the settings file cannot take the lists:
// once a session is enough.
extern bool ListsNotSavedShown;
// Whether this session may write the settings file: not when it could not be
// read at start, so that lists the user never saw are not written over.
extern bool SettingsFileWritable;

// The one way into a run, an undo or a file's load, whatever started it (a
// click, Space or Enter on a button, a key, a drop): refused while a run is
// under way, its handler still working (ToolRunning) or its output still going
// into the box. A second run would work on half a result, an undo would pull
// the text from under the rest, and undo has one level: the text from before
// the first run would be gone.
bool RunMayStart();
// A tool's run through that path: the footer's version text, then the tool,
// with ToolRunning set while it works.
void RunTool(void (*tool)());

// A new empty text array: one dimension, no element.
compiled::OwnedArray EmptyTextArray();

// At start: LineArray empty, nothing saved, no run.
void InitialiseGlobals();
// The clean-up routine registered with the runtime.
void FreeGlobals();

// The shared line routines. SplitIntoLines puts a text's lines (split at
// CR LF) into LineArray; JoinLines gives every line followed by CR LF.
void SplitIntoLines(const char* text);
compiled::OwnedText JoinLines();

// A message box with OK, as every message of the tool shows.
void ShowMessageText(Literal message);

// How the lines written back compare with an earlier text, line by line.
struct LineChanges {
    int32_t before = 0;   // lines the earlier text had, as SplitIntoLines counts them
    int32_t changed = 0;  // places where the two differ; a line only one of them has counts
};
// LineArray against the lines of `before`, place by place.
LineChanges CompareLines(const char* before);

// ProcessEvents, once per line of a run, after telling the runtime how far the
// run is: line `line` of `lines` in pass `pass` (from 0) of `passes`. False
// when the window went away meanwhile and the run must stop.
bool ProcessEventsAndGoOn(int32_t line, int32_t lines, int32_t pass = 0, int32_t passes = 1);

// A run in the window: the main box's text, read once and kept for undo, is
// the tool's input; a finished result goes back into the box, and the footer
// tells what the run did. The window's pace lets events through once a line
// and stops the run when the window goes away.
const char* TakeRunInput();
RunPace WindowPace();
void ShowRunResult(Literal tool, const ToolResult& result);

// The footer: the version text while a run works, then one line on what the
// run did (`changed` below 0: not counted).
void ShowVersionInFooter();
void ShowRunSummary(Literal tool, int32_t linesBefore, int32_t linesAfter, int32_t changed = -1);
// The footer after an undo: the lines of the text brought back.
void ShowUndoSummary(const char* restored);

}  // namespace quillet::app
