// WriteFileSafely on the real file system for every case that can be made here,
// and with one system call failing, through the calls table, for the rest. A
// failure must leave the file's bytes as they were and nothing else in its folder.
#include <gtest/gtest.h>
#include <windows.h>

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

const std::string Old = "旧的内容\r\n", New = "新的内容，比旧的长\r\n";
const std::wstring Name = L"名字 テスト\U0001F600.txt", Backup = Name + L".bak";

// A case's own folder, where the file is, and the calls its write makes.
struct Place {
    std::wstring folder, file;
    FileSystemCalls calls = SystemFileCalls();
};
using Undo = std::function<void()>;
using Arrange = Undo (*)(Place&);

// A file's bytes; "(none)" where no file is (a folder is none).
std::string Content(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool none = attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return none ? "(none)" : FileBytes(path);
}
Undo HeldOpen(const std::wstring& file, DWORD sharing) {
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(held, INVALID_HANDLE_VALUE);
    return [held] { CloseHandle(held); };
}

#define FAILING(call, stand_in) [](Place& p) -> Undo { return p.calls.call = failing::stand_in, nullptr; }

// Error codes as numbers: ReplaceFileW's documented 1175 to 1177, ERROR_NOT_SUPPORTED 50,
// ERROR_ALREADY_EXISTS 183, ERROR_DISK_FULL 112, ERROR_SHARING_VIOLATION 32, ERROR_ACCESS_DENIED 5.
TEST(SafeWriteTest, WritesOrFailsLeavingTheFileAsItWasAndNothingBeside) {
    using F = WriteFailure;
    const struct {
        const char* what;
        Arrange arrange;
        bool exists;      // the file holds Old before; else there is none
        bool mayCreate;
        bool keepBackup;  // asks for the old bytes under Backup
        WriteFailure failure;
        DWORD error;      // systemError, and what a failing stand-in reports
    } cases[] = {
        {"a new file", nullptr, false, true, true, F::None, 0},
        {"replaced", nullptr, true, true, false, F::None, 0},
        {"replaced, the old bytes kept", nullptr, true, false, true, F::None, 0},
        {"replaced, an older backup replaced",
         [](Place& p) -> Undo { return WriteFileBytes(p.file + L".bak", "更"), nullptr; }, true, true, true, F::None,
         0},
        // Real failures.
        {"a read-only file, which root could write",
         [](Place& p) -> Undo { return SetFileAttributesW(p.file.c_str(), FILE_ATTRIBUTE_READONLY), nullptr; }, true,
         true, true, F::ReadOnly, 0},
        {"held without sharing", [](Place& p) { return HeldOpen(p.file, 0); }, true, true, true, F::InUse, 32},
        {"held, sharing reads", [](Place& p) { return HeldOpen(p.file, FILE_SHARE_READ); }, true, true, false, F::InUse, 32},
        {"no such folder", [](Place& p) -> Undo { return p.file = p.folder + L"\\没有\\" + Name, nullptr; }, false,
         true, false, F::PathGone, ERROR_PATH_NOT_FOUND},
        {"gone, and it must exist", nullptr, false, false, false, F::PathGone, ERROR_FILE_NOT_FOUND},
        {"a folder of that name", [](Place& p) -> Undo { return CreateDirectoryW(p.file.c_str(), nullptr), nullptr; },
         false, true, false, F::IsFolder, 0},
        {"a folder that takes no new file",
         [](Place& p) -> Undo {
             auto locked = std::make_shared<UnwritableFolder>(p.folder);
             EXPECT_TRUE(locked->Unwritable());
             return [locked] {};
         },
         true, true, true, F::FolderNotWritable, ERROR_ACCESS_DENIED},
        // Made to fail.
        {"making the temporary file", FAILING(createFile, Create), true, true, true, F::FolderNotWritable, 5},
        {"writing", FAILING(writeFile, Write), true, true, true, F::Other, ERROR_WRITE_FAULT},
        {"a full disk halfway", FAILING(writeFile, HalfWritten), false, true, false, F::DiskFull, ERROR_DISK_FULL},
        {"a write taking nothing", FAILING(writeFile, WriteTakingNothing), true, true, false, F::DiskFull, 112},
        {"flushing", FAILING(flushFileBuffers, Flush), true, true, false, F::Other, ERROR_IO_DEVICE},
        {"a byte read back differs", FAILING(readFile, ReadChangingAByte), true, true, true, F::ReadBackDiffers, 0},
        {"fewer bytes read back", FAILING(readFile, ReadEndingEarly), false, true, false, F::ReadBackDiffers, 0},
        {"ReplaceFileW: 1175", FAILING(replaceFile, Replace), true, true, false, F::InUse, 1175},
        {"ReplaceFileW: 1176", FAILING(replaceFile, Replace), true, true, true, F::Other, 1176},
        {"ReplaceFileW: 1177", FAILING(replaceFile, ReplaceStoppingHalfway), true, true, false, F::Other, 1177},
        {"ReplaceFileW: 1177, a backup asked for", FAILING(replaceFile, ReplaceStoppingHalfway), true, true, true,
         F::Other, 1177},
        {"ReplaceFileW: no permission", FAILING(replaceFile, Replace), true, true, false, F::AccessDenied, 5},
        {"ReplaceFileW: a sharing violation", FAILING(replaceFile, Replace), true, true, true, F::InUse, 32},
        {"ReplaceFileW: unsupported", FAILING(replaceFile, Replace), true, true, false, F::Unsupported, 50},
        {"moving a new file in: one appeared", FAILING(moveFile, Move), false, true, false, F::Other, 183},
    };
    TemporaryFolder base("quillet-safe-write");
    size_t serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Place place;
        place.folder = base.WidePath() + L"\\" + std::to_wstring(++serial);
        place.file = place.folder + L"\\" + Name;
        ASSERT_TRUE(CreateDirectoryW(place.folder.c_str(), nullptr));
        ASSERT_TRUE(!c.exists || WriteFileBytes(place.file, Old));
        SafeWriteResult result{};
        const std::wstring backup = place.folder + L"\\" + Backup;
        std::string backupBefore;
        std::vector<std::wstring> names;
        {
            failing::error = c.error;
            const Undo undo = c.arrange != nullptr ? c.arrange(place) : nullptr;
            backupBefore = Content(backup);
            names = NamesIn(place.folder);
            result = WriteFileSafely(
                {place.file.c_str(), New.data(), New.size(), c.keepBackup ? backup.c_str() : nullptr, c.mayCreate,
                 &place.calls});
            if (undo) undo();
        }
        const bool written = c.failure == WriteFailure::None;
        const std::string backupAfter = written && c.keepBackup && c.exists ? Old : backupBefore;
        if (written) names = backupAfter != "(none)" ? std::vector{Name, Backup} : std::vector{Name};
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(result.systemError, c.failure == WriteFailure::ReadBackDiffers ? 0u : c.error);
        EXPECT_EQ(Content(place.file), written ? New : c.exists ? Old : "(none)");
        EXPECT_EQ(Content(backup), backupAfter);
        EXPECT_EQ(NamesIn(place.folder), names);
    }
}

}  // namespace
}  // namespace quillet
