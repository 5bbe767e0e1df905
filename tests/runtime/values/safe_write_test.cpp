// WriteFileSafely on the real file system for every case that can be made here,
// and with one system call failing, through the calls table, for the rest.
// Every failure must leave the file's bytes as they were and nothing else in
// its folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/values/safe_write.h"
#include "tests/support/dropped_files.h"
#include "tests/support/failing_file_calls.h"
#include "tests/support/temporary_folder.h"

namespace quillet {
namespace {

const std::string OldBytes = "旧的内容\r\n";
const std::string NewBytes = "新的内容，比旧的长\r\n";
const std::wstring Name = L"名字 テスト\U0001F600.txt";
const std::wstring BackupName = Name + L".bak";
constexpr const char* Absent = nullptr;  // no file of that name

// One case's folder, with the file (and its backup) as a case wants them.
struct CaseFolder {
    explicit CaseFolder(const TemporaryFolder& base, size_t serial)
        : path(WidePath(base.Path(), std::to_wstring(serial))) {
        CreateDirectoryW(path.c_str(), nullptr);
    }
    std::wstring File(const std::wstring& name = Name) const { return path + L"\\" + name; }
    // The file's content, or Absent when there is none.
    std::string Content(const std::wstring& name = Name) const {
        return GetFileAttributesW(File(name).c_str()) == INVALID_FILE_ATTRIBUTES ? "<absent>" : FileBytes(File(name));
    }
    std::wstring path;
};

std::string Expected(const char* content) { return content == Absent ? "<absent>" : content; }

SafeWriteResult Write(const std::wstring& path, const wchar_t* backup, bool mayCreate,
                      const FileSystemCalls* calls = nullptr) {
    return WriteFileSafely({path.c_str(), NewBytes.data(), NewBytes.size(), backup, mayCreate, calls});
}

std::vector<std::wstring> Only(const std::vector<const std::wstring*>& names) {
    std::vector<std::wstring> sorted;
    for (const std::wstring* name : names) sorted.push_back(*name);
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

TEST(SafeWriteTest, WritesANewFileOrReplacesOneKeepingItsOldBytesWhereAsked) {
    const struct {
        const char* what;
        const char* before;        // the file's content, or Absent
        const char* backupBefore;  // an older backup's
        bool keepBackup;
        const char* backupAfter;
    } cases[] = {
        {"a new file", Absent, Absent, false, Absent},
        {"a new file, a backup asked for: none, nothing was replaced", Absent, Absent, true, Absent},
        {"replaced, no backup kept", OldBytes.c_str(), Absent, false, Absent},
        {"replaced, the old bytes kept", OldBytes.c_str(), Absent, true, OldBytes.c_str()},
        {"replaced, an older backup replaced", OldBytes.c_str(), "更旧的", true, OldBytes.c_str()},
        {"an empty file replaced", "", Absent, true, ""},
    };
    TemporaryFolder base("quillet-safe-write");
    size_t serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CaseFolder folder(base, ++serial);
        ASSERT_TRUE(c.before == Absent || WriteFileBytes(folder.File(), c.before));
        ASSERT_TRUE(c.backupBefore == Absent || WriteFileBytes(folder.File(BackupName), c.backupBefore));
        const std::wstring backup = folder.File(BackupName);
        const SafeWriteResult result = Write(folder.File(), c.keepBackup ? backup.c_str() : nullptr, true);
        EXPECT_EQ(result.failure, WriteFailure::None);
        EXPECT_EQ(result.systemError, 0u);
        EXPECT_EQ(folder.Content(), NewBytes);
        EXPECT_EQ(folder.Content(BackupName), Expected(c.backupAfter));
        EXPECT_EQ(NamesIn(folder.path), c.backupAfter != Absent ? Only({&Name, &BackupName}) : Only({&Name}));
    }
}

// What can be made real here. Each arrangement returns what undoes it.
TEST(SafeWriteTest, RefusesWhatItCannotWriteLeavingEverythingAsItWas) {
    using Undo = std::function<void()>;
    const auto holdOpen = [](DWORD sharing) {
        return [sharing](const CaseFolder& folder) -> Undo {
            HANDLE held = CreateFileW(folder.File().c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(held, INVALID_HANDLE_VALUE);
            return [held] { CloseHandle(held); };
        };
    };
    const struct {
        const char* what;
        std::function<Undo(const CaseFolder&)> arrange;  // with the file there, holding OldBytes
        std::wstring name;                               // what is written, in the case's folder
        bool mayCreate;
        WriteFailure failure;
        uint32_t systemError;
    } cases[] = {
        {"a read-only file (which root could write)",
         [](const CaseFolder& folder) -> Undo {
             SetFileAttributesW(folder.File().c_str(), FILE_ATTRIBUTE_READONLY);
             return [folder] { SetFileAttributesW(folder.File().c_str(), FILE_ATTRIBUTE_NORMAL); };
         },
         Name, true, WriteFailure::ReadOnly, 0},
        {"a file held open without sharing", holdOpen(0), Name, true, WriteFailure::InUse, ERROR_SHARING_VIOLATION},
        {"a file held by a reader that does not share deletion", holdOpen(FILE_SHARE_READ), Name, true,
         WriteFailure::InUse, ERROR_SHARING_VIOLATION},
        {"a folder that does not exist", nullptr, L"没有\\" + Name, true, WriteFailure::PathGone,
         ERROR_PATH_NOT_FOUND},
        {"a file that vanished, and must exist", nullptr, L"别的.txt", false, WriteFailure::PathGone,
         ERROR_FILE_NOT_FOUND},
        {"a folder of that name",
         [](const CaseFolder& folder) -> Undo {
             CreateDirectoryW(folder.File(L"文件夹.txt").c_str(), nullptr);
             return nullptr;
         },
         L"文件夹.txt", true, WriteFailure::IsFolder, 0},
        {"a folder that takes no new file",
         [](const CaseFolder& folder) -> Undo {
             auto unwritable = std::make_shared<UnwritableFolder>(folder.path);
             EXPECT_TRUE(unwritable->Unwritable());
             return [unwritable] {};
         },
         Name, true, WriteFailure::FolderNotWritable, ERROR_ACCESS_DENIED},
    };
    TemporaryFolder base("quillet-safe-write");
    size_t serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CaseFolder folder(base, ++serial);
        ASSERT_TRUE(WriteFileBytes(folder.File(), OldBytes));
        std::vector<std::wstring> names;
        SafeWriteResult result{};
        {
            const Undo undo = c.arrange ? c.arrange(folder) : nullptr;
            names = NamesIn(folder.path);
            const std::wstring backup = folder.File(BackupName);
            result = Write(folder.File(c.name), backup.c_str(), c.mayCreate);
            if (undo) undo();
        }
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(result.systemError, c.systemError);
        EXPECT_EQ(folder.Content(), OldBytes);
        EXPECT_EQ(NamesIn(folder.path), names);
    }
}

TEST(SafeWriteTest, AnyFailingCallLeavesTheFileAsItWasAndNothingBehind) {
    using Inject = void (*)(FileSystemCalls&);
    const struct {
        const char* what;
        Inject inject;
        DWORD error;
        bool exists;      // the file is there before: replaced, else made
        bool keepBackup;  // a backup name asked for
        WriteFailure failure;
    } cases[] = {
        {"making the temporary file", [](FileSystemCalls& c) { c.createFile = failing::Create; }, ERROR_ACCESS_DENIED,
         true, false, WriteFailure::FolderNotWritable},
        {"making the temporary file for a new file", [](FileSystemCalls& c) { c.createFile = failing::Create; },
         ERROR_DISK_FULL, false, false, WriteFailure::DiskFull},
        {"writing", [](FileSystemCalls& c) { c.writeFile = failing::Write; }, ERROR_WRITE_FAULT, true, true,
         WriteFailure::Other},
        {"a full disk halfway", [](FileSystemCalls& c) { c.writeFile = failing::HalfWritten; }, ERROR_DISK_FULL,
         true, false, WriteFailure::DiskFull},
        {"a quota reached halfway", [](FileSystemCalls& c) { c.writeFile = failing::HalfWritten; },
         1295 /* ERROR_DISK_QUOTA_EXCEEDED */, false, false, WriteFailure::DiskFull},
        {"a write that takes nothing", [](FileSystemCalls& c) { c.writeFile = failing::WriteTakingNothing; }, ERROR_DISK_FULL,
         true, false, WriteFailure::DiskFull},
        {"flushing", [](FileSystemCalls& c) { c.flushFileBuffers = failing::Flush; }, ERROR_IO_DEVICE, true, false,
         WriteFailure::Other},
        {"a byte read back differs", [](FileSystemCalls& c) { c.readFile = failing::ReadChangingAByte; }, 0, true, true,
         WriteFailure::ReadBackDiffers},
        {"fewer bytes read back", [](FileSystemCalls& c) { c.readFile = failing::ReadEndingEarly; }, 0, false, false,
         WriteFailure::ReadBackDiffers},
        {"ReplaceFileW: the file cannot be removed", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_UNABLE_TO_REMOVE_REPLACED, true, false, WriteFailure::InUse},
        {"ReplaceFileW: the new file cannot be renamed", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_UNABLE_TO_MOVE_REPLACEMENT, true, true, WriteFailure::Other},
        {"ReplaceFileW stops halfway", [](FileSystemCalls& c) { c.replaceFile = failing::ReplaceStoppingHalfway; },
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, false, WriteFailure::Other},
        {"ReplaceFileW stops halfway, a backup asked for",
         [](FileSystemCalls& c) { c.replaceFile = failing::ReplaceStoppingHalfway; }, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
         true, true, WriteFailure::Other},
        {"ReplaceFileW: no permission", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_ACCESS_DENIED, true, false, WriteFailure::AccessDenied},
        {"ReplaceFileW: a sharing violation", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_SHARING_VIOLATION, true, true, WriteFailure::InUse},
        {"ReplaceFileW: the volume cannot", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_NOT_SUPPORTED, true, false, WriteFailure::Unsupported},
        {"ReplaceFileW: the network server cannot", [](FileSystemCalls& c) { c.replaceFile = failing::Replace; },
         ERROR_INVALID_FUNCTION, true, false, WriteFailure::Unsupported},
        {"moving a new file into its name: one appeared", [](FileSystemCalls& c) { c.moveFile = failing::Move; },
         ERROR_ALREADY_EXISTS, false, false, WriteFailure::Other},
    };
    TemporaryFolder base("quillet-safe-write");
    size_t serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CaseFolder folder(base, ++serial);
        ASSERT_TRUE(!c.exists || WriteFileBytes(folder.File(), OldBytes));
        FileSystemCalls calls = SystemFileCalls();
        c.inject(calls);
        failing::error = c.error;
        const std::wstring backup = folder.File(BackupName);
        const SafeWriteResult result = Write(folder.File(), c.keepBackup ? backup.c_str() : nullptr, true, &calls);
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(result.systemError, c.failure == WriteFailure::ReadBackDiffers ? 0u : c.error);
        EXPECT_EQ(folder.Content(), c.exists ? OldBytes : "<absent>");
        EXPECT_EQ(NamesIn(folder.path), c.exists ? Only({&Name}) : Only({}));
    }
}

TEST(SafeWriteTest, AFolderTakesANewFileOnlyWhenOneCanBeMadeThere) {
    TemporaryFolder base("quillet-safe-write");
    const CaseFolder folder(base, 1);
    EXPECT_TRUE(FolderTakesNewFile(folder.path.c_str()));
    EXPECT_TRUE(NamesIn(folder.path).empty()) << "the probe's file is gone";
    EXPECT_FALSE(FolderTakesNewFile((folder.path + L"\\没有").c_str()));
    FileSystemCalls calls = SystemFileCalls();
    calls.createFile = failing::Create;
    failing::error = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(FolderTakesNewFile(folder.path.c_str(), &calls));
    const UnwritableFolder unwritable(folder.path);
    ASSERT_TRUE(unwritable.Unwritable());
    EXPECT_FALSE(FolderTakesNewFile(folder.path.c_str()));
}

}  // namespace
}  // namespace quillet
