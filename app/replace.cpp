// The third page, "多词替换": several texts replaced at once from two
// comma-separated lists, which the settings file keeps between runs.
#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
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

// One comma off each end of the box, the last one first, each change written back.
void StripEndCommas(UnitId box) {
    const CommandArg comma = TextArg(Text(Literal::Comma));
    const CommandArg nothing = TextArg(Text(Literal::Empty));
    {
        OwnedText content = Read(box);
        if (CompareText(CallText(RightText, TextArg(content.Get()), IntArg(1)).Get(), Text(Literal::Comma)) == 0)
            Write(box, CallText(ReplaceSubtext, TextArg(content.Get()), comma, nothing,
                                IntArg(CallInt(TextLength, TextArg(content.Get()))), IntArg(1), BoolArg(true))
                           .Get());
    }
    OwnedText content = Read(box);
    if (CompareText(CallText(LeftText, TextArg(content.Get()), IntArg(1)).Get(), Text(Literal::Comma)) == 0)
        Write(box, CallText(ReplaceSubtext, TextArg(content.Get()), comma, nothing, IntArg(1), IntArg(1),
                            BoolArg(true))
                       .Get());
}

// A box's list: either one text (single), or the items of a list of two or
// more (items, count). A list that yields a single item stands for that item.
struct ReplaceList {
    OwnedText single;
    OwnedArray items = EmptyTextArray();
    int32_t count = 0;
};

ReplaceList ListOf(OwnedText content) {
    ReplaceList list;
    if (IsEmpty(content.Get())) return list;
    if (CallInt(FindText, TextArg(content.Get()), TextArg(Text(Literal::Comma)), Omitted, BoolArg(false)) > 0) {
        list.items = CallTextArray(SplitText, TextArg(content.Get()), TextArg(Text(Literal::Comma)));
        list.count = list.items.Count();
        if (list.count == 1) list.single = Concatenate({TextAt(list.items, 1, {RunMultiReplaceId, 6})});
    } else {
        list.single = std::move(content);
    }
    return list;
}

// The main box's content with every occurrence of one text replaced.
void ReplaceInMainBox(const char* subject, const char* replacement) {
    Write(Unit::MainBox, CallText(ReplaceSubtext, TextArg(Read(Unit::MainBox).Get()), TextArg(subject),
                                  TextArg(replacement), Omitted, Omitted, BoolArg(true))
                             .Get());
}

// Whether the settings file took the lists at the last run.
bool listsSaved = true;

void MultiReplace() {
    UndoText = Read(Unit::MainBox);
    UndoSaved = true;
    // The boxes as the user left them, before stripping; never over a file
    // that could not be read at start (the user heard so then).
    if (SettingsFileWritable) listsSaved = SaveReplaceLists();

    StripEndCommas(Unit::SubjectBox);
    StripEndCommas(Unit::PredicateBox);

    OwnedText subjectText = Read(Unit::SubjectBox);
    if (IsEmpty(subjectText.Get())) {
        ShowMessageText(Literal::EmptySubjectMessage);  // the run goes on and replaces nothing
        if (WindowClosed) return;
    }
    const ReplaceList subjects = ListOf(std::move(subjectText));  // B, or L1 and nS
    const ReplaceList replacements = ListOf(Read(Unit::PredicateBox));  // A, or L2 and nP

    // Two lists of different lengths, or one text against a list: nothing fits.
    const bool subjectList = subjects.count > 1;
    const bool replacementList = replacements.count > 1;
    if (replacementList && (subjectList ? replacements.count != subjects.count : !IsEmpty(subjects.single.Get()))) {
        ShowMessageText(Literal::MismatchMessage);
        return;
    }

    if (subjectList) {
        for (int32_t k = 1; k <= subjects.count; ++k) {
            const char* replacement = replacementList ? TextAt(replacements.items, k, {RunMultiReplaceId, 12})
                                                      : replacements.single.Get();
            ReplaceInMainBox(TextAt(subjects.items, k, {RunMultiReplaceId, 13}), replacement);
            if (!ProcessEventsAndGoOn(k, subjects.count)) return;
        }
    } else {
        ReplaceInMainBox(subjects.single.Get(), replacements.single.Get());
    }

    LineArray = EmptyTextArray();
    SplitIntoLines();
    const LineChanges changes = WriteLinesBackComparedWith(UndoText.Get());
    ShowRunSummary(Literal::ReplaceSummary, changes.before, LineArray.Count(), changes.changed);
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

extern "C" HandlerResult RunMultiReplace(const uint32_t*, int32_t) {
    listsSaved = true;
    RunTool(MultiReplace);
    if (!listsSaved && !WindowClosed) TellListsNotSaved();
    return NoValue;
}

}  // namespace quillet::app
