// Reading and writing one key of a profile (ini) file through the platform's
// profile-file interface.
#include <windows.h>

#include "runtime/commands/command_list.h"
#include "runtime/values/text.h"

namespace quillet {
namespace {

constexpr DWORD ValueBufferSize = 10240;

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

// The platform call writes a read-only file when the process may bypass the
// attribute (an administrator, or Wine run by root); such a file stays as it is.
bool IsReadOnlyFile(const char* file) {
    const DWORD attributes = GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
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

    char value[ValueBufferSize] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, ValueBufferSize, file);
    result->low = ReferenceWord(CopyText(value));
}

void WriteConfigItem(CommandArg* result, int32_t argCount, CommandArg* args) {
    const char* file = TextArgument(ArgumentAt(argCount, args, 0));
    const char* section = TextArgument(ArgumentAt(argCount, args, 1));
    const char* key = GivenTextOrNone(ArgumentAt(argCount, args, 2));
    const char* value = GivenTextOrNone(ArgumentAt(argCount, args, 3));
    const bool written = !IsReadOnlyFile(file) && WritePrivateProfileStringA(section, key, value, file) != FALSE;
    result->low = written ? 1u : 0u;
    result->high = 0;
}

}  // namespace quillet
