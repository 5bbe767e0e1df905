// Reading and writing one key of a profile (ini) file through the platform's
// profile-file interface.
//
// A file that has only held characters code page 936 has stays GBK without a
// byte-order mark and goes through the ANSI calls, so older copies of the
// program and other tools read it as before. The ANSI calls turn any other
// character into '?', so writing one turns the file into UTF-16 with a
// byte-order mark, which the wide calls keep for good. A file with a mark, and
// any name or text holding such a character, goes through the wide calls.
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "runtime/commands/command_list.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet::commands {
namespace {

constexpr DWORD ValueBufferSize = 10240;
constexpr size_t LongestValue = ValueBufferSize - 1;

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

// Whether any of the texts holds a character code page 936 lacks: the ANSI
// calls cannot carry it.
bool HoldsFourByteCode(std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        const size_t size = text == nullptr ? 0 : std::strlen(text);
        for (size_t at = 0; at < size;) {
            const TextCharacter c = CharacterAt(text, size, at);
            if (c.bytes == 4) return true;
            at += c.bytes;
        }
    }
    return false;
}

// A wide copy of an optional text, and null for none, as the wide calls take it.
class WideText {
public:
    explicit WideText(const char* text) : given_(text != nullptr), wide_(WideFromText(text)) {}
    const wchar_t* Get() const { return given_ ? wide_.c_str() : nullptr; }

private:
    bool given_;
    std::wstring wide_;
};

// The file the profile calls open: they look for a name without a folder in
// the Windows folder.
std::wstring ProfileFile(const char* name) {
    const std::wstring wide = WideFromText(name);
    const bool bare = !wide.empty() && wide.find_first_of(L"\\/") == std::wstring::npos &&
                      !(wide.size() >= 2 && wide[1] == L':');
    if (!bare) return wide;
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L'\\' + wide;
}

// The platform call writes a read-only file when the process may bypass the
// attribute (an administrator, or Wine run by root); such a file stays as it is.
bool IsReadOnlyFile(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Whether the file begins with a byte-order mark: the profile calls then keep
// every character in it. Besides our UTF-16LE this takes the UTF-8 and
// UTF-16BE marks Wine keeps, which the GBK conversion below would garble.
bool HoldsAnyCharacter(const std::wstring& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    unsigned char head[3] = {};
    DWORD got = 0;
    ReadFile(handle, head, sizeof head, &got, nullptr);
    CloseHandle(handle);
    return (got >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) ||
           (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF);
}

// Rewrites a GBK file (or a missing one) as UTF-16LE with a byte-order mark,
// every line kept. Wine keeps a copy of a profile file and trusts it while the
// last-write time is unchanged, which a rewrite within one clock tick can
// leave so; the copy is dropped first, or the next write would go out as GBK.
bool TurnIntoUtf16(const std::wstring& file) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(handle, nullptr);
    std::string bytes(size == INVALID_FILE_SIZE ? 0 : size, '\0');
    DWORD got = 0;
    bool done = size != INVALID_FILE_SIZE && ReadFile(handle, bytes.data(), size, &got, nullptr) && got == size;
    if (done) {
        const std::wstring wide = L'\xFEFF' + WideFromText(bytes.data(), bytes.size());
        const DWORD wideSize = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
        DWORD written = 0;
        done = SetFilePointer(handle, 0, nullptr, FILE_BEGIN) == 0 &&
               WriteFile(handle, wide.data(), wideSize, &written, nullptr) && written == wideSize &&
               SetEndOfFile(handle);
    }
    CloseHandle(handle);
    return done;
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

    const std::wstring path = ProfileFile(file);
    if (!HoldsFourByteCode({file, section, key, defaultValue}) && !HoldsAnyCharacter(path)) {
        // The zeroed buffer matters: where a double-byte character would cross
        // the end, Wine leaves its bytes unwritten, and the value ends before it.
        char value[ValueBufferSize] = {};
        GetPrivateProfileStringA(section, key, defaultValue, value, ValueBufferSize, file);
        result->low = Word(CopyText(value));
        return;
    }
    // Every UTF-16 unit gives at least one byte, so this many units reach the
    // cut; the cut then drops a character crossing it, as the ANSI call does.
    std::wstring value(ValueBufferSize, L'\0');
    const DWORD units = GetPrivateProfileStringW(WideText(section).Get(), WideText(key).Get(),
                                                 WideText(defaultValue).Get(), value.data(), ValueBufferSize,
                                                 path.c_str());
    const std::string text = TextFromWide(value.data(), units);
    const size_t kept = CharacterBoundaryBefore(text.data(), text.size(), LongestValue);
    result->low = Word(CopyBytes(text.data(), static_cast<int32_t>(kept)));
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

    // Only a stored value needs the file to hold the characters; removing a key
    // or a section does not.
    const bool storesFourByteCode = key != nullptr && value != nullptr && HoldsFourByteCode({section, key, value});
    const bool unicodeFile = HoldsAnyCharacter(path);
    if (storesFourByteCode && !unicodeFile && !TurnIntoUtf16(path)) return;
    // The ANSI calls cannot reach a name holding such a character either; a GBK
    // file written through the wide calls stays GBK.
    const bool wide = unicodeFile || storesFourByteCode || HoldsFourByteCode({file, section, key});
    const bool written = wide ? WritePrivateProfileStringW(WideText(section).Get(), WideText(key).Get(),
                                                           WideText(value).Get(), path.c_str()) != FALSE
                              : WritePrivateProfileStringA(section, key, value, file) != FALSE;
    result->low = written ? 1u : 0u;
}

}  // namespace quillet::commands
