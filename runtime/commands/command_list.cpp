#include "runtime/commands/command_list.h"

namespace quillet::commands {

// In the order of the declarations: the unit library's command numbers.
const CommandFunction RuntimeCommands[RuntimeCommandCount] = {
    TextLength,      // 0
    LeftText,        // 1
    RightText,       // 2
    CharFromCode,    // 3
    FindText,        // 4
    ReplaceSubtext,  // 5
    SplitText,       // 6
    TrimBothEnds,    // 7
    RemoveAllSpaces, // 8
    ReadConfigItem,  // 9
    WriteConfigItem, // 10
    ToInteger,       // 11
    ToText,          // 12
    ShowMessage,     // 13
    ProcessEvents,   // 14
    AppendText,      // 15
    RunDirectory,    // 16
    FocusUnit,       // 17
    ReportProgress,  // 18
    LoadTextFile,    // 19
    OutputPending,   // 20
    KeepTextOnCrash, // 21
    BoxFileFact,     // 22
    SetBoxFile,      // 23
    BoxFileName,     // 24
    SaveBoxFile,     // 25
    ChooseFile,      // 26
    CommandLineFile, // 27
    SettingsFile,    // 28
    ConfigFileState, // 29
};

}  // namespace quillet::commands
