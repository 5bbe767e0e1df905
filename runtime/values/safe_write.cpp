#include "runtime/values/safe_write.h"

#include <cstring>
#include <string>
#include <utility>

namespace quillet {
namespace {

// Written in pieces of at most this size: one call for a whole large file can
// fail on a network share for want of system resources.
constexpr size_t WritePiece = 16u << 20;
// Read back in pieces of this size, into a buffer of the process heap (no C++
// allocation: it cannot run into the out-of-memory report).
constexpr DWORD ReadBackPiece = 1u << 20;
// Names tried for a temporary file before giving up: each clash is a leftover
// of an earlier process that had the same id.
constexpr int NameTries = 100;

// Where in a safe write a call failed: the same error says different things
// about the file, its folder and our own temporary file.
enum class Step {
    Target,     // the file itself: looking at it, moving a new file into its name
    Folder,     // making a temporary file beside it
    Temporary,  // writing, flushing, closing and reading back the temporary file
    Replace,    // ReplaceFileW
};

// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack.
constexpr DWORD DiskQuotaExceeded = 1295;

bool IsDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == DiskQuotaExceeded;
}
bool IsInUse(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
}
bool IsPathGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_DRIVE ||
           error == ERROR_NOT_READY || error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME ||
           error == ERROR_DEV_NOT_EXIST || error == ERROR_NETNAME_DELETED;
}

WriteFailure FailureOf(Step step, DWORD error) {
    if (IsDiskFull(error)) return WriteFailure::DiskFull;
    if (IsPathGone(error)) return WriteFailure::PathGone;
    if (IsInUse(error)) return step == Step::Temporary ? WriteFailure::Other : WriteFailure::InUse;
    switch (step) {
    case Step::Folder:
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) return WriteFailure::FolderNotWritable;
        break;
    case Step::Target:
        if (error == ERROR_ACCESS_DENIED) return WriteFailure::AccessDenied;
        break;
    case Step::Replace:
        if (error == ERROR_ACCESS_DENIED) return WriteFailure::AccessDenied;
        // The replaced file could not be removed: something holds it without
        // sharing deletion (a viewer, a virus scanner).
        if (error == ERROR_UNABLE_TO_REMOVE_REPLACED) return WriteFailure::InUse;
        // A volume or a network server without the calls a replacement needs.
        if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return WriteFailure::Unsupported;
        break;
    case Step::Temporary: break;
    }
    return WriteFailure::Other;
}

SafeWriteResult Failed(Step step, DWORD error) { return {FailureOf(step, error), static_cast<uint32_t>(error)}; }

std::wstring Hex(uint32_t value) {
    wchar_t digits[9];
    int at = 8;
    digits[at] = L'\0';
    do {
        digits[--at] = L"0123456789abcdef"[value & 15];
        value >>= 4;
    } while (value != 0);
    return digits + at;
}

uint32_t NextSerial() {
    static LONG serial = 0;
    return static_cast<uint32_t>(InterlockedIncrement(&serial));
}

