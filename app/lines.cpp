// The program's globals and the line routines every tool shares.
#include <algorithm>
#include <cstring>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace commands;
using namespace compiled;

OwnedText UndoText;
bool UndoSaved = false;
int32_t UndoFile = 0;
OwnedArray LineArray;
bool ToolRunning = false;
bool WindowClosed = false;
bool BoxHoldsRunResult = false;
bool ListsNotSavedShown = false;
bool SettingsFileWritable = true;

namespace {
constexpr int32_t JoinLinesId = 0x04010002;
constexpr int32_t CompareLinesId = 0x04010003;
}  // namespace

OwnedArray EmptyTextArray() {
    auto* header = static_cast<int32_t*>(Support().Allocate(8));
    header[0] = 1;
    header[1] = 0;
    return OwnedArray(header, true);
}

void InitialiseGlobals() {
    LineArray = EmptyTextArray();
    UndoText.Reset();
    UndoSaved = false;
    UndoFile = 0;
    ToolRunning = false;
    WindowClosed = false;
    BoxHoldsRunResult = false;
    ListsNotSavedShown = false;
    SettingsFileWritable = true;
    // A crash in the middle of a run must not take the text from before it.
    Call(KeepTextOnCrash, ReferenceArg(UndoText.Variable()), TextArg(Text(Literal::UndoRescueTitle)));
}

bool RunMayStart() { return !ToolRunning && CallInt(OutputPending) == 0; }

void RunTool(void (*tool)()) {
    if (!RunMayStart()) return;
    ToolRunning = true;
    // The run's text stays the box file's text: undo keeps the file.
    UndoFile = CallInt(BoxFileFact, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), IntArg(FileFact::Number));
    ShowVersionInFooter();
    tool();
    ToolRunning = false;
    BoxHoldsRunResult = true;
}

void FreeGlobals() {
    UndoText.Reset();
    LineArray.Reset();
}

void SplitIntoLines(const char* text) {
    OwnedArray lines = CallTextArray(SplitText, TextArg(text), TextArg(Text(Literal::LineBreak)));
    LineArray = std::move(lines);  // frees the old lines and the old array
}

OwnedText JoinLines() {
    TextJoiner joined;
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i) {
        joined.Append(TextAt(LineArray, i, {JoinLinesId, 3}));
        joined.Append(Text(Literal::LineBreak));
    }
    return joined.Take();
}

namespace {

// The lines of a text as SplitIntoLines cuts them, one after the other: a
// break at the end starts no further line. CR LF is never part of a GBK
// character, so a byte search finds the same breaks.
class LineWalk {
public:
    explicit LineWalk(const char* text) : at_(text), end_(text + std::strlen(text)) {}

    // Whether the next line is `line` (null: the empty line); false when no
    // line is left. Steps past it.
    bool NextIs(const char* line) {
        if (at_ == end_) return false;
        if (line == nullptr) line = "";
        const char* lineEnd = std::search(at_, end_, Break, Break + 2);
        const auto length = static_cast<size_t>(lineEnd - at_);
        const bool same = std::strlen(line) == length && std::memcmp(line, at_, length) == 0;
        at_ = lineEnd == end_ ? end_ : lineEnd + 2;
        ++walked_;
        return same;
    }
    // Steps past the lines left; how many lines the text had.
    int32_t Count() {
        while (at_ != end_) NextIs("");
        return walked_;
    }

private:
    static constexpr char Break[] = {'\r', '\n'};
    const char* at_;
    const char* end_;
    int32_t walked_ = 0;
};

}  // namespace

void ShowMessageText(Literal message) { Call(ShowMessage, TextArg(Text(message)), IntArg(0)); }

LineChanges CompareLines(const char* before) {
    LineChanges changes;
    LineWalk walk(before != nullptr ? before : "");
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i)
        if (!walk.NextIs(TextAt(LineArray, i, {CompareLinesId, 3}))) ++changes.changed;
    changes.before = walk.Count();
    if (changes.before > count) changes.changed += changes.before - count;
    return changes;
}

namespace {

bool GoOnInWindow(void*, int32_t line, int32_t lines, int32_t pass, int32_t passes) {
    return ProcessEventsAndGoOn(line, lines, pass, passes);
}

bool GoOnSteadily(void*, int32_t, int32_t, int32_t, int32_t) { return true; }

}  // namespace

RunPace WindowPace() { return {GoOnInWindow, nullptr}; }
RunPace SteadyPace() { return {GoOnSteadily, nullptr}; }

const char* TakeRunInput() {
    UndoText = ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    UndoSaved = true;
    return UndoText.Get();
}

// The result goes in as the runs always wrote it, appended to the emptied
// box: the caret and the view end at its end.
void ShowRunResult(Literal tool, const ToolResult& result) {
    if (!result.finished || WindowClosed) return;
    WriteText(MainWindow, Unit::MainBox, Property::EditContent, Text(Literal::Empty));
    Call(AppendText, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), TextArg(result.text.Get()));
    ShowRunSummary(tool, result.linesBefore, result.linesAfter, result.changed);
}

bool ProcessEventsAndGoOn(int32_t line, int32_t lines, int32_t pass, int32_t passes) {
    // In ten-thousandths, whatever the counts: the runtime shows whole percents.
    constexpr int64_t Scale = 10000;
    const int64_t done = lines > 0 ? (Scale * pass + Scale * line / lines) : Scale * pass;
    Call(ReportProgress, IntArg(static_cast<int32_t>(done / std::max(passes, 1))), IntArg(Scale));
    Call(ProcessEvents);
    return !WindowClosed;
}

void ShowVersionInFooter() {
    WriteText(MainWindow, Unit::AboutLabel, Property::LabelCaption, Text(Literal::VersionText));
}

void ShowRunSummary(Literal tool, int32_t linesBefore, int32_t linesAfter, int32_t changed) {
    OwnedText before = CallText(ToText, IntArg(linesBefore));
    OwnedText after = CallText(ToText, IntArg(linesAfter));
    OwnedText summary = Concatenate({Text(tool), before.Get(), Text(Literal::LinesArrow), after.Get(),
                                     Text(Literal::LinesEnd)});
    if (changed >= 0)
        summary = Concatenate({summary.Get(), Text(Literal::ChangedLinesStart), CallText(ToText, IntArg(changed)).Get(),
                               Text(Literal::ChangedLinesEnd)});
    WriteText(MainWindow, Unit::AboutLabel, Property::LabelCaption, summary.Get());
}

void ShowUndoSummary(const char* restored) {
    OwnedText lines = CallText(ToText, IntArg(LineWalk(restored != nullptr ? restored : "").Count()));
    WriteText(MainWindow, Unit::AboutLabel, Property::LabelCaption,
              Concatenate({Text(Literal::UndoneStart), lines.Get(), Text(Literal::LinesEnd)}).Get());
}

}  // namespace quillet::app
