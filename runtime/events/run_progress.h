#pragma once
// How far a long run has got, shown on the window whose event started it.
// A run is an outermost handler and the output its units held back, which
// reaches the window after the handler has returned (held_output.h); most of
// a long run is that handover. Once a run has lasted half a second, the
// window's title is followed by its stage and a percentage, and the pointer
// over the window is the app-starting one, until the whole result is in.
//
// Two stages, each measured in what it knows: while the handler runs, the
// steps it reports (the ReportProgress command; without reports only the
// stage shows); after it, the bytes still held against those held when it
// returned. Only the window's text changes: its Caption property keeps the
// program's own title, which goes back on the window at the end. A title the
// program writes meanwhile is kept and followed by the progress in turn.
#include <windows.h>

#include <cstdint>
#include <string>

namespace quillet {

// An outermost handler starts, for an event of this window.
void BeginRun(uint32_t windowId);
// It has returned, and what went over in one piece has gone: the run ends
// here unless output is still held.
void EndRunHandler();
// The running handler has done `done` of `total` steps of its work.
void NoteRunSteps(int32_t done, int32_t total);
// The run waited for the user (a message box): that time is not its own.
void RestartRunClock();
// From the loops and the handover, as often as they like: brings the window's
// title up to date every so often, and ends the run once nothing is held.
void UpdateRunProgress();

// True from the start of an outermost handler of the window until the output
// it held has all reached the window: the time the title shows the progress,
// once the run is long enough to show it.
bool RunUnderWay(uint32_t windowId);

// The run under way, told apart from every other run of the process; 0 when
// none is.
uint32_t RunNumber();

// True while this window shows a run's progress.
bool ShowsRunProgress(HWND window);

// The text after the title: the stage, then the percentage when known.
std::string RunProgressSuffix(bool handOver, int32_t percent);

}  // namespace quillet
