#pragma once
// The one way the program writes a file over an older one: never in place.
// The new bytes go to a temporary file beside the file, are flushed to the
// disk, read back and compared, and only then take the file's place through
// ReplaceFileW, which keeps the file's attributes, streams and permissions. A
// write that truncates the file first and then fills it leaves a file of 0
// bytes or of NULs behind a crash, a full disk or a power cut; this one leaves
// either the old file or the new one, whole.
//
// Every failure leaves the file exactly as it was and no temporary file behind,
// and says why in words a message to the user can use.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quillet {

// The system calls a safe write makes, in one table, so that tests can make any
// one of them fail.
struct FileSystemCalls {
    decltype(&CreateFileW) createFile;
    decltype(&WriteFile) writeFile;
    decltype(&FlushFileBuffers) flushFileBuffers;
    decltype(&ReadFile) readFile;
    decltype(&ReplaceFileW) replaceFile;
    decltype(&MoveFileExW) moveFile;
    decltype(&DeleteFileW) deleteFile;
    decltype(&GetFileAttributesW) getFileAttributes;
    decltype(&SetFileAttributesW) setFileAttributes;
    decltype(&CloseHandle) closeHandle;
};
static_assert(sizeof(FileSystemCalls) == 10 * sizeof(void*));
const FileSystemCalls& SystemFileCalls();

// Why a write did not happen, in the words a message to the user needs.
enum class WriteFailure : int32_t {
    None = 0,
    ReadOnly,           // the file has the read-only attribute
    AccessDenied,       // no permission on the file
    InUse,              // another program holds the file open (sharing or lock violation)
    DiskFull,           // the disk or the quota is full
    FolderNotWritable,  // no new file can be made in the file's folder
    PathGone,           // the file's folder (or, when it must exist, the file) no longer exists
    Unsupported,        // the volume refuses to replace a file safely
    ReadBackDiffers,    // the bytes read back are not the bytes written
    Other,              // any other error; its code is in SafeWriteResult::systemError
    IsFolder,           // the name is a folder's, not a file's
};
struct SafeWriteResult {
    WriteFailure failure;
    uint32_t systemError;  // the failing call's error code; 0 where no call failed
};
static_assert(sizeof(SafeWriteResult) == 8);

struct SafeWriteRequest {
    const wchar_t* path;         // the file written
    const void* bytes;
    size_t size;
    const wchar_t* backupPath;   // null: none kept; otherwise the bytes replaced end up under this name
                                 // (an older file of that name is replaced)
    bool mayCreate;              // the file need not exist yet (a new file); false: a file that vanished is PathGone
    const FileSystemCalls* calls;  // null: the system's
};

SafeWriteResult WriteFileSafely(const SafeWriteRequest& request);

// The cause in plain words (GBK, the program's language, e.g. "文件是只读的"),
// for messages that name the file and the cause.
const char* WriteFailureText(WriteFailure failure);

// Whether a new file can be made in the folder now: one is made and removed.
// The only sure test: a folder's attributes and permissions do not tell
// (Windows ignores the read-only attribute of folders; its permissions, and
// Wine's Unix ones, say nothing to a process that may bypass them).
bool FolderTakesNewFile(const wchar_t* folder, const FileSystemCalls* calls = nullptr);

}  // namespace quillet
