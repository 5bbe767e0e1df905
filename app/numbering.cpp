// The second page, "增加序号": a number, with a text before and after it and
// optional zero fill, at the head of every line of the main edit box.
#include <cmath>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/numbering.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace commands;
using namespace compiled;

namespace {

constexpr int32_t RunNumberingId = 0x04010020;

int32_t Next(int32_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n) + 1); }

bool IsEmpty(const char* text) { return CompareText(text, Text(Literal::Empty)) == 0; }

OwnedText Read(UnitId unit) { return ReadText(MainWindow, unit, Property::EditContent); }

void Numbering() {
    UndoText = Read(Unit::MainBox);
    UndoSaved = true;
    SplitIntoLines();
    const int32_t count = LineArray.Count();  // also the lines before, for the summary
    WriteText(MainWindow, Unit::MainBox, Property::EditContent, Text(Literal::Empty));

    int32_t n = CallInt(ToInteger, TextArg(Read(Unit::StartNumberBox).Get()));
    // The largest number the run can reach, in double precision.
    const int32_t width =
        CallInt(TextLength, TextArg(CallText(ToText, DoubleArg(static_cast<double>(n) + count - 1)).Get()));
    const bool noNumbers = IsEmpty(Read(Unit::StartNumberBox).Get());
    const char* padText = Text(Literal::Empty);  // always a constant

    for (int32_t i = 1; i <= count; ++i) {
        const int32_t length = CallInt(TextLength, TextArg(CallText(ToText, IntArg(n)).Get()));
        padText = NextPadText(static_cast<double>(width) - length, padText);
        const char* line = TextAt(LineArray, i, {RunNumberingId, 12});

        OwnedText piece;  // what the line becomes; nothing for a skipped empty line
        if (noNumbers) {
            piece = Concatenate({Read(Unit::PrefixBox).Get(), Read(Unit::SuffixBox).Get(), line});
        } else if (ReadInt(MainWindow, Unit::ZeroFillBox, Property::Checked) == 1) {
            if (!IsEmpty(line)) {
                piece = Concatenate({Read(Unit::PrefixBox).Get(), padText, CallText(ToText, IntArg(n)).Get(),
                                     Read(Unit::SuffixBox).Get(), line});
                n = Next(n);
            }
        } else if (ReadInt(MainWindow, Unit::SkipBlankBox, Property::Checked) == 1) {
            if (!IsEmpty(line)) {
                piece = Concatenate({Read(Unit::PrefixBox).Get(), CallText(ToText, IntArg(n)).Get(),
                                     Read(Unit::SuffixBox).Get(), line});
                n = Next(n);
            }
        } else {
            piece = Concatenate({Read(Unit::PrefixBox).Get(), CallText(ToText, IntArg(n)).Get(),
                                 Read(Unit::SuffixBox).Get(), line});
            n = Next(n);
        }
        if (piece.Get() != nullptr)
            Call(AppendText, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), TextArg(piece.Get()));
        // Also after a line that received nothing, so empty lines stay in place.
        if (i < count)
            Call(AppendText, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), TextArg(Text(Literal::LineBreak)));
        if (!ProcessEventsAndGoOn(i, count)) return;
    }

    LineArray = EmptyTextArray();
    SplitIntoLines();
    WriteLinesBack();
    Support().Free(const_cast<char*>(padText));  // a constant: the free entry leaves it alone
    ShowRunSummary(Literal::NumberingSummary, count, LineArray.Count());
}

}  // namespace

const char* NextPadText(double difference, const char* padText) {
    constexpr Literal Zeros[] = {Literal::Empty,  Literal::Zeros1, Literal::Zeros2,
                                 Literal::Zeros3, Literal::Zeros4, Literal::Zeros5};
    for (int32_t k = 0; k <= 5; ++k)
        if (std::fabs(difference - k) < 1e-7) return Text(Zeros[k]);
    return padText;
}

extern "C" HandlerResult RunNumbering(const uint32_t*, int32_t) {
    RunTool(Numbering);
    return NoValue;
}

}  // namespace quillet::app
