#pragma once
// The program's values: the two the tools share, and the guards of a run.
// They belong to the program; its clean-up routine frees them at shutdown.
#include "app/constant_texts.h"
#include "runtime/services/compiled_code.h"

namespace quillet::app {

// The main edit box's content saved by the last tool run before it changed anything.
extern compiled::OwnedText UndoText;
// True once a run has saved UndoText: until then undo has nothing to restore.
extern bool UndoSaved;
// The main edit box's lines while a tool runs (a one-dimensional text array).
extern compiled::OwnedArray LineArray;

// Set while a tool runs: its per-line ProcessEvents lets clicks through, and a
// second run or an undo in the middle would work on the same LineArray.
extern bool ToolRunning;
// Set when the window has been destroyed: a run stops at its next line instead
// of reaching for units that no longer exist.
extern bool WindowClosed;
// Set while the main box holds what the last run or dropped file left there:
// Ctrl+Z in the box is then an undo. What may edit the box clears it (a key
// that does more than move, select or copy, the box's menu, an undo); the
// runs' own writes do not, and no handler runs for each of their lines.
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

// The shared line routines. SplitIntoLines puts the main edit box's lines
// (split at CR LF) into LineArray; WriteLinesBack empties the box and appends
// every line followed by CR LF.
void SplitIntoLines();
void WriteLinesBack();

// A message box with OK, as every message of the tool shows.
void ShowMessageText(Literal message);

// How the lines written back compare with an earlier text, line by line.
struct LineChanges {
    int32_t before = 0;   // lines the earlier text had, as SplitIntoLines counts them
    int32_t changed = 0;  // places where the two differ; a line only one of them has counts
};
// WriteLinesBack, comparing each line as it goes with the line at the same
// place in `before`, which it walks alongside.
LineChanges WriteLinesBackComparedWith(const char* before);

// ProcessEvents, once per line of a run, after telling the runtime how far the
// run is: line `line` of `lines` in pass `pass` (from 0) of `passes`. False
// when the window went away meanwhile and the run must stop.
bool ProcessEventsAndGoOn(int32_t line, int32_t lines, int32_t pass = 0, int32_t passes = 1);

// The footer: the version text while a run works, then one line on what the
// run did (`changed` below 0: not counted).
void ShowVersionInFooter();
void ShowRunSummary(Literal tool, int32_t linesBefore, int32_t linesAfter, int32_t changed = -1);
// The footer after an undo: the lines of the text brought back.
void ShowUndoSummary(const char* restored);

}  // namespace quillet::app
