#pragma once
// The three tools on a text, with no window: the window reads its main box and
// its options once when a run starts, runs one of these and writes the result
// back; the command line runs the same on a file's text. So both give the same
// bytes for the same text and options.
//
// A text's lines are what CR LF separates (a break at the end starts no
// further line, SplitIntoLines); a result ends each of its lines with CR LF.
// The tools work in LineArray, as runtime commands on runtime texts.
#include <cstdint>

#include "runtime/services/compiled_code.h"

namespace quillet::app {

// How far a run is, and whether it goes on: told once per line of each pass
// (line `line` of `lines`, pass `pass` of `passes`, from 0). False stops the
// run; its result is then not to be used.
struct RunPace {
    bool (*goOn)(void* context, int32_t line, int32_t lines, int32_t pass, int32_t passes);
    void* context;
};
// A pace that never stops and tells nobody.
RunPace SteadyPace();

// What a run made: the text and its lines before and after.
struct ToolResult {
    compiled::OwnedText text;  // each line followed by CR LF
    int32_t linesBefore = 0;
    int32_t linesAfter = 0;
    int32_t changed = -1;      // replacement: the lines that differ (LineChanges); -1 for the others
    bool finished = false;     // false: stopped by its pace, or refused (ReplaceProblem)
};

// 去除空行: the passes chosen, always in this order, each on the result of the one before.
struct CleanupChoice {
    bool removeSpaces = true;       // ASCII and full-width spaces, everywhere in a line
    bool trim = false;              // the same at both ends; a tab stops the trim
    bool removeTabs = true;         // every tab
    bool removeBlankLines = true;   // lines empty once ASCII spaces and tabs are out
    bool joinLines = false;         // runs of lines into one; an empty line into two breaks
};
ToolResult CleanupText(const char* text, const CleanupChoice& choice, const RunPace& pace);

// 增加序号: a number, with texts before and after it, at the head of each line.
struct NumberingChoice {
    const char* prefix = "";
    const char* start = "1";  // read as the number box is read; empty: no numbers, only the two texts
    const char* suffix = "";
    bool zeroFill = true;     // every number as wide as the widest
    bool skipBlank = true;    // empty lines get no number
};
ToolResult NumberText(const char* text, const NumberingChoice& choice, const RunPace& pace);

// 多词替换: the items of one comma list replaced by those of the other, pair by pair.
enum class ReplaceProblem {
    None,
    EmptySubjects,  // nothing to replace: the run goes on and replaces nothing
    Mismatch,       // the lists do not pair up: no run
};
// The two lists as the boxes hold them after one comma is taken off each end
// of each (StripEndCommas); what the lists say to the run.
struct ReplaceChoice {
    const char* subjects = "";
    const char* replacements = "";
};
compiled::OwnedText StripEndCommas(const char* list);
ReplaceProblem ProblemOf(const ReplaceChoice& choice);
// Refused (finished false, no text) for a Mismatch.
ToolResult ReplaceText(const char* text, const ReplaceChoice& choice, const RunPace& pace);

}  // namespace quillet::app
