#pragma once
// File search for CommandTable entries 0 and 1.
#include <cstdint>

namespace quillet {

// Starts a search for pattern, or continues the one held in *searchHandle when the
// pattern is empty. Gives the next matching name as a new text; at the end null,
// with the search closed and *searchHandle cleared.
//
// Which entries match: "." and ".." never; with allEntries every other entry;
// otherwise entries whose directory, hidden and system attributes all appear in
// attributeMask (so a mask of 0 gives plain files only).
char* NextFoundFile(const char* pattern, uint32_t attributeMask, bool allEntries, void** searchHandle);

void CloseFileSearch(void* searchHandle);

}  // namespace quillet
