#pragma once
// A folder no file can be created in while the object lives: read-only, as a
// Windows user makes it (Wine turns that into Unix permissions), and, since
// those do not stop root, immutable through chattr, a Unix program that Wine
// starts like any other. Unwritable() tells whether it worked.
#include <windows.h>

#include <string>

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
