// Files in and out of the main box. Three ways in take one road (a dropped
// file, 打开 or Ctrl+O, a file named on the command line): the text replaces
// the box's, and one undo brings back the text from before it together with
// the file it belonged to. 保存 (Ctrl+S) writes the box back into its file in
// the file's own form, 另存为 (Ctrl+Shift+S) anywhere in any encoding; the
// runtime's save never truncates a file and keeps the first version it
// replaces beside it. The title names the file, marked while the box differs.
#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace commands;
using namespace compiled;

namespace {

constexpr int32_t WindowCaption = 8;  // the window's Caption property
// Message box styles and the answers ShowMessage gives.
constexpr int32_t YesNo = 0x04 | 0x30;        // MB_YESNO, MB_ICONWARNING
constexpr int32_t YesNoCancel = 0x03 | 0x20;  // MB_YESNOCANCEL, MB_ICONQUESTION
constexpr int32_t Warning = 0x30;
constexpr int32_t AnsweredYes = 5;
constexpr int32_t AnsweredNo = 6;
// A key handler's value 0, and a close handler's: the window stays.
constexpr HandlerResult Refused = {1, 0, 0};

CommandArg MainBoxArg() { return UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox); }
CommandArg WindowArg() { return UnitArg(MainWindow, 0, UnitType::Window); }

int32_t MainBoxFact(int32_t fact) { return CallInt(BoxFileFact, MainBoxArg(), IntArg(fact)); }
OwnedText FileName(bool alone) { return CallText(BoxFileName, MainBoxArg(), BoolArg(alone)); }

int32_t Ask(std::initializer_list<const char*> pieces, int32_t style) {
    return CallInt(ShowMessage, TextArg(Concatenate(pieces).Get()), IntArg(style));
}
void Tell(std::initializer_list<const char*> pieces) { Ask(pieces, Warning); }

OwnedText Number(int32_t value) { return CallText(ToText, IntArg(value)); }

void ShowInFooter(std::initializer_list<const char*> pieces) {
    WriteText(MainWindow, Unit::AboutLabel, Property::LabelCaption, Concatenate(pieces).Get());
}

Literal MessageFor(int32_t status) {
    switch (status) {
    case LoadTextFileStatus::NotText: return Literal::NotTextFileMessage;
    case LoadTextFileStatus::TooLarge: return Literal::FileTooLargeMessage;
    default: return Literal::UnreadableFileMessage;
    }
}

// The footer after a load: how many places of the file were no character,
// when any were (a damaged UTF-8 file has U+FFFD there, a GBK file '?');
// otherwise the version text, as between runs.
void ShowLoadedInFooter(int32_t replaced) {
    const int32_t unknown = MainBoxFact(FileFact::UnknownBytes);
    if (replaced > 0)
        ShowInFooter({Text(Literal::ReplacedStart), Number(replaced).Get(), Text(Literal::ReplacedEnd)});
    else if (unknown > 0)
        ShowInFooter({Text(Literal::ReplacedStart), Number(unknown).Get(), Text(Literal::UnknownBytesEnd)});
    else
        ShowVersionInFooter();
}

// The title is looked at again at the next idle time.
bool titleStale = true;
int32_t titleFile = 0;        // the file the title names; 0: none
int32_t titleDiffers = 0;     // whether it shows the mark

// What a save needs to know before it starts: where, and in which encoding.
struct SaveTarget {
    OwnedText path;         // empty: the box's own file
    int32_t encoding = -1;  // -1: the file's own
};

// The save dialog, the box's own file and encoding chosen at first (a text
// without a file: the encoding a new text takes). False when cancelled.
bool ChooseSaveTarget(SaveTarget* target) {
    int32_t encoding = MainBoxFact(FileFact::Encoding);
    target->path = CallText(ChooseFile, WindowArg(), BoolArg(true), TextArg(Text(Literal::SaveFilter)),
                            TextArg(FileName(false).Get()), ReferenceArg(&encoding));
    target->encoding = encoding;
    return !target->path.IsEmpty();
}

// The question when the file's encoding lacks a character of the text; false: not saved.
bool ChooseEncodingFor(const char* character, int32_t line, int32_t* encoding) {
    const int32_t answer = Ask({Text(Literal::MissingCharacterStart), Number(line).Get(),
                                Text(Literal::MissingCharacterMiddle), character, Text(Literal::MissingCharacterEnd)},
                               YesNoCancel);
    if (answer != AnsweredYes && answer != AnsweredNo) return false;
    *encoding = answer == AnsweredYes ? FileEncoding::Gb18030 : FileEncoding::Utf8;
    return true;
}

