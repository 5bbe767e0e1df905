#pragma once
// Files dropped on a window as the shell drops them, and the files themselves:
// written under wide names (a name may hold characters GBK lacks), in the
// encodings a text file comes in, or made large without writing their bytes.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temporary_folder.h"

// A WM_DROPFILES posted to the window, carrying the paths in a DROPFILES block
// of wide names; the receiver frees the block (DragFinish). A drop that could
// not be posted fails the test (the block is freed here then), and gives false.
inline bool PostDroppedFiles(HWND target, const std::vector<std::wstring>& paths) {
    size_t units = 1;  // the empty name that ends the list
    for (const std::wstring& path : paths) units += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
    EXPECT_NE(block, nullptr) << "no memory for the drop";
    if (block == nullptr) return false;
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    auto* at = reinterpret_cast<wchar_t*>(files + 1);
    for (const std::wstring& path : paths) {
        path.copy(at, path.size());
        at += path.size() + 1;  // the block is zeroed: each name is ended already
    }
    GlobalUnlock(block);
    const bool posted = PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0) != FALSE;
    EXPECT_TRUE(posted) << "the drop could not be posted";
    if (!posted) GlobalFree(block);
    return posted;
}

// A folder's path (ANSI, as TemporaryFolder gives it) followed by a wide file name.
inline std::wstring WidePath(const std::string& folder, const std::wstring& name) {
    std::wstring path(folder.size() + 1, L'\0');
    path.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), path.data(),
                            static_cast<int>(path.size()))));
    return path + L"\\" + name;
}

// A file of `size` bytes made by moving its end, so that nothing is written:
// large files cost no time. Its size afterwards, -1 when it could not be made.
inline int64_t MakeFileOfSize(const std::wstring& path, int64_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER end{};
    end.QuadPart = size;
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok ? size : -1;
}

inline int64_t FileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A text's bytes as a file saved in UTF-8 (with or without its mark) or UTF-16
// (with its mark, either byte order) holds them.
enum class SavedAs { Utf8, Utf8Mark, Utf16Le, Utf16Be };

inline std::string SavedBytes(const std::wstring& text, SavedAs encoding) {
    std::string bytes;
    switch (encoding) {
    case SavedAs::Utf8Mark: bytes = "\xEF\xBB\xBF"; [[fallthrough]];
    case SavedAs::Utf8: {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
        std::string utf8(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                            nullptr);
        return bytes + utf8;
    }
    case SavedAs::Utf16Le:
    case SavedAs::Utf16Be: {
        const bool big = encoding == SavedAs::Utf16Be;
        bytes = big ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t unit : text) {
            const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
            bytes += big ? high : low;
            bytes += big ? low : high;
        }
        return bytes;
    }
    }
    return bytes;
}
