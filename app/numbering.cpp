// The second page, "增加序号": a number, with a text before and after it and
// optional zero fill, at the head of every line of a text.
#include <cmath>

#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/numbering.h"
#include "app/tools.h"
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
    // The page's boxes, read once when the run starts: typing into them during
    // the run changes nothing of it.
    OwnedText prefix = Read(Unit::PrefixBox), start = Read(Unit::StartNumberBox), suffix = Read(Unit::SuffixBox);
    NumberingChoice choice;
    choice.prefix = prefix.Get();
    choice.start = start.Get();
    choice.suffix = suffix.Get();
    choice.zeroFill = ReadInt(MainWindow, Unit::ZeroFillBox, Property::Checked) == 1;
    choice.skipBlank = ReadInt(MainWindow, Unit::SkipBlankBox, Property::Checked) == 1;
    ShowRunResult(Literal::NumberingSummary, NumberText(TakeRunInput(), choice, WindowPace()));
}

}  // namespace

const char* NextPadText(double difference, const char* padText) {
    constexpr Literal Zeros[] = {Literal::Empty,  Literal::Zeros1, Literal::Zeros2,
                                 Literal::Zeros3, Literal::Zeros4, Literal::Zeros5};
    for (int32_t k = 0; k <= 5; ++k)
        if (std::fabs(difference - k) < 1e-7) return Text(Zeros[k]);
    return padText;
}

ToolResult NumberText(const char* text, const NumberingChoice& choice, const RunPace& pace) {
    SplitIntoLines(text);
    ToolResult result;
    const int32_t count = LineArray.Count();  // also the lines before, for the summary
    result.linesBefore = count;

    int32_t n = CallInt(ToInteger, TextArg(choice.start));
    // The largest number the run can reach, in double precision.
    const int32_t width =
        CallInt(TextLength, TextArg(CallText(ToText, DoubleArg(static_cast<double>(n) + count - 1)).Get()));
    const bool noNumbers = IsEmpty(choice.start);
    const char* padText = Text(Literal::Empty);  // always a constant

    // Each line's piece, and a break after every line but the last; the whole
    // is split again, so what the pieces hold of breaks makes lines too.
    TextJoiner pieces;
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t length = CallInt(TextLength, TextArg(CallText(ToText, IntArg(n)).Get()));
        padText = NextPadText(static_cast<double>(width) - length, padText);
        const char* line = TextAt(LineArray, i, {RunNumberingId, 12});

        OwnedText piece;  // what the line becomes; nothing for a skipped empty line
        if (noNumbers) {
            piece = Concatenate({choice.prefix, choice.suffix, line});
        } else if (choice.zeroFill) {
            if (!IsEmpty(line)) {
                piece = Concatenate({choice.prefix, padText, CallText(ToText, IntArg(n)).Get(), choice.suffix, line});
                n = Next(n);
            }
        } else if (choice.skipBlank) {
            if (!IsEmpty(line)) {
                piece = Concatenate({choice.prefix, CallText(ToText, IntArg(n)).Get(), choice.suffix, line});
                n = Next(n);
            }
        } else {
            piece = Concatenate({choice.prefix, CallText(ToText, IntArg(n)).Get(), choice.suffix, line});
            n = Next(n);
        }
        pieces.Append(piece.Get());
        // Also after a line that received nothing, so empty lines stay in place.
        if (i < count) pieces.Append(Text(Literal::LineBreak));
        if (!pace.goOn(pace.context, i, count, 0, 1)) return result;
    }

    SplitIntoLines(pieces.Take().Get());
    Support().Free(const_cast<char*>(padText));  // a constant: the free entry leaves it alone
    result.text = JoinLines();
    result.linesAfter = LineArray.Count();
    result.finished = true;
    return result;
}

extern "C" HandlerResult RunNumbering(const uint32_t*, int32_t) {
    RunTool(Numbering);
    return NoValue;
}

}  // namespace quillet::app
