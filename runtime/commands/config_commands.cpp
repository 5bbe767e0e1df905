// Reading and writing one key of a profile (ini) file, with a reader and
// writer of our own (runtime/values/profile_text.h) that keeps the platform's
// lookup rules. The platform's profile calls read a file without a byte-order
// mark in the system's ANSI code page, so GBK lists came back garbled on a
// Japanese, Western or UTF-8 system and the next run saved the garbage.
//
// The file keeps its encoding: GBK stays GBK byte for byte where nothing
// changed, so older copies of the program and other tools read it as before;
// UTF-8 (with or without its mark) and UTF-16 stay as they are. A GBK file
// turns into UTF-16 with a byte-order mark the first time it must store a
// character GBK lacks, and stays so. Only wide calls reach the system.
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <new>
#include <string>

#include "runtime/app/program_paths.h"
#include "runtime/commands/command_list.h"
#include "runtime/commands/settings_file.h"
#include "runtime/errors/crash_report.h"
#include "runtime/values/profile_text.h"
#include "runtime/values/safe_write.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet::commands {
namespace {

// Reading ignores leading spaces, tabs, line breaks and other control bytes
// before a name; trailing bytes are kept.
const char* WithoutLeadingControlBytes(const char* name) {
    const auto* p = reinterpret_cast<const unsigned char*>(name);
    while (*p >= 0x01 && *p <= 0x20) ++p;
    return reinterpret_cast<const char*>(p);
}

// The optional arguments: a text when the caller gave one (even an empty one),
// null when it was left out.
const char* GivenTextOrNone(const CommandArg& arg) { return IsOmitted(arg) ? nullptr : TextArgument(arg); }

// Whether any of the texts holds a character code page 936 lacks: a GBK file
// cannot store it.
bool HoldsFourByteCode(std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        const size_t size = std::strlen(text);
        for (size_t at = 0; at < size;) {
            const TextCharacter c = CharacterAt(text, size, at);
            if (c.bytes == 4) return true;
            at += c.bytes;
        }
    }
    return false;
}

// The file as the platform's profile calls name it: a name without a folder
// lies in the Windows folder.
std::wstring ProfileFile(const char* name) {
    const std::wstring wide = WideFromText(name);
    const bool bare = !wide.empty() && wide.find_first_of(L"\\/") == std::wstring::npos &&
                      !(wide.size() >= 2 && wide[1] == L':');
    if (!bare) return wide;
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L'\\' + wide;
}

const FileSystemCalls* configCalls = nullptr;

const FileSystemCalls& ConfigCalls() { return configCalls != nullptr ? *configCalls : SystemFileCalls(); }

// The rest of an opened file, appended to *bytes; false when a read fails.
bool ReadWhole(HANDLE file, std::string* bytes) {
    char chunk[16384];
    DWORD got = 0;
    while (ConfigCalls().readFile(file, chunk, sizeof chunk, &got, nullptr)) {
        if (got == 0) return true;
        bytes->append(chunk, got);
    }
    return false;
}

// A profile file opened for reading, and what reading it found (a
// SettingsFileState). A file that is not there, or whose folder is not, is
// Missing; a file beyond LargestSettingsFile is not read. Memory may run out
// while reading: the caller holds an AllocationMayFail, and the handle is
// closed all the same.
class OpenedProfile {
public:
    OpenedProfile(const std::wstring& path, DWORD sharing) {
        file_.handle = ConfigCalls().createFile(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file_.handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            state_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SettingsFileState::Missing
                                                                                    : SettingsFileState::Unreadable;
            return;
        }
        Read();
    }
    OpenedProfile(const OpenedProfile&) = delete;
    OpenedProfile& operator=(const OpenedProfile&) = delete;

    int32_t State() const { return state_; }
    std::string& Bytes() { return bytes_; }

private:
    void Read() {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_.handle, &size)) return;
        if (size.QuadPart > LargestSettingsFile) {
            state_ = SettingsFileState::TooLarge;
            return;
        }
        bytes_.reserve(static_cast<size_t>(size.QuadPart));
        if (ReadWhole(file_.handle, &bytes_)) state_ = SettingsFileState::Readable;
    }

    struct ClosedWithIt {
        HANDLE handle = INVALID_HANDLE_VALUE;
        ~ClosedWithIt() {
            if (handle != INVALID_HANDLE_VALUE) ConfigCalls().closeHandle(handle);
        }
    } file_;
    int32_t state_ = SettingsFileState::Unreadable;
    std::string bytes_;
};

// Readers share the file with everyone: an editor may hold it open.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A write holds the file from its read until its replacement against other
// writers, so that nobody's change falls between the two; ReplaceFileW still
// moves it, since deletion is shared (measured under Wine 8: another writer's
// open fails with 32, the replacement succeeds).
constexpr DWORD ShareWithReplacement = FILE_SHARE_READ | FILE_SHARE_DELETE;