bool Exists(const FileSystemCalls& calls, const wchar_t* path) {
    return calls.getFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

// A file of ours beside the file written, removed with this object unless kept.
// Its name is the file's own with ".~<process>-<serial>" and a suffix, made with
// CREATE_NEW: it cannot clash with any other file, and a user who finds one
// left by a power cut sees which file it belonged to. (Not GetTempFileNameW:
// under Wine 8 it returns a name even when it could not make the file, measured
// in a folder that takes no new file.)
class TemporaryFile {
public:
    explicit TemporaryFile(const FileSystemCalls& calls) : calls_(calls) {}
    ~TemporaryFile() { Remove(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // The new file opened for writing; INVALID_HANDLE_VALUE with the last error set when none can be made.
    HANDLE Create(const std::wstring& beside, const wchar_t* suffix) {
        const std::wstring stem = beside + L".~" + Hex(GetCurrentProcessId()) + L"-";
        for (int tries = 0; tries < NameTries; ++tries) {
            std::wstring name = stem + Hex(NextSerial()) + suffix;
            HANDLE file = calls_.createFile(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                            nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                name_ = std::move(name);
                return file;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        }
        return INVALID_HANDLE_VALUE;
    }

    const wchar_t* Name() const { return name_.c_str(); }

    // The file is no longer ours to remove: it took the written file's name,
    // or it holds the only copy of the file's old bytes.
    void Keep() { name_.clear(); }

    void Remove() {
        if (name_.empty()) return;
        // A replacement that ReplaceFileW left behind may have inherited the
        // read-only attribute of the file it was to replace.
        if (!calls_.deleteFile(name_.c_str()) && GetLastError() == ERROR_ACCESS_DENIED &&
            calls_.setFileAttributes(name_.c_str(), FILE_ATTRIBUTE_NORMAL))
            calls_.deleteFile(name_.c_str());
        name_.clear();
    }

private:
    const FileSystemCalls& calls_;
    std::wstring name_;
};

// A block of the process heap, freed with this object.
class HeapBuffer {
public:
    explicit HeapBuffer(size_t size) : data_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size))) {}
    ~HeapBuffer() {
        if (data_ != nullptr) HeapFree(GetProcessHeap(), 0, data_);
    }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    char* Data() const { return data_; }

private:
    char* data_;
};

// 0 when every byte went to the file, else the error. A write that succeeds
// and takes nothing has met the end of the disk.
DWORD WriteAll(const FileSystemCalls& calls, HANDLE file, const void* bytes, size_t size) {
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const auto piece = static_cast<DWORD>(size < WritePiece ? size : WritePiece);
        DWORD written = 0;
        if (!calls.writeFile(file, at, piece, &written, nullptr)) return GetLastError();
        if (written == 0 || written > piece) return ERROR_DISK_FULL;
        at += written;
        size -= written;
    }
    return 0;
}

// The temporary file read back whole against the bytes: what a filter, a
// network redirector or a disk that ran out on the way did shows here, before
// the file is touched.
SafeWriteResult ReadBack(const FileSystemCalls& calls, const wchar_t* name, const void* bytes, size_t size) {
    HANDLE file = calls.createFile(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed(Step::Temporary, GetLastError());
    const HeapBuffer buffer(ReadBackPiece);
    DWORD error = buffer.Data() == nullptr ? ERROR_NOT_ENOUGH_MEMORY : 0;
    bool same = true;
    size_t at = 0;
    const auto* expected = static_cast<const char*>(bytes);
    while (error == 0) {
        DWORD got = 0;
        if (!calls.readFile(file, buffer.Data(), ReadBackPiece, &got, nullptr)) {
            error = GetLastError();
        } else if (got == 0) {
            break;
        } else if (got > size - at || std::memcmp(buffer.Data(), expected + at, got) != 0) {
            same = false;
            break;
        } else {
            at += got;
        }
    }
    calls.closeHandle(file);
    if (error != 0) return Failed(Step::Temporary, error);
    if (!same || at != size) return {WriteFailure::ReadBackDiffers, 0};
    return {WriteFailure::None, 0};
}

// The bytes in a new temporary file beside the file, flushed, closed and read back.
SafeWriteResult WriteTemporary(const FileSystemCalls& calls, const SafeWriteRequest& request,
                               TemporaryFile* temporary) {
    HANDLE file = temporary->Create(request.path, L".tmp");
    if (file == INVALID_HANDLE_VALUE) return Failed(Step::Folder, GetLastError());
    DWORD error = WriteAll(calls, file, request.bytes, request.size);
    if (error == 0 && !calls.flushFileBuffers(file)) error = GetLastError();
    // Closing can report a write the system had delayed (a network file).
    if (!calls.closeHandle(file) && error == 0) error = GetLastError();
    if (error != 0) return Failed(Step::Temporary, error);
    return ReadBack(calls, temporary->Name(), request.bytes, request.size);
}

// ReplaceFileW with a backup name always: without one, its failure 1176 may
// have removed the file already and left the new bytes under the temporary
// name, and 1177 leaves the old bytes under a name of its own choosing. With
// one, each failure leaves both files under names we know:
// - 1175 (the file could not be removed) and 1176 (the new file could not be
//   renamed): both under their own names;
// - 1177 (the new file could not be moved): the old bytes only under the
//   backup name, moved back here;
// - any other error: both under their own names, no backup made.
// Measured under Wine 8: a read-only file fails with 5 and a file another
// process holds without sharing deletion (even a reader sharing reads) with 32,
// nothing moved either time; an existing backup file is replaced, even a
// read-only one; the file's hidden attribute is not carried over (Windows
// keeps it).
SafeWriteResult PutInPlace(const FileSystemCalls& calls, const SafeWriteRequest& request,
                           TemporaryFile* replacement) {
    TemporaryFile ownBackup(calls);  // when the caller keeps none: removed, with the old bytes, once done
    const wchar_t* backup = request.backupPath;
    if (backup == nullptr) {
        HANDLE reserved = ownBackup.Create(request.path, L".bak");  // the name held until ReplaceFileW takes it
        if (reserved == INVALID_HANDLE_VALUE) return Failed(Step::Folder, GetLastError());
        calls.closeHandle(reserved);
        backup = ownBackup.Name();
    }
    if (calls.replaceFile(request.path, replacement->Name(), backup, 0, nullptr, nullptr)) {
        replacement->Keep();
        return {WriteFailure::None, 0};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && !Exists(calls, request.path) &&
        !calls.moveFile(backup, request.path, MOVEFILE_WRITE_THROUGH))
        ownBackup.Keep();  // the old bytes' only copy stays where it is, never removed
    if (error == ERROR_ACCESS_DENIED) {
        // A read-only attribute set since the write began (the system refuses
        // such a file even to a process that could write it).
        const DWORD attributes = calls.getFileAttributes(request.path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return {WriteFailure::ReadOnly, error};
    }
    return Failed(Step::Replace, error);
}

}  // namespace

const FileSystemCalls& SystemFileCalls() {
    static const FileSystemCalls calls = {
        CreateFileW, WriteFile,   FlushFileBuffers,   ReadFile,           ReplaceFileW,
        MoveFileExW, DeleteFileW, GetFileAttributesW, SetFileAttributesW, CloseHandle,
    };
    return calls;
}

SafeWriteResult WriteFileSafely(const SafeWriteRequest& request) {
    const FileSystemCalls& calls = request.calls != nullptr ? *request.calls : SystemFileCalls();
    // What stands at the path decides the way: a file is replaced, no file is
    // made (when it may be), anything else is refused before a byte is written.
    const DWORD attributes = calls.getFileAttributes(request.path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND || !request.mayCreate) return Failed(Step::Target, error);
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // Wine's ReplaceFileW moves a folder to the backup name and puts the
        // file in its place (measured).
        return {WriteFailure::IsFolder, 0};
    } else if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        // Refused here, not left to the system: a process that may bypass the
        // attribute (an administrator, root under Wine) could write the file.
        return {WriteFailure::ReadOnly, 0};
    }

    TemporaryFile replacement(calls);
    const SafeWriteResult written = WriteTemporary(calls, request, &replacement);
    if (written.failure != WriteFailure::None) return written;
    if (exists) return PutInPlace(calls, request, &replacement);
    // A new file: moved into its name, never over a file that appeared meanwhile.
    if (!calls.moveFile(replacement.Name(), request.path, MOVEFILE_WRITE_THROUGH))
        return Failed(Step::Target, GetLastError());
    replacement.Keep();
    return {WriteFailure::None, 0};
}

