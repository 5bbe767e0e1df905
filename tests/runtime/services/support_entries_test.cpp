// The support entry slots, the CommandTable and the numbered services.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/app/exit_routines.h"
#include "runtime/app/program_paths.h"
#include "runtime/services/service_table.h"
#include "runtime/services/startup.h"
#include "runtime/services/support_entries.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

// A command that reports what it saw: optional argument 2 given or not, and the
// result record's words on entry.
CommandArg seenResult;
void ProbeCommand(CommandArg* result, int32_t argCount, CommandArg* args) {
    seenResult = *result;
    result->low = argCount >= 2 && !IsOmitted(args[1]) ? 1u : 0u;
    result->high = args[0].low;
}

void SilentCommand(CommandArg*, int32_t, CommandArg*) {}

TEST(SupportEntriesTest, CallCommandZeroesTheResultAndPassesRecords) {
    CommandArg args[2] = {{7, 0, DataType::Int}, {0xDEAD, 0xBEEF, DataType::None}};
    CommandArg result = SupportEntries().CallCommand(ProbeCommand, 2, args);
    EXPECT_EQ(seenResult.low, 0u);
    EXPECT_EQ(seenResult.high, 0u);
    EXPECT_EQ(seenResult.type, 0u);
    EXPECT_EQ(result.low, 0u) << "an omitted argument is known by its type word, not its value";
    EXPECT_EQ(result.high, 7u);

    args[1] = {0, 0, DataType::Int};
    EXPECT_EQ(SupportEntries().CallCommand(ProbeCommand, 2, args).low, 1u) << "a given 0 is not omitted";

    result = SupportEntries().CallCommand(SilentCommand, 0, args);
    EXPECT_EQ(result.low, 0u);
    EXPECT_EQ(result.high, 0u);
    EXPECT_EQ(result.type, 0u);
}

std::vector<int> calls;
void FirstRoutine() { calls.push_back(1); }
void SecondRoutine() { calls.push_back(2); }

TEST(SupportEntriesTest, ExitRoutinesRunOnceEachInRegistrationOrder) {
    calls.clear();
    const auto& table = SupportEntries();
    table.CallTableEntry(TableEntryNumber::RegisterExitRoutine, reinterpret_cast<uintptr_t>(&SecondRoutine), 0, 0, 0);
    table.CallTableEntry(TableEntryNumber::RegisterExitRoutine, reinterpret_cast<uintptr_t>(&FirstRoutine), 0, 0, 0);
    table.CallTableEntry(TableEntryNumber::RegisterExitRoutine, reinterpret_cast<uintptr_t>(&SecondRoutine), 0, 0, 0);
    CallExitRoutines();
    EXPECT_EQ(calls, (std::vector<int>{2, 1}));
    CallExitRoutines();
    EXPECT_EQ(calls.size(), 2u) << "the list is empty after the calls";
}

TEST(SupportEntriesTest, ReleasedExitRoutinesAreNeverCalled) {
    calls.clear();
    AddExitRoutine(FirstRoutine);
    ReleaseExitRoutines();
    CallExitRoutines();
    EXPECT_TRUE(calls.empty());
}

TEST(SupportEntriesTest, TableEntriesOutOfRangeOrEmptyAnswerZero) {
    const auto& table = SupportEntries();
    EXPECT_EQ(table.CallTableEntry(-1, 1, 2, 3, 4), 0u);
    EXPECT_EQ(table.CallTableEntry(TableEntryNumber::ReadLibraryTypeMember, 1, 2, 3, 4), 0u);
    EXPECT_EQ(table.CallTableEntry(TableEntryNumber::Count, 1, 2, 3, 4), 0u);
}

TEST(SupportEntriesTest, MakeArrayPrivateThroughTheTable) {
    static int32_t constantArray[] = {1, 1, 42};
    SetConstantDataArea(constantArray, sizeof constantArray);
    void* variable = constantArray;
    SupportEntries().CallTableEntry(TableEntryNumber::MakeArrayPrivate, 4, reinterpret_cast<uintptr_t>(&variable), 0,
                                    0);
    ForgetConstantDataArea();
    ASSERT_TRUE(IsHeapBlock(variable));
    EXPECT_EQ(static_cast<int32_t*>(variable)[2], 42);
    FreeBlock(variable);
}

