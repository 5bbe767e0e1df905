// Calls of each kind scripts/check-wide refuses, or, built with WIDE_CALLS,
// their wide counterparts, which it lets pass: the objects its self-test
// reads. Built, never linked.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#ifndef WIDE_CALLS
int Calls(const char* path, char* out) {
    struct _stat status;  // _stat is _stat32 in this C runtime
    std::ifstream in(path);
    std::ofstream copy{std::string(path)};
    FILE* file = std::fopen(path, "rb");
    return MessageBoxA(nullptr, path, path, 0) + wsprintfA(out, "%s", path) + _open(path, _O_RDONLY) +
           _stat(path, &status) + (file != nullptr) + in.good() + copy.good();
}
#else
int Calls(const wchar_t* path, wchar_t* out) {
    struct _stat status;
    std::ifstream in(path);
    FILE* file = _wfopen(path, L"rb");
    return MessageBoxW(nullptr, path, path, 0) + wsprintfW(out, L"%s", path) + _wopen(path, _O_RDONLY) +
           _wstat(path, &status) + (file != nullptr) + in.good();
}
#endif
