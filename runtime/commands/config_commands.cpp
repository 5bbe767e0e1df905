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

#include "runtime/commands/command_list.h"
#include "runtime/values/profile_text.h"
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

// A process that may bypass the attribute (an administrator, or Wine run by
// root) could open a read-only file for writing; such a file stays as it is.
bool IsReadOnlyFile(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The rest of an opened file, appended to *bytes; false when a read fails.
bool ReadWhole(HANDLE file, std::string* bytes) {
    char chunk[16384];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
        if (got == 0) return true;
        bytes->append(chunk, got);
    }
    return false;
}

// The file's bytes; none for a file that is not there or cannot be read.
std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    if (!ReadWhole(file, &bytes)) bytes.clear();
    CloseHandle(file);
    return bytes;
}

// A profile file held for one write: opened for reading and writing and
// shared with readers only, so that nobody writes between our read and our
// write; or, when there is no such file yet, created only if the write stores
// something. Usable() is false when it can be neither opened nor created.
class HeldProfile {
public:
    explicit HeldProfile(const std::wstring& path) : path_(path) {
        file_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) {
            usable_ = GetLastError() == ERROR_FILE_NOT_FOUND;
        } else {
            usable_ = ReadWhole(file_, &bytes_);
        }
    }
    ~HeldProfile() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    HeldProfile(const HeldProfile&) = delete;
    HeldProfile& operator=(const HeldProfile&) = delete;

    bool Usable() const { return usable_; }
    std::string& Bytes() { return bytes_; }

    // The file's whole content replaced by these bytes.
    bool Replace(const std::string& bytes) {
        if (file_ == INVALID_HANDLE_VALUE) {
            file_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file_ == INVALID_HANDLE_VALUE) return false;
        }
        DWORD written = 0;
        return SetFilePointer(file_, 0, nullptr, FILE_BEGIN) == 0 &&
               WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size() && SetEndOfFile(file_);
    }

private:
    std::wstring path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool usable_ = false;
    std::string bytes_;
};

// One write: no key removes the section, no value the key. A write that
// changes nothing leaves the file untouched and succeeds.
bool WriteProfile(const std::wstring& path, const char* section, const char* key, const char* value) {
    HeldProfile held(path);
    if (!held.Usable()) return false;
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
    return !changed || held.Replace(profile.Bytes());
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
    try {
        // The whole value, however long.
        if (!ProfileText(FileBytes(ProfileFile(file))).Find(section, key, &value))
            value = ProfileDefault(defaultValue);
    } catch (const std::bad_alloc&) {
        value = ProfileDefault(defaultValue);  // a file too large for the memory left reads as missing
    }
    result->low = Word(CopyBytes(value.data(), static_cast<int32_t>(value.size())));
}

void WriteConfigItem(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = 0;
    result->high = 0;
    const char* file = TextArgument(ArgumentAt(argCount, args, 0));
    const char* section = TextArgument(ArgumentAt(argCount, args, 1));
    const char* key = GivenTextOrNone(ArgumentAt(argCount, args, 2));
    const char* value = GivenTextOrNone(ArgumentAt(argCount, args, 3));
    const std::wstring path = ProfileFile(file);
    if (IsReadOnlyFile(path)) return;
    try {
        result->low = WriteProfile(path, section, key, value) ? 1u : 0u;
    } catch (const std::bad_alloc&) {
        // Not written: the file is left as it was.
    }
}

}  // namespace quillet::commands
