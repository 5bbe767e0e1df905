// The program's globals and the line routines every tool shares.
#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace compiled;

OwnedText UndoText;
bool UndoSaved = false;
OwnedArray LineArray;
bool ToolRunning = false;
bool WindowClosed = false;

namespace {
constexpr int32_t WriteLinesBackId = 0x04010002;
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
    ToolRunning = false;
    WindowClosed = false;
}

void FreeGlobals() {
    UndoText.Reset();
    LineArray.Reset();
}

void SplitIntoLines() {
    OwnedArray lines = CallTextArray(SplitText, TextArg(ReadText(MainWindow, Unit::MainBox, Property::EditContent).Get()),
                                     TextArg(Text(Literal::LineBreak)));
    LineArray = std::move(lines);  // frees the old lines and the old array
}

void WriteLinesBack() {
    WriteText(MainWindow, Unit::MainBox, Property::EditContent, Text(Literal::Empty));
    const int32_t count = LineArray.Count();
    for (int32_t i = 1; i <= count; ++i)
        Call(AppendText, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox),
             TextArg(TextAt(LineArray, i, {WriteLinesBackId, 3})), TextArg(Text(Literal::LineBreak)));
}

void ShowMessageText(Literal message) { Call(ShowMessage, TextArg(Text(message)), IntArg(0)); }

bool ProcessEventsAndGoOn() {
    Call(ProcessEvents);
    return !WindowClosed;
}

}  // namespace quillet::app
