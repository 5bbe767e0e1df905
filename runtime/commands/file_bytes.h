#pragma once
// A whole file's bytes, read for a box to take or to compare with what a save
// would write, and the stamp that tells whether another program changed the
// file since.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quillet {

// What a file was when it was read or written: another program that changes
// it changes one of these.
struct FileStamp {
    uint64_t size = 0;
    uint64_t writeTime = 0;  // the last write, in 100 ns since 1601 (FILETIME)
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file by path; false when it cannot be read (no such file).
bool ReadFileStamp(const wchar_t* path, FileStamp* stamp);

// A file's bytes in one block of the runtime heap, freed with this object.
class FileBytes {
public:
    enum class Outcome {
        Read,
        Unreadable,  // missing, a folder, locked against reading, or a read that failed
        TooLarge,    // beyond the limit, or no memory for it now
    };

    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes() { Release(); }

    // Reads the whole file, of at most `limit` bytes. Opened for reading
    // only, shared with readers and writers (an editor may hold it open), and
    // never written. *stamp (when given): the file as it was read.
    Outcome Read(const wchar_t* path, int64_t limit, FileStamp* stamp = nullptr);

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    void Release();

private:
    Outcome ReadOpen(HANDLE file, int64_t limit);

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace quillet
