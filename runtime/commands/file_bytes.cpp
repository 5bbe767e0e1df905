#include "runtime/commands/file_bytes.h"

#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

uint64_t Joined(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

}  // namespace

bool ReadFileStamp(const wchar_t* path, FileStamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    *stamp = {Joined(data.nFileSizeHigh, data.nFileSizeLow),
              Joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    return true;
}

FileBytes::Outcome FileBytes::Read(const wchar_t* path, int64_t limit, FileStamp* stamp) {
    Release();
    if (path == nullptr || path[0] == L'\0') return Outcome::Unreadable;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Outcome::Unreadable;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool stamped = GetFileInformationByHandle(file, &information) != FALSE;
    const Outcome outcome = ReadOpen(file, limit);
    CloseHandle(file);
    if (outcome != Outcome::Read) Release();
    if (stamp != nullptr && stamped)
        *stamp = {Joined(information.nFileSizeHigh, information.nFileSizeLow),
                  Joined(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime)};
    return outcome;
}

void FileBytes::Release() {
    RawFree(data_);
    data_ = nullptr;
    size_ = 0;
}

FileBytes::Outcome FileBytes::ReadOpen(HANDLE file, int64_t limit) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return Outcome::Unreadable;
    // Decided before a byte is read: a file too large costs nothing.
    if (size.QuadPart > limit) return Outcome::TooLarge;
    const auto wanted = static_cast<size_t>(size.QuadPart);
    data_ = static_cast<uint8_t*>(RawAllocate(wanted > 0 ? wanted : 1));
    if (data_ == nullptr) return Outcome::TooLarge;  // the heap has no room for it now
    // A file that shrinks meanwhile gives what it still holds; one that
    // grows, the bytes it had when it was measured.
    while (size_ < wanted) {
        const size_t rest = wanted - size_;
        const DWORD chunk = rest > (1u << 24) ? (1u << 24) : static_cast<DWORD>(rest);
        DWORD got = 0;
        if (!ReadFile(file, data_ + size_, chunk, &got, nullptr)) return Outcome::Unreadable;
        if (got == 0) break;
        size_ += got;
    }
    return Outcome::Read;
}

}  // namespace quillet
