#pragma once
// The runtime commands this program calls, in the order of the unit library's
// command table (its 20 command entry points).
#include "runtime/values/command_arg.h"

namespace quillet::commands {

// Text commands.
void TextLength(CommandArg* result, int32_t argCount, CommandArg* args);
void LeftText(CommandArg* result, int32_t argCount, CommandArg* args);
void RightText(CommandArg* result, int32_t argCount, CommandArg* args);
void CharFromCode(CommandArg* result, int32_t argCount, CommandArg* args);
void FindText(CommandArg* result, int32_t argCount, CommandArg* args);
void ReplaceSubtext(CommandArg* result, int32_t argCount, CommandArg* args);
void SplitText(CommandArg* result, int32_t argCount, CommandArg* args);
void TrimBothEnds(CommandArg* result, int32_t argCount, CommandArg* args);
void RemoveAllSpaces(CommandArg* result, int32_t argCount, CommandArg* args);
// Configuration files. WriteConfigItem's optional fifth argument (bool) makes
// the file's folder when it is missing (one level: the folder above must exist).
void ReadConfigItem(CommandArg* result, int32_t argCount, CommandArg* args);
void WriteConfigItem(CommandArg* result, int32_t argCount, CommandArg* args);
// Conversions, message box, events and edit boxes, the run directory.
void ToInteger(CommandArg* result, int32_t argCount, CommandArg* args);
void ToText(CommandArg* result, int32_t argCount, CommandArg* args);
void ShowMessage(CommandArg* result, int32_t argCount, CommandArg* args);
void ProcessEvents(CommandArg* result, int32_t argCount, CommandArg* args);
void AppendText(CommandArg* result, int32_t argCount, CommandArg* args);
void RunDirectory(CommandArg* result, int32_t argCount, CommandArg* args);
// Any unit.
void FocusUnit(CommandArg* result, int32_t argCount, CommandArg* args);
// A long run's progress.
void ReportProgress(CommandArg* result, int32_t argCount, CommandArg* args);

// Files: a text file's whole text into an edit box (unit, path) → a LoadTextFileStatus;
// the result's high word: how many U+FFFD the loaded text has for bytes that
// were no character (a damaged UTF-8 file read as UTF-8, text_file.h). The
// box then holds that file (box_files.h): a save writes it back in its form.
void LoadTextFile(CommandArg* result, int32_t argCount, CommandArg* args);

namespace LoadTextFileStatus {
constexpr int32_t Loaded = 0;
constexpr int32_t Unreadable = 1;  // missing, a folder, locked against reading, or a read that failed
constexpr int32_t NotText = 2;     // holds a 0 byte (text_file.h)
constexpr int32_t TooLarge = 3;    // the file or its text beyond LargestTextFile, or no memory for it now
constexpr int32_t NotEditBox = 4;  // the unit is no edit box
}  // namespace LoadTextFileStatus

// Whether a run's output is still on its way into a window (bool): the run is
// under way, though its handler has returned.
void OutputPending(CommandArg* result, int32_t argCount, CommandArg* args);
// A text variable of the program (a reference to it, then a title) whose text
// is saved, with the edit boxes' texts, when a fatal error or a crash ends the
// process (runtime/units/text_rescue.h).
void KeepTextOnCrash(CommandArg* result, int32_t argCount, CommandArg* args);

// What an edit box knows of the file it holds (unit, FileFact) → int.
void BoxFileFact(CommandArg* result, int32_t argCount, CommandArg* args);
namespace FileFact {
constexpr int32_t Number = 0;        // the file's number in this session; 0: the box holds no file
constexpr int32_t Differs = 1;       // 1 while the box's text differs from what was last read or saved
constexpr int32_t UnknownBytes = 2;  // GBK: places the box shows as '?' that were no character in the file
constexpr int32_t Encoding = 3;      // a FileEncoding; for a box without a file, the one its text would take
}  // namespace FileFact
// The file an edit box holds (unit, number; 0: none), as BoxFileFact gave its
// number: what undo brings back along with the text.
void SetBoxFile(CommandArg* result, int32_t argCount, CommandArg* args);
// The path of the file an edit box holds (unit, bool: the name alone) → text; empty for none.
void BoxFileName(CommandArg* result, int32_t argCount, CommandArg* args);

// Writes an edit box's text to the file it holds, in that file's form, or to
// another (unit, SaveFlags, path, FileEncoding, reference to a text, reference
// to an int) → a SaveBoxFileStatus. An empty or omitted path is the box's own
// file; an omitted encoding (or -1) is that file's, or for a text without a
// file the new text's form (text_file.h). The two references tell more for
// some answers (below). The box then holds the file written.
void SaveBoxFile(CommandArg* result, int32_t argCount, CommandArg* args);
namespace SaveFlags {
constexpr int32_t OverwriteChanged = 1;   // write although another program changed the file since
constexpr int32_t AcceptUnknownBytes = 2; // the user knows that bytes that are no character go back as they are
}  // namespace SaveFlags
namespace SaveBoxFileStatus {
constexpr int32_t Saved = 0;
constexpr int32_t Unchanged = 1;         // the file already holds exactly these bytes: nothing written
constexpr int32_t NoFile = 2;            // no path given and the box holds no file
constexpr int32_t MissingCharacter = 3;  // the encoding lacks a character: the text reference gets it, the int its line
constexpr int32_t ChangedOnDisk = 4;     // another program changed the file since it was read or saved
constexpr int32_t UnknownBytes = 5;      // GBK bytes that are no character, not yet accepted: the int gets how many
constexpr int32_t Failed = 6;            // not written: the text reference gets the cause, the int the system's error
constexpr int32_t NotEditBox = 7;
}  // namespace SaveBoxFileStatus
// The encodings a file is read and written in, as programs number them.
namespace FileEncoding {
constexpr int32_t Gbk = 0;
constexpr int32_t Gb18030 = 1;
constexpr int32_t Utf8 = 2;
constexpr int32_t Utf8Mark = 3;
constexpr int32_t Utf16Le = 4;
constexpr int32_t Utf16Be = 5;
constexpr int32_t Count = 6;
}  // namespace FileEncoding

// The system's dialog for a file to open or to save (owner window, bool: save,
// filter "Name|pattern|Name|pattern", path to start from, reference to an int:
// the filter chosen, from 0, in and out) → the full path; empty when cancelled.
void ChooseFile(CommandArg* result, int32_t argCount, CommandArg* args);

// The n-th file named on the command line (n from 0; arguments that begin
// with '-' or '/' are options, not files), as a full path against the folder
// the program was started in → text; empty past the last.
void CommandLineFile(CommandArg* result, int32_t argCount, CommandArg* args);

// The largest file, and the largest decoded text, LoadTextFile takes: what a
// 32-bit process holds in its box together with the undo copy and a tool run
// over it, with room to spare. bench/file_load.sh measures it: a run takes
// 7.5 to 13 times the text in committed memory, and at 120 MB one numbering
// run left 8 MB of free address range (README, Benchmarks).
constexpr int64_t LargestTextFile = 32 << 20;

// The settings file this program uses (file name, folder name) → its path: beside
// the program, or in the user's application data (settings_file.h), chosen at
// the first call and the same for the rest of the process.
void SettingsFile(CommandArg* result, int32_t argCount, CommandArg* args);
// What reading a configuration file finds now (file name) → a SettingsFileState.
void ConfigFileState(CommandArg* result, int32_t argCount, CommandArg* args);

namespace SettingsFileState {
constexpr int32_t Readable = 0;
constexpr int32_t Missing = 1;     // no file yet (nor, maybe, its folder)
constexpr int32_t Unreadable = 2;  // there, but it cannot be opened or read: held by another program, no
                                   // permission, a folder of that name, or no memory to read it now
constexpr int32_t TooLarge = 3;    // beyond LargestSettingsFile
}  // namespace SettingsFileState

// A settings file beyond this is neither read nor written by the configuration
// commands: editing a file of short lines takes some seventy times its size in
// memory, which a 32-bit process holding a large text may not have. A list of
// ten thousand words takes about 100 KB.
constexpr int64_t LargestSettingsFile = 16 << 20;

constexpr int32_t RuntimeCommandCount = 30;
extern const CommandFunction RuntimeCommands[RuntimeCommandCount];

}  // namespace quillet::commands
