#pragma once
// Where a program keeps its settings file. Beside the program is where older
// copies kept it, and where a copy carried on a stick keeps it; but a program
// installed under Program Files cannot write there (its manifest turns off the
// file virtualisation that once redirected such writes), so it keeps the file
// in the user's application data instead.
#include <string>

#include "runtime/values/safe_write.h"

namespace quillet::commands {

// The settings file called `name`: beside the program (programFolder) when a
// file of that name is there and the folder takes a new file; otherwise
// appData\folder\name, whose folder is made when the file is first written.
// Without an application data folder, beside the program whatever it takes.
std::wstring ChooseSettingsFile(const std::wstring& programFolder, const std::wstring& appData,
                                const std::wstring& folder, const std::wstring& name, const FileSystemCalls& calls);

// The calls the configuration commands make on their files, for tests that
// make one fail; null: the system's again.
void UseConfigFileCalls(const FileSystemCalls* calls);

}  // namespace quillet::commands
