#pragma once
// A fresh folder under the temporary directory, removed with everything in it.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

class TemporaryFolder {
public:
    explicit TemporaryFolder(const char* prefix = "quillet-test") {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        path_ = std::string(base) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TemporaryFolder() { RemoveAll(Wide(path_)); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::wstring WidePath() const { return Wide(path_); }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    // Wide calls: a test may name its files with characters the ANSI code page lacks.
    static void RemoveAll(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = folder + L"\\" + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveAll(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
    static std::wstring Wide(const std::string& path) {
        std::wstring wide(path.size() + 1, L'\0');
        const int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        wide.resize(units > 0 ? static_cast<size_t>(units) - 1 : 0);
        return wide;
    }

    std::string path_;
};

// The names in a folder, sorted, "." and ".." left out.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The whole content of an opened file, which it closes; empty for none.
inline std::string BytesOfOpenedFile(HANDLE file) {
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// The whole content of a file, by an ANSI or a wide name; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    return BytesOfOpenedFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
}
inline std::string FileBytes(const std::wstring& path) {
    return BytesOfOpenedFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the bytes to a file just created, and closes it; false for none, or a short write.
inline bool WriteToCreatedFile(HANDLE file, const std::string& bytes) {
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Replaces the file's content, by an ANSI or a wide name; false when it cannot be written.
inline bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    return WriteToCreatedFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), bytes);
}
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    return WriteToCreatedFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), bytes);
}

// A folder no file can be created in while the object lives: read-only, as a
// Windows user makes it (Wine turns that into Unix permissions), and, since
// those do not stop root, immutable through chattr, a Unix program that Wine
// starts like any other. Unwritable() tells whether it worked.
class UnwritableFolder {
public:
    explicit UnwritableFolder(std::wstring folder) : folder_(std::move(folder)) {
        SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_READONLY);
        if (!Unwritable()) Chattr(L"+i", true);
    }
    ~UnwritableFolder() {
        Chattr(L"-i", false);
        SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    bool Unwritable() const {
        const HANDLE file = CreateFileW((folder_ + L"\\write-probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        return file == INVALID_HANDLE_VALUE || !CloseHandle(file);
    }

private:
    // On the folder's Unix path, which only Wine tells. Wine gives no handle to
    // wait for a Unix program by: the change is awaited as it shows.
    void Chattr(const wchar_t* change, bool unwritable) const {
        const auto unixName = reinterpret_cast<char* (*)(const wchar_t*)>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* path = unixName != nullptr ? unixName(folder_.c_str()) : nullptr;
        if (path == nullptr) return;
        wchar_t line[5 * MAX_PATH] = {};
        const int start = wsprintfW(line, L"Z:\\usr\\bin\\chattr %s \"", change);
        MultiByteToWideChar(CP_UTF8, 0, path, -1, line + start, 4 * MAX_PATH);  // Unix paths are UTF-8
        lstrcatW(line, L"\"");
        HeapFree(GetProcessHeap(), 0, path);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
        for (int tries = 0; tries < 100 && Unwritable() != unwritable; ++tries) Sleep(50);
    }

    std::wstring folder_;
};