// The folder a file lies in: the path up to its last backslash.
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// One write: no key removes the section, no value the key. A write that
// changes nothing leaves the file untouched and succeeds. The new bytes go
// through the safe write: a failure at any step leaves the file as it was.
bool WriteProfile(const std::wstring& path, const char* section, const char* key, const char* value,
                  bool makeFolder) {
    OpenedProfile held(path, ShareWithReplacement);
    if (held.State() != SettingsFileState::Readable && held.State() != SettingsFileState::Missing) return false;
    const bool existed = held.State() == SettingsFileState::Readable;
    ProfileText profile(std::move(held.Bytes()));
    bool changed = false;
    if (key == nullptr) {
        changed = profile.RemoveSection(section);
    } else if (value == nullptr) {
        changed = profile.RemoveKey(section, key);
    } else {
        if (profile.Kind() == TextFileKind::Gbk && HoldsFourByteCode({section, key, value})) {
            profile.TurnIntoUtf16();
            changed = true;
        }
        changed = profile.Set(section, key, value) || changed;
    }
    if (!changed) return true;
    if (makeFolder && !existed) CreateDirectoryW(FolderOf(path).c_str(), nullptr);
    const std::string& bytes = profile.Bytes();
    const SafeWriteRequest request{path.c_str(), bytes.data(), bytes.size(), nullptr, !existed, &ConfigCalls()};
    return WriteFileSafely(request).failure == WriteFailure::None;
}

// What reading the file finds now, its parse included: memory may run out for
// a file of very many short lines.
int32_t StateOf(const std::wstring& path) {
    const AllocationMayFail mayFail;  // a file too large for the memory left cannot be read
    try {
        OpenedProfile opened(path, ShareAll);
        if (opened.State() == SettingsFileState::Readable) ProfileText parsed(std::move(opened.Bytes()));
        return opened.State();
    } catch (const std::bad_alloc&) {
        return SettingsFileState::Unreadable;
    }
}

// %APPDATA%: empty when the process has none.
std::wstring ApplicationDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD units = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
    return units > 0 && units < MAX_PATH ? std::wstring(folder, units) : std::wstring();
}

}  // namespace

void ReadConfigItem(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = 0;
    result->high = 0;
    const char* file = WithoutLeadingControlBytes(TextArgument(ArgumentAt(argCount, args, 0)));
    const char* section = WithoutLeadingControlBytes(TextArgument(ArgumentAt(argCount, args, 1)));
    const char* key = WithoutLeadingControlBytes(TextArgument(ArgumentAt(argCount, args, 2)));
    const CommandArg& defaultArg = ArgumentAt(argCount, args, 3);
    const char* defaultValue = IsOmitted(defaultArg) ? "" : TextArgument(defaultArg);
    if (IsEmptyText(file) || IsEmptyText(section) || IsEmptyText(key)) return;

    std::string value;
    bool found = false;
    {
        const AllocationMayFail mayFail;  // a file too large for the memory left reads as missing
        try {
            // The whole value, however long.
            OpenedProfile opened(ProfileFile(file), ShareAll);
            found = opened.State() == SettingsFileState::Readable &&
                    ProfileText(std::move(opened.Bytes())).Find(section, key, &value);
        } catch (const std::bad_alloc&) {
            found = false;
        }
    }
    if (!found) value = ProfileDefault(defaultValue);
    result->low = Word(CopyBytes(value.data(), static_cast<int32_t>(value.size())));
}

void WriteConfigItem(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = 0;
    result->high = 0;
    const char* file = TextArgument(ArgumentAt(argCount, args, 0));
    const char* section = TextArgument(ArgumentAt(argCount, args, 1));
    const char* key = GivenTextOrNone(ArgumentAt(argCount, args, 2));
    const char* value = GivenTextOrNone(ArgumentAt(argCount, args, 3));
    const CommandArg& makeFolder = ArgumentAt(argCount, args, 4);
    const std::wstring path = ProfileFile(file);
    const AllocationMayFail mayFail;  // a file too large for the memory left is not written
    try {
        result->low = WriteProfile(path, section, key, value, !IsOmitted(makeFolder) && makeFolder.low != 0) ? 1u : 0u;
    } catch (const std::bad_alloc&) {
        // Not written: the file is left as it was.
    }
}

std::wstring ChooseSettingsFile(const std::wstring& programFolder, const std::wstring& appData,
                                const std::wstring& folder, const std::wstring& name, const FileSystemCalls& calls) {
    const std::wstring beside = programFolder + L'\\' + name;
    if (appData.empty()) return beside;
    const DWORD attributes = calls.getFileAttributes(beside.c_str());
    const bool fileBeside = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (fileBeside && FolderTakesNewFile(programFolder.c_str(), &calls)) return beside;
    return appData + L'\\' + folder + L'\\' + name;
}

void UseConfigFileCalls(const FileSystemCalls* calls) { configCalls = calls; }

// Chosen at the first call and kept: a session reads and writes one file, even
// when a file appears beside the program meanwhile or its folder changes.
void SettingsFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    static std::wstring path;
    if (path.empty()) {
        const std::wstring name = WideFromText(TextArgument(ArgumentAt(argCount, args, 0)));
        const std::wstring folder = WideFromText(TextArgument(ArgumentAt(argCount, args, 1)));
        path = ChooseSettingsFile(WideFromText(ProgramDirectory()), ApplicationDataFolder(), folder, name,
                                  ConfigCalls());
    }
    const std::string text = TextFromWide(path.c_str(), path.size());
    result->low = Word(CopyBytes(text.data(), static_cast<int32_t>(text.size())));
    result->high = 0;
}

void ConfigFileState(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = static_cast<uint32_t>(StateOf(ProfileFile(TextArgument(ArgumentAt(argCount, args, 0)))));
    result->high = 0;
}

}  // namespace quillet::commands
