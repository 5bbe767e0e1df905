// The third page, "多词替换": several texts replaced at once from two
// comma-separated lists, which the settings file keeps between runs.
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

constexpr int32_t RunMultiReplaceId = 0x04010030;

OwnedText Read(UnitId unit) { return ReadText(MainWindow, unit, Property::EditContent); }
void Write(UnitId unit, const char* text) { WriteText(MainWindow, unit, Property::EditContent, text); }

bool IsEmpty(const char* text) { return CompareText(text, Text(Literal::Empty)) == 0; }

// The settings file, beside the program or in the user's application data: the
// runtime chooses it once a session.
OwnedText SettingsPath() {
    return CallText(SettingsFile, TextArg(Text(Literal::SettingsFileName)), TextArg(Text(Literal::SettingsFolderName)));
}

// A box's list: either one text (single), or the items of a list of two or
// more (items, count). A list that yields a single item stands for that item.
struct ReplaceList {
    OwnedText single;
    OwnedArray items = EmptyTextArray();
    int32_t count = 0;
};

ReplaceList ListOf(const char* list) {
    ReplaceList result;
    if (IsEmpty(list)) return result;
    if (CallInt(FindText, TextArg(list), TextArg(Text(Literal::Comma)), Omitted, BoolArg(false)) > 0) {
        result.items = CallTextArray(SplitText, TextArg(list), TextArg(Text(Literal::Comma)));
        result.count = result.items.Count();
        if (result.count == 1) result.single = Concatenate({TextAt(result.items, 1, {RunMultiReplaceId, 6})});
    } else {
        result.single = Concatenate({list});
    }
    return result;
}

// Two lists of different lengths, or one text against a list: nothing fits.
bool Mismatched(const ReplaceList& subjects, const ReplaceList& replacements) {
    const bool subjectList = subjects.count > 1;
    return replacements.count > 1 &&
           (subjectList ? replacements.count != subjects.count : !IsEmpty(subjects.single.Get()));
}

// Whether the settings file took the lists at the last run.
bool listsSaved = true;

// Each box's list without its end commas, written back into the box.
OwnedText StripBox(UnitId box) {
    OwnedText stripped = StripEndCommas(Read(box).Get());
    Write(box, stripped.Get());
    return stripped;
}

void MultiReplace() {
    const char* text = TakeRunInput();
    // The boxes as the user left them, before stripping; never over a file
    // that could not be read at start (the user heard so then).
    if (SettingsFileWritable) listsSaved = SaveReplaceLists();
    const OwnedText subjects = StripBox(Unit::SubjectBox);
    const OwnedText replacements = StripBox(Unit::PredicateBox);
    ReplaceChoice choice;
    choice.subjects = subjects.Get();
    choice.replacements = replacements.Get();
    switch (ProblemOf(choice)) {
    case ReplaceProblem::EmptySubjects:
        ShowMessageText(Literal::EmptySubjectMessage);  // the run goes on and replaces nothing
        if (WindowClosed) return;
        break;
    case ReplaceProblem::Mismatch: ShowMessageText(Literal::MismatchMessage); return;
    case ReplaceProblem::None: break;
    }
    ShowRunResult(Literal::ReplaceSummary, ReplaceText(text, choice, WindowPace()));
}

// Lists the file cannot take are gone at the next start: the user is told
// once a session, naming the file, after the run and not inside its loop.
void TellListsNotSaved() {
    if (ListsNotSavedShown) return;
    ListsNotSavedShown = true;
    OwnedText message =
        Concatenate({Text(Literal::ListsNotSavedStart), SettingsPath().Get(), Text(Literal::ListsNotSavedEnd)});
    Call(ShowMessage, TextArg(message.Get()), IntArg(0));
}

}  // namespace

// A settings file that is there but cannot be read, or is too large to be
// read, gives empty boxes and is not written this session: the user is told so
// now, once.
void LoadReplaceLists() {
    const OwnedText path = SettingsPath();
    const int32_t state = CallInt(ConfigFileState, TextArg(path.Get()));
    SettingsFileWritable = state == SettingsFileState::Readable || state == SettingsFileState::Missing;
    if (!SettingsFileWritable) {
        const Literal why = state == SettingsFileState::TooLarge ? Literal::SettingsTooLargeEnd
                                                                 : Literal::SettingsUnreadableEnd;
        Call(ShowMessage,
             TextArg(Concatenate({Text(Literal::SettingsFileStart), path.Get(), Text(why)}).Get()),
             IntArg(0));
        return;
    }
    Write(Unit::SubjectBox, CallText(ReadConfigItem, TextArg(path.Get()),
                                     TextArg(Text(Literal::ReplaceSection)), TextArg(Text(Literal::SubjectKey)))
                                .Get());
    Write(Unit::PredicateBox, CallText(ReadConfigItem, TextArg(path.Get()),
                                       TextArg(Text(Literal::ReplaceSection)), TextArg(Text(Literal::PredicateKey)))
                                  .Get());
}

