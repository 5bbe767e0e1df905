// Calls of each kind scripts/check-wide refuses, through the system's text
// macros: built as it is every call is narrow, built with UNICODE and
// _UNICODE every call is its wide counterpart, which the check lets pass.
// The two objects its self-test reads; never linked.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <tchar.h>

#include <fstream>

int Calls(const TCHAR* path, TCHAR* out) {
    struct _stat status;  // narrow, _tstat is _stat32 in this C runtime
    std::ifstream in(path);
    FILE* file = _tfopen(path, _T("rb"));
    return MessageBox(nullptr, path, path, 0) + wsprintf(out, _T("%s"), path) + _topen(path, _O_RDONLY) +
           _tstat(path, &status) + (file != nullptr) + in.good();
}
