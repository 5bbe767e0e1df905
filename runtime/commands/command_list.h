#pragma once
// The runtime commands this program calls, in the order of the unit library's
// command table (its 19 command entry points).
#include "runtime/commands/command_arg.h"

namespace quillet {

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
// Configuration files.
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

constexpr int32_t RuntimeCommandCount = 19;
extern const CommandFunction RuntimeCommands[RuntimeCommandCount];

}  // namespace quillet