// A fresh folder under the temporary directory, removed with its files.
class TemporaryFolder {
public:
    TemporaryFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "quillet-search-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TemporaryFolder() {
        for (const auto& file : files_) DeleteFileA(file.c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(path_.c_str());
    }
    void AddFile(const std::string& name) {
        files_.push_back(path_ + "\\" + name);
        HANDLE file = CreateFileA(files_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    void AddFolder(const std::string& name) {
        folders_.push_back(path_ + "\\" + name);
        CreateDirectoryA(folders_.back().c_str(), nullptr);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> files_, folders_;
};

std::vector<std::string> SearchAll(const std::string& pattern, uint32_t mask, bool allEntries) {
    const auto& table = SupportEntries();
    void* handle = nullptr;
    std::vector<std::string> names;
    const char* next = pattern.c_str();
    while (char* name = reinterpret_cast<char*>(table.CallTableEntry(
               TableEntryNumber::FindFile, reinterpret_cast<uintptr_t>(next), mask, allEntries,
               reinterpret_cast<uintptr_t>(&handle)))) {
        names.push_back(name);
        FreeBlock(name);
        next = "";  // an empty pattern continues the search held in the variable
        EXPECT_NE(handle, nullptr);
    }
    EXPECT_EQ(handle, nullptr) << "the end of the search clears the variable";
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SupportEntriesTest, FileSearchFiltersFoldersUnlessAskedFor) {
    TemporaryFolder folder;
    folder.AddFile("a.txt");
    folder.AddFile("b.ini");
    folder.AddFolder("sub");
    const std::string all = folder.Path() + "\\*";
    EXPECT_EQ(SearchAll(all, 0, false), (std::vector<std::string>{"a.txt", "b.ini"}));
    EXPECT_EQ(SearchAll(all, FILE_ATTRIBUTE_DIRECTORY, false), (std::vector<std::string>{"a.txt", "b.ini", "sub"}));
    EXPECT_EQ(SearchAll(all, 0, true), (std::vector<std::string>{"a.txt", "b.ini", "sub"}));
    EXPECT_EQ(SearchAll(folder.Path() + "\\*.ini", 0, false), (std::vector<std::string>{"b.ini"}));
    EXPECT_TRUE(SearchAll(folder.Path() + "\\*.none", 0, false).empty());
}

TEST(ServicesTest, NotifyAnswersZeroUntilTheDispatcherIsInstalled) {
    InstallServiceFunction(nullptr);
    EXPECT_EQ(NotifyRuntime(ServiceCode::Allocate, 16, 0), 0u);
    InstallServiceFunction(DispatchService);

    void* block = reinterpret_cast<void*>(NotifyRuntime(ServiceCode::Allocate, 16, 0));
    EXPECT_EQ(HeapBlockSize(block), 16u);
    block = reinterpret_cast<void*>(NotifyRuntime(ServiceCode::Reallocate, reinterpret_cast<uintptr_t>(block), 40));
    EXPECT_EQ(HeapBlockSize(block), 40u);
    NotifyRuntime(ServiceCode::Free, reinterpret_cast<uintptr_t>(block));
    EXPECT_FALSE(IsHeapBlock(block));
    EXPECT_EQ(NotifyRuntime(ServiceCode::Allocate, 0x7FFFFFF0, 1), 0u) << "the no-report flag gives null";
    EXPECT_EQ(NotifyRuntime(12345, 1, 2), 0u);
}

TEST(ServicesTest, FreeArrayIgnoresTheArrayFlagOfTheElementType) {
    InstallServiceFunction(DispatchService);
    void* array = NewArray(2, ReferenceSize);
    char* element = CopyText("x");
    ArrayReferences(array)[1] = element;
    NotifyRuntime(ServiceCode::FreeArray, DataType::Text | DataType::ArrayFlag, reinterpret_cast<uintptr_t>(array));
    EXPECT_FALSE(IsHeapBlock(element));
    EXPECT_FALSE(IsHeapBlock(array));
}

TEST(StartupTest, RunDirectoryIsTheExecutablesFolder) {
    SupportEntries().CallTableEntry(TableEntryNumber::InitialiseRuntime, 0, 0, 0, 0);
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path);
    EXPECT_EQ(std::string(ProgramDirectory()) + "\\" + ProgramFileName(), full);
    EXPECT_EQ(std::string(ProgramFileName()), "runtime_tests.exe");
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, ProgramDirectory());
    const auto* folder = reinterpret_cast<const char*>(NotifyRuntime(ServiceCode::RunDirectory));
    EXPECT_STREQ(folder, ProgramDirectory());
}

TEST(StartupTest, PathSplitNeverTakesATrailByteForABackslash) {
    EXPECT_EQ(FindLastPathSeparator("C:\\dir\\name.exe"), 6);
    EXPECT_EQ(FindLastPathSeparator("name.exe"), -1);
    // 0x95 0x5C is one GBK character whose trail byte is a backslash.
    EXPECT_EQ(FindLastPathSeparator("C:\\a\\\x95\x5C.exe"), 4);
    EXPECT_EQ(FindLastPathSeparator("C:\\\x95\x5C\\b"), 5);
    // A lead byte at the very end is a truncated character: the scan stops there.
    EXPECT_EQ(FindLastPathSeparator("C:\\x\x95"), 2);
}

}  // namespace
}  // namespace quillet
