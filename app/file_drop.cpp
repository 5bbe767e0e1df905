// A text file dropped on the main box replaces its text, as a paste would, and
// one undo brings the text from before the drop back, as after a tool run.
#include "app/constant_texts.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/unit_ids.h"
#include "runtime/commands/command_list.h"

namespace quillet::app {

using namespace commands;
using namespace compiled;

namespace {

Literal MessageFor(int32_t status) {
    switch (status) {
    case LoadTextFileStatus::NotText: return Literal::NotTextFileMessage;
    case LoadTextFileStatus::TooLarge: return Literal::FileTooLargeMessage;
    default: return Literal::UnreadableFileMessage;
    }
}

// The footer after a drop: how many characters of the file were damaged and
// now stand as U+FFFD, when any were; otherwise the version text, as between
// runs, since the last run's line no longer tells about the box's text.
void ShowReplacedInFooter(int32_t replaced) {
    if (replaced <= 0) {
        ShowVersionInFooter();
        return;
    }
    OwnedText count = CallText(ToText, IntArg(replaced));
    WriteText(MainWindow, Unit::AboutLabel, Property::LabelCaption,
              Concatenate({Text(Literal::ReplacedStart), count.Get(), Text(Literal::ReplacedEnd)}).Get());
}

}  // namespace

// The argument is the file's path (only the first of several dropped at once).
// Ignored while a tool runs: the run works on the box's lines and would write
// them back over the file's text. A file that is not loaded leaves the box and
// the undo text as they were.
extern "C" HandlerResult LoadDroppedFile(const uint32_t* args, int32_t count) {
    if (count < 1 || !RunMayStart()) return NoValue;
    const auto* path = reinterpret_cast<const char*>(static_cast<uintptr_t>(args[0]));
    OwnedText previous = ReadText(MainWindow, Unit::MainBox, Property::EditContent);
    const CommandArg loaded = Call(LoadTextFile, UnitArg(MainWindow, Unit::MainBox, UnitType::EditBox), TextArg(path));
    const auto status = static_cast<int32_t>(loaded.low);
    if (status != LoadTextFileStatus::Loaded) {
        ShowMessageText(MessageFor(status));
        return NoValue;
    }
    UndoText = std::move(previous);
    UndoSaved = true;
    BoxHoldsRunResult = true;  // a drop is undone as a run is, by Ctrl+Z too
    ShowReplacedInFooter(static_cast<int32_t>(loaded.high));
    return NoValue;
}

}  // namespace quillet::app
