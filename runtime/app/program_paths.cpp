#include "runtime/app/program_paths.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "runtime/app/runtime_app.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// The whole path, however long: a cut path would send the program to a wrong
// folder; and read wide, as a folder's name may hold any character.
std::string ModuleFileName() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size() || path.size() >= 32768) return TextFromWide(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace

int32_t FindLastPathSeparator(const char* path) {
    int32_t last = -1;
    for (int32_t i = 0; path[i] != '\0'; ++i) {
        if (IsLeadByte(path[i])) {
            if (path[i + 1] == '\0') break;
            ++i;  // the trail byte may be 0x5C: it is not a separator
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last;
}

ModulePath SplitModulePath() {
    const std::string path = ModuleFileName();
    const int32_t separator = FindLastPathSeparator(path.c_str());
    if (separator < 0) return ModulePath{std::string(), path};
    const auto at = static_cast<size_t>(separator);
    return ModulePath{path.substr(0, at), path.substr(at + 1)};
}

void ReadCommandLineFiles() {
    std::vector<std::string>& files = App().commandLineFiles;
    files.clear();
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return;
    for (int k = 1; k < count; ++k) {
        const wchar_t* argument = arguments[k];
        if (argument[0] == L'\0' || argument[0] == L'-' || argument[0] == L'/') continue;
        std::vector<wchar_t> full(MAX_PATH);
        DWORD length = GetFullPathNameW(argument, static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length >= full.size()) {
            full.resize(length);
            length = GetFullPathNameW(argument, static_cast<DWORD>(full.size()), full.data(), nullptr);
        }
        if (length == 0 || length >= full.size()) continue;
        files.push_back(TextFromWide(full.data(), length));
    }
    LocalFree(arguments);
}

const char* CommandLineFileAt(int32_t index) {
    const std::vector<std::string>& files = App().commandLineFiles;
    return index >= 0 && static_cast<size_t>(index) < files.size() ? files[static_cast<size_t>(index)].c_str() : nullptr;
}

const char* ProgramDirectory() { return App().programDirectory.c_str(); }
const char* ProgramFileName() { return App().programFileName.c_str(); }

}  // namespace quillet