// The box's text into its file, or where `target` says, asking what the
// runtime cannot decide alone. True when the file holds the box's text
// afterwards.
bool SaveMainBox(SaveTarget target) {
    int32_t flags = 0;
    for (;;) {
        OwnedText detail;
        int32_t number = 0;
        const int32_t status = CallInt(SaveBoxFile, MainBoxArg(), IntArg(flags), TextArg(target.path.Get()),
                                       target.encoding >= 0 ? IntArg(target.encoding) : Omitted,
                                       ReferenceArg(detail.Variable()), ReferenceArg(&number));
        switch (status) {
        case SaveBoxFileStatus::Saved:
        case SaveBoxFileStatus::Unchanged:
            titleStale = true;
            ShowInFooter({Text(status == SaveBoxFileStatus::Saved ? Literal::SavedStart : Literal::UnchangedStart),
                          FileName(true).Get()});
            return true;
        case SaveBoxFileStatus::NoFile:
            if (!ChooseSaveTarget(&target)) return false;
            continue;
        case SaveBoxFileStatus::MissingCharacter:
            if (!ChooseEncodingFor(detail.Get(), number, &target.encoding)) return false;
            continue;
        case SaveBoxFileStatus::ChangedOnDisk:
            if (Ask({Text(Literal::ChangedOnDiskStart), FileName(false).Get(), Text(Literal::ChangedOnDiskEnd)},
                    YesNo) != AnsweredYes)
                return false;
            flags |= SaveFlags::OverwriteChanged;
            continue;
        case SaveBoxFileStatus::UnknownBytes:
            if (Ask({Text(Literal::LossBeforeSaveStart), Number(number).Get(), Text(Literal::LossBeforeSaveEnd)},
                    YesNo) != AnsweredYes)
                return false;
            flags |= SaveFlags::AcceptUnknownBytes;
            continue;
        case SaveBoxFileStatus::Failed: {
            OwnedText where = target.path.IsEmpty() ? FileName(false) : Concatenate({target.path.Get()});
            Tell({Text(Literal::SaveFailedStart), where.Get(), Text(Literal::SaveFailedMiddle), detail.Get(),
                  Text(Literal::SaveFailedEnd)});
            return false;
        }
        default: return false;
        }
    }
}

}  // namespace

// Ignored while a tool runs: the run works on the box's lines and would write
// them back over the file's text. A file that is not loaded leaves the box,
// its file and the undo text as they were.
void LoadFile(const char* path) {
    if (!RunMayStart() || CompareText(path, Text(Literal::Empty)) == 0) return;
    OwnedText previous = ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    const int32_t previousFile = MainBoxFact(FileFact::Number);
    const CommandArg loaded = Call(LoadTextFile, MainBoxArg(), TextArg(path));
    const auto status = static_cast<int32_t>(loaded.low);
    if (status != LoadTextFileStatus::Loaded) {
        ShowMessageText(MessageFor(status));
        return;
    }
    UndoText = std::move(previous);
    UndoFile = previousFile;
    UndoSaved = true;
    BoxHoldsRunResult = true;  // a load is undone as a run is, by Ctrl+Z too
    titleStale = true;
    ShowLoadedInFooter(static_cast<int32_t>(loaded.high));
}

void OpenFileByDialog() {
    if (!RunMayStart()) return;
    int32_t filter = 0;
    OwnedText path = CallText(ChooseFile, WindowArg(), BoolArg(false), TextArg(Text(Literal::OpenFilter)),
                              TextArg(FileName(false).Get()), ReferenceArg(&filter));
    if (!path.IsEmpty()) LoadFile(path.Get());
}

void SaveFile(bool choosePath) {
    if (!RunMayStart()) return;
    SaveTarget target;
    if (choosePath && !ChooseSaveTarget(&target)) return;
    SaveMainBox(std::move(target));
}

void OpenCommandLineFile() { LoadFile(CallText(CommandLineFile, IntArg(0)).Get()); }

void NoteFileChanged() { titleStale = true; }

// The argument of a drop is the file's path (only the first of several dropped at once).
extern "C" HandlerResult LoadDroppedFile(const uint32_t* args, int32_t count) {
    if (count >= 1) LoadFile(reinterpret_cast<const char*>(static_cast<uintptr_t>(args[0])));
    return NoValue;
}

extern "C" HandlerResult OpenFileLabel(const uint32_t*, int32_t) {
    OpenFileByDialog();
    return NoValue;
}
extern "C" HandlerResult SaveFileLabel(const uint32_t*, int32_t) {
    SaveFile(false);
    return NoValue;
}
extern "C" HandlerResult SaveFileAsLabel(const uint32_t*, int32_t) {
    SaveFile(true);
    return NoValue;
}

// At idle time, never inside a run: the comparison reads the box only when it
// changed, and the title is written only when what it says changes. A run's
// progress follows whatever the title says.
extern "C" HandlerResult UpdateTitle(const uint32_t*, int32_t) {
    if (!RunMayStart()) return NoValue;
    const int32_t file = MainBoxFact(FileFact::Number);
    const int32_t differs = file != 0 ? MainBoxFact(FileFact::Differs) : 0;
    if (!titleStale && file == titleFile && differs == titleDiffers) return NoValue;
    titleStale = false;
    titleFile = file;
    titleDiffers = differs;
    OwnedText caption = file == 0 ? Concatenate({Text(Literal::WindowTitle)})
                                  : Concatenate({Text(Literal::WindowTitle), Text(Literal::TitleFileSeparator),
                                                 Text(differs != 0 ? Literal::UnsavedMark : Literal::Empty),
                                                 FileName(true).Get()});
    WriteText(MainWindow, WindowRecord, WindowCaption, caption.Get());
    return NoValue;
}

// Closing with unsaved changes to an open file asks first; without a file,
// and while a tool runs (which the close stops), it closes as it always has.
extern "C" HandlerResult AskBeforeClosing(const uint32_t*, int32_t) {
    if (!RunMayStart() || MainBoxFact(FileFact::Number) == 0 || MainBoxFact(FileFact::Differs) == 0)
        return NoValue;
    const int32_t answer = Ask({Text(Literal::CloseQuestionStart), FileName(true).Get(),
                                Text(Literal::CloseQuestionEnd)}, YesNoCancel);
    if (answer == AnsweredNo) return NoValue;
    if (answer == AnsweredYes && SaveMainBox(SaveTarget{})) return NoValue;
    return Refused;
}

}  // namespace quillet::app
