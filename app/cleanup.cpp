// The first page, "去除空行": up to five cleanup passes over a text's lines,
// always in the same order, each on the result of the one before.
#include <algorithm>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/tools.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace commands;
using namespace compiled;

namespace {

constexpr int32_t RemoveSpacesPassId = 0x04010010;
constexpr int32_t TrimPassId = 0x04010011;
constexpr int32_t RemoveTabsPassId = 0x04010012;
constexpr int32_t RemoveBlankLinesPassId = 0x04010013;
constexpr int32_t JoinLinesPassId = 0x04010014;

constexpr int32_t TabCode = 9;

// A pass's place in its run: which it is, of how many, and the run's pace.
struct PassPlace {
    int32_t index;  // passes done before this one
    int32_t count;  // passes the run makes
    const RunPace& pace;

    bool GoOn(int32_t line, int32_t lines) const { return pace.goOn(pace.context, line, lines, index, count); }
};

// Every line replaced by what the command makes of it.
bool ReplaceEveryLine(CommandFunction command, int32_t subroutineId, const PassPlace& place) {
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        SetTextElement(LineArray, i, CallText(command, TextArg(TextAt(LineArray, i, {subroutineId, 2}))),
                       {subroutineId, 2});
        if (!place.GoOn(i, count)) return false;
    }
    return true;
}

// ASCII and full-width spaces, everywhere in the line.
bool RemoveSpacesPass(const PassPlace& place) { return ReplaceEveryLine(RemoveAllSpaces, RemoveSpacesPassId, place); }

// ASCII and full-width spaces at both ends; a tab stops the trim.
bool TrimPass(const PassPlace& place) { return ReplaceEveryLine(TrimBothEnds, TrimPassId, place); }

// Every tab byte.
bool RemoveTabsPass(const PassPlace& place) {
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        OwnedText tab = CallText(CharFromCode, IntArg(TabCode));
        SetTextElement(LineArray, i,
                       CallText(ReplaceSubtext, TextArg(TextAt(LineArray, i, {RemoveTabsPassId, 3})),
                                TextArg(tab.Get()), TextArg(Text(Literal::Empty)), Omitted, Omitted, BoolArg(true)),
                       {RemoveTabsPassId, 3});
        tab.Reset();
        if (!place.GoOn(i, count)) return false;
    }
    return true;
}

// Deletes every line that is empty once its ASCII spaces and tabs are taken
// out (full-width spaces count as text here); surviving lines stay as they are.
bool RemoveBlankLinesPass(const PassPlace& place) {
    int32_t n = LineArray.Count();
    const int32_t lines = n;
    int32_t visited = 0;
    int32_t i = 0;
    OwnedText t;
    while (i < n) {
        ++i;
        const char* line = TextAt(LineArray, i, {RemoveBlankLinesPassId, 4});
        if (CompareText(line, Text(Literal::Empty)) == 0) {
            DeleteElements(LineArray, i, 1);
            --i;
            --n;
        } else {
            t = CallText(ReplaceSubtext, TextArg(line), TextArg(Text(Literal::Space)), Omitted, IntArg(1), Omitted,
                         BoolArg(true));
            OwnedText tab = CallText(CharFromCode, IntArg(TabCode));
            t = CallText(ReplaceSubtext, TextArg(t.Get()), TextArg(tab.Get()), Omitted, IntArg(1), Omitted,
                         BoolArg(true));
            tab.Reset();
            if (CompareText(t.Get(), Text(Literal::Empty)) == 0) {
                DeleteElements(LineArray, i, 1);
                --i;
                --n;
            }
        }
        if (!place.GoOn(++visited, lines)) return false;
    }
    return true;
}

// Runs of non-empty lines become one line each; every empty line becomes two
// line breaks. The joined text is split again, so it ends with CR LF.
bool JoinLinesPass(const PassPlace& place) {
    TextJoiner joined;
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        const char* line = TextAt(LineArray, i, {JoinLinesPassId, 3});
        joined.Append(CompareText(line, Text(Literal::Empty)) != 0 ? line : Text(Literal::ParagraphBreak));
        if (!place.GoOn(i, count)) return false;
    }
    SplitIntoLines(joined.Take().Get());
    return true;
}

struct Pass {
    bool CleanupChoice::*chosen;
    bool (*run)(const PassPlace& place);
};

// The fixed order, whatever order the boxes were ticked in.
constexpr Pass Passes[] = {
    {&CleanupChoice::removeSpaces, RemoveSpacesPass},
    {&CleanupChoice::trim, TrimPass},
    {&CleanupChoice::removeTabs, RemoveTabsPass},
    {&CleanupChoice::removeBlankLines, RemoveBlankLinesPass},
    {&CleanupChoice::joinLines, JoinLinesPass},
};

// The page's check boxes, read once when the run starts.
CleanupChoice ChoiceOnPage() {
    const auto ticked = [](UnitId box) { return ReadInt(MainWindow, box, Property::Checked) == 1; };
    CleanupChoice choice;
    choice.removeSpaces = ticked(Unit::RemoveSpacesBox);
    choice.trim = ticked(Unit::TrimBox);
    choice.removeTabs = ticked(Unit::RemoveTabsBox);
    choice.removeBlankLines = ticked(Unit::RemoveBlankLinesBox);
    choice.joinLines = ticked(Unit::JoinLinesBox);
    return choice;
}

void Cleanup() {
    const CleanupChoice choice = ChoiceOnPage();
    ShowRunResult(Literal::CleanupSummary, CleanupText(TakeRunInput(), choice, WindowPace()));
}

}  // namespace

ToolResult CleanupText(const char* text, const CleanupChoice& choice, const RunPace& pace) {
    SplitIntoLines(text);
    ToolResult result;
    result.linesBefore = LineArray.Count();
    const auto count = static_cast<int32_t>(
        std::count_if(std::begin(Passes), std::end(Passes), [&](const Pass& pass) { return choice.*pass.chosen; }));
    int32_t index = 0;
    for (const Pass& pass : Passes) {
        if (!(choice.*pass.chosen)) continue;
        if (!pass.run({index++, std::max(count, 1), pace})) return result;
    }
    // No pass: the text stays as it is, its last line as it ends.
    result.text = count > 0 ? JoinLines() : Concatenate({text});
    result.linesAfter = LineArray.Count();
    result.finished = true;
    return result;
}

extern "C" HandlerResult RunCleanup(const uint32_t*, int32_t) {
    RunTool(Cleanup);
    return NoValue;
}

}  // namespace quillet::app
