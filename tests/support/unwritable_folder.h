#pragma once
// Makes a folder one that no file can be created in, for as long as the
// object lives: read-only, as a Windows user would make it, which Wine turns
// into Unix permissions; and, since those do not stop root (the tests may run
// as root), immutable through chattr, a Unix program that Wine starts like any
// other. Whether it worked is for the test to ask (Unwritable).
#include <windows.h>

#include <string>

class UnwritableFolder {
public:
    explicit UnwritableFolder(const std::wstring& folder) : folder_(folder) {
        SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_READONLY);
        if (!Unwritable()) ChattrUntil(L"+i", true);
    }
    ~UnwritableFolder() {
        ChattrUntil(L"-i", false);
        SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

    // Whether creating a file in the folder fails now.
    bool Unwritable() const {
        const std::wstring probe = folder_ + L"\\write-probe.txt";
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return true;
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        return false;
    }

private:
    // Wine gives no handle to wait for a Unix program by: the change is seen
    // when it is there, or not after a few seconds.
    void ChattrUntil(const wchar_t* change, bool unwritable) const {
        if (!RunChattr(change)) return;
        for (int tries = 0; tries < 100 && Unwritable() != unwritable; ++tries) Sleep(50);
    }

    // chattr on the folder's Unix path, which only Wine can tell; false elsewhere.
    bool RunChattr(const wchar_t* change) const {
        using UnixName = char* (*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (unixName == nullptr) return false;
        char* path = unixName(folder_.c_str());
        if (path == nullptr) return false;
        // Unix paths are UTF-8.
        wchar_t unixPath[4 * MAX_PATH];
        const bool converted = MultiByteToWideChar(CP_UTF8, 0, path, -1, unixPath, 4 * MAX_PATH) > 0;
        HeapFree(GetProcessHeap(), 0, path);
        if (!converted) return false;
        std::wstring line = std::wstring(L"Z:\\usr\\bin\\chattr ") + change + L" \"" + unixPath + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        if (process.hThread != nullptr) CloseHandle(process.hThread);
        if (process.hProcess != nullptr) CloseHandle(process.hProcess);
        return true;
    }

    std::wstring folder_;
};
