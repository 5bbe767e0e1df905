#pragma once
// Stand-ins for the system calls of a safe write (runtime/values/safe_write.h)
// that fail as a test asks, for failures this machine cannot make: put one into
// a copy of SystemFileCalls(). Each reports failing::error.
#include <windows.h>

namespace failing {

inline DWORD error = 0;

inline HANDLE WINAPI Create(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}
inline BOOL WINAPI Fail() { return SetLastError(error), FALSE; }
inline BOOL WINAPI Write(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) { return *written = 0, Fail(); }
// Half the bytes reach the file first (a disk that fills up).
inline BOOL WINAPI HalfWritten(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED) {
    return WriteFile(file, bytes, size / 2, written, nullptr), Fail();
}
inline BOOL WINAPI WriteTakingNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    return *written = 0, TRUE;
}
inline BOOL WINAPI Flush(HANDLE) { return Fail(); }
// The last byte of each read changed; or no more than 4 bytes, then the end.
inline BOOL WINAPI ReadChangingAByte(HANDLE file, LPVOID bytes, DWORD size, LPDWORD got, LPOVERLAPPED) {
    const BOOL read = ReadFile(file, bytes, size, got, nullptr);
    if (read && *got > 0) static_cast<char*>(bytes)[*got - 1] ^= 0x20;
    return read;
}
inline BOOL WINAPI ReadEndingEarly(HANDLE file, LPVOID bytes, DWORD size, LPDWORD got, LPOVERLAPPED) {
    const BOOL read = ReadFile(file, bytes, size, got, nullptr);
    if (*got > 4) *got = 4;
    return read;
}
inline BOOL WINAPI Replace(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) { return Fail(); }
// ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 as ReplaceFileW documents it: the file
// already moved to the backup name, the new one still under its own.
inline BOOL WINAPI ReplaceStoppingHalfway(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExW(replaced, backup, MOVEFILE_REPLACE_EXISTING);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}
inline BOOL WINAPI Move(LPCWSTR, LPCWSTR, DWORD) { return Fail(); }

}  // namespace failing