const char* WriteFailureText(WriteFailure failure) {
    switch (failure) {
    case WriteFailure::None: return "";
    case WriteFailure::ReadOnly: return "文件是只读的";
    case WriteFailure::AccessDenied: return "没有写入这个文件的权限";
    case WriteFailure::InUse: return "另一个程序正在使用这个文件";
    case WriteFailure::DiskFull: return "磁盘已满（或超出了磁盘配额）";
    case WriteFailure::FolderNotWritable: return "无法在文件所在的文件夹中创建文件";
    case WriteFailure::PathGone: return "文件或它所在的文件夹已不存在";
    case WriteFailure::Unsupported: return "这个磁盘不支持安全地替换文件";
    case WriteFailure::ReadBackDiffers: return "写入后读回的内容与写入的不一致";
    case WriteFailure::Other: return "系统错误";
    case WriteFailure::IsFolder: return "这个名字是一个文件夹，不是文件";
    }
    return "系统错误";
}

bool FolderTakesNewFile(const wchar_t* folder, const FileSystemCalls* calls) {
    const FileSystemCalls& use = calls != nullptr ? *calls : SystemFileCalls();
    TemporaryFile probe(use);
    std::wstring beside = folder;
    if (!beside.empty() && beside.back() != L'\\' && beside.back() != L'/') beside += L'\\';
    HANDLE file = probe.Create(beside + L"quillet", L".tmp");
    if (file == INVALID_HANDLE_VALUE) return false;
    use.closeHandle(file);
    return true;  // the probe's file goes with it
}

}  // namespace quillet
