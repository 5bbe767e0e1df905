#include "runtime/commands/file_search.h"

#include <windows.h>

#include "runtime/values/text.h"

namespace quillet {
namespace {

constexpr DWORD FilteredAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool Matches(const WIN32_FIND_DATAA& entry, uint32_t attributeMask, bool allEntries) {
    if (IsDotEntry(entry.cFileName)) return false;
    return allEntries || (entry.dwFileAttributes & FilteredAttributes & ~attributeMask) == 0;
}

}  // namespace

char* NextFoundFile(const char* pattern, uint32_t attributeMask, bool allEntries, void** searchHandle) {
    WIN32_FIND_DATAA entry;
    HANDLE search = *searchHandle;
    bool found;
    if (!IsEmptyText(pattern)) {
        CloseFileSearch(search);
        search = FindFirstFileA(pattern, &entry);
        found = search != INVALID_HANDLE_VALUE;
        if (!found) search = nullptr;
    } else {
        found = search != nullptr && FindNextFileA(search, &entry);
    }
    while (found && !Matches(entry, attributeMask, allEntries)) found = FindNextFileA(search, &entry);
    if (!found) {
        CloseFileSearch(search);
        *searchHandle = nullptr;
        return nullptr;
    }
    *searchHandle = search;
    return CopyText(entry.cFileName);
}

void CloseFileSearch(void* searchHandle) {
    if (searchHandle != nullptr) FindClose(searchHandle);
}

}  // namespace quillet