namespace {

// One box's list under its key, the file's folder made when it is missing (the
// application data's); whether the file took it.
bool SaveList(Literal key, UnitId box) {
    return CallInt(WriteConfigItem, TextArg(SettingsPath().Get()), TextArg(Text(Literal::ReplaceSection)),
                   TextArg(Text(key)), TextArg(Read(box).Get()), BoolArg(true)) != 0;
}

}  // namespace

// A file that cannot be written is left as it was. Both lists are written,
// whatever became of the first.
bool SaveReplaceLists() {
    const bool subjects = SaveList(Literal::SubjectKey, Unit::SubjectBox);
    const bool predicates = SaveList(Literal::PredicateKey, Unit::PredicateBox);
    return subjects && predicates;
}

// One comma off each end, the last one first.
OwnedText StripEndCommas(const char* list) {
    const CommandArg comma = TextArg(Text(Literal::Comma));
    const CommandArg nothing = TextArg(Text(Literal::Empty));
    OwnedText content = Concatenate({list});
    if (CompareText(CallText(RightText, TextArg(content.Get()), IntArg(1)).Get(), Text(Literal::Comma)) == 0)
        content = CallText(ReplaceSubtext, TextArg(content.Get()), comma, nothing,
                           IntArg(CallInt(TextLength, TextArg(content.Get()))), IntArg(1), BoolArg(true));
    if (CompareText(CallText(LeftText, TextArg(content.Get()), IntArg(1)).Get(), Text(Literal::Comma)) == 0)
        content = CallText(ReplaceSubtext, TextArg(content.Get()), comma, nothing, IntArg(1), IntArg(1), BoolArg(true));
    return content;
}

ReplaceProblem ProblemOf(const ReplaceChoice& choice) {
    if (IsEmpty(choice.subjects)) return ReplaceProblem::EmptySubjects;
    return Mismatched(ListOf(choice.subjects), ListOf(choice.replacements)) ? ReplaceProblem::Mismatch
                                                                            : ReplaceProblem::None;
}

ToolResult ReplaceText(const char* text, const ReplaceChoice& choice, const RunPace& pace) {
    ToolResult result;
    const ReplaceList subjects = ListOf(choice.subjects);          // B, or L1 and nS
    const ReplaceList replacements = ListOf(choice.replacements);  // A, or L2 and nP
    if (Mismatched(subjects, replacements)) return result;

    // Every occurrence of each subject in the whole text, pair by pair.
    const auto replace = [](OwnedText& current, const char* subject, const char* replacement) {
        current = CallText(ReplaceSubtext, TextArg(current.Get()), TextArg(subject), TextArg(replacement), Omitted,
                           Omitted, BoolArg(true));
    };
    OwnedText current = Concatenate({text});
    if (subjects.count > 1) {
        for (int32_t k = 1; k <= subjects.count; ++k) {
            const char* replacement = replacements.count > 1 ? TextAt(replacements.items, k, {RunMultiReplaceId, 12})
                                                             : replacements.single.Get();
            replace(current, TextAt(subjects.items, k, {RunMultiReplaceId, 13}), replacement);
            if (!pace.goOn(pace.context, k, subjects.count, 0, 1)) return result;
        }
    } else {
        replace(current, subjects.single.Get(), replacements.single.Get());
    }

    SplitIntoLines(current.Get());
    const LineChanges changes = CompareLines(text);
    result.text = JoinLines();
    result.linesBefore = changes.before;
    result.linesAfter = LineArray.Count();
    result.changed = changes.changed;
    result.finished = true;
    return result;
}

extern "C" HandlerResult RunMultiReplace(const uint32_t*, int32_t) {
    listsSaved = true;
    RunTool(MultiReplace);
    if (!listsSaved && !WindowClosed) TellListsNotSaved();
    return NoValue;
}

}  // namespace quillet::app
