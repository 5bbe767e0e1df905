#include "runtime/commands/file_search.h"

#include <windows.h>

#include <string>

#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr DWORD FilteredAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool Matches(const WIN32_FIND_DATAW& entry, uint32_t attributeMask, bool allEntries) {
    if (IsDotEntry(entry.cFileName)) return false;
    return allEntries || (entry.dwFileAttributes & FilteredAttributes & ~attributeMask) == 0;
}

}  // namespace

char* NextFoundFile(const char* pattern, uint32_t attributeMask, bool allEntries, void** searchHandle) {
    WIN32_FIND_DATAW entry;
    HANDLE search = *searchHandle;
    bool found;
    if (!IsEmptyText(pattern)) {
        CloseFileSearch(search);
        search = FindFirstFileW(WideFromText(pattern).c_str(), &entry);
        found = search != INVALID_HANDLE_VALUE;
        if (!found) search = nullptr;
    } else {
        found = search != nullptr && FindNextFileW(search, &entry);
    }
    while (found && !Matches(entry, attributeMask, allEntries)) found = FindNextFileW(search, &entry);
    if (!found) {
        CloseFileSearch(search);
        *searchHandle = nullptr;
        return nullptr;
    }
    *searchHandle = search;
    // A name in any script comes back in the runtime's encoding, whole.
    const std::string name = TextFromWide(entry.cFileName);
    return CopyText(name.c_str());
}

void CloseFileSearch(void* searchHandle) {
    if (searchHandle != nullptr) FindClose(searchHandle);
}

}  // namespace quillet
