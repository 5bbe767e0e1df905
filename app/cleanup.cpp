// The first page, "去除空行": up to five cleanup passes over the main edit
// box's lines, always in the same order, each on the result of the one before.
#include <algorithm>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
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

// Which of the run's passes is working, for the progress the window shows.
struct PassPlace {
    int32_t index = 0;  // passes done before this one
    int32_t count = 1;  // passes the run will make
};
PassPlace place;

bool GoOn(int32_t line, int32_t lines) { return ProcessEventsAndGoOn(line, lines, place.index, place.count); }

// Every line replaced by what the command makes of it; one ProcessEvents per line.
bool ReplaceEveryLine(CommandFunction command, int32_t subroutineId) {
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        SetTextElement(LineArray, i, CallText(command, TextArg(TextAt(LineArray, i, {subroutineId, 2}))),
                       {subroutineId, 2});
        if (!GoOn(i, count)) return false;
    }
    WriteLinesBack();
    return true;
}

// ASCII and full-width spaces, everywhere in the line.
bool RemoveSpacesPass() { return ReplaceEveryLine(RemoveAllSpaces, RemoveSpacesPassId); }

// ASCII and full-width spaces at both ends; a tab stops the trim.
bool TrimPass() { return ReplaceEveryLine(TrimBothEnds, TrimPassId); }

// Every tab byte.
bool RemoveTabsPass() {
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        OwnedText tab = CallText(CharFromCode, IntArg(TabCode));
        SetTextElement(LineArray, i,
                       CallText(ReplaceSubtext, TextArg(TextAt(LineArray, i, {RemoveTabsPassId, 3})),
                                TextArg(tab.Get()), TextArg(Text(Literal::Empty)), Omitted, Omitted, BoolArg(true)),
                       {RemoveTabsPassId, 3});
        tab.Reset();
        if (!GoOn(i, count)) return false;
    }
    WriteLinesBack();
    return true;
}

// Deletes every line that is empty once its ASCII spaces and tabs are taken
// out (full-width spaces count as text here); surviving lines stay as they are.
bool RemoveBlankLinesPass() {
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
        if (!GoOn(++visited, lines)) return false;
    }
    WriteLinesBack();
    return true;
}

// Runs of non-empty lines become one line each; every empty line becomes two
// line breaks. The result is split and written back, so it ends with CR LF.
bool JoinLinesPass() {
    WriteText(MainWindow, Unit::MainBox, Property::EditContent, Text(Literal::Empty));
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        const char* line = TextAt(LineArray, i, {JoinLinesPassId, 3});
        const char* piece = CompareText(line, Text(Literal::Empty)) != 0 ? line : Text(Literal::ParagraphBreak);
        Call(AppendText, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), TextArg(piece));
        if (!GoOn(i, count)) return false;
    }
    LineArray = EmptyTextArray();
    SplitIntoLines();
    WriteLinesBack();
    return true;
}

struct Pass {
    UnitId option;  // the check box that selects it
    bool (*run)();
};

// The fixed order, whatever order the boxes were ticked in.
constexpr Pass Passes[] = {
    {Unit::RemoveSpacesBox, RemoveSpacesPass},
    {Unit::TrimBox, TrimPass},
    {Unit::RemoveTabsBox, RemoveTabsPass},
    {Unit::RemoveBlankLinesBox, RemoveBlankLinesPass},
    {Unit::JoinLinesBox, JoinLinesPass},
};

bool Ticked(UnitId option) { return ReadInt(MainWindow, option, Property::Checked) == 1; }

void Cleanup() {
    SplitIntoLines();
    const int32_t linesBefore = LineArray.Count();
    UndoText = ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    UndoSaved = true;
    int32_t ticked = 0;
    for (const Pass& pass : Passes) ticked += Ticked(pass.option) ? 1 : 0;
    place = {0, std::max(ticked, 1)};
    // Each box is read just before its pass would run.
    for (const Pass& pass : Passes) {
        if (!Ticked(pass.option)) continue;
        if (!pass.run()) return;
        ++place.index;
    }
    ShowRunSummary(Literal::CleanupSummary, linesBefore, LineArray.Count());
}

}  // namespace

extern "C" HandlerResult RunCleanup(const uint32_t*, int32_t) {
    RunTool(Cleanup);
    return NoValue;
}

}  // namespace quillet::app
