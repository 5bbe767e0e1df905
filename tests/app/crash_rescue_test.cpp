// A crash ends the tool through the runtime's report, and the text of its
// boxes goes into a rescue file first. Each kind of crash runs in the crash
// probe (tests/app/crash_probe.cpp) as a process of its own; the test reads
// the box it shows, its exit code and the file the box names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "app/template_description.h"
#include "tests/support/child_process.h"
#include "tests/support/rescued_texts.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace Unit = quillet::app::Unit;
using Sections = std::map<std::string, std::string>;

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// A rescue file's texts by title (rescue_file.h tells its form); empty when
// the file is not of that form.
Sections RescuedSections(const std::string& file) {
    Sections sections;
    if (file.rfind("\xEF\xBB\xBF==== ", 0) != 0) return {};
    for (size_t at = 3; at < file.size();) {
        const size_t titleEnd = file.find(" ====\r\n", at), next = file.find("\r\n\r\n==== ", titleEnd);
        const size_t end = std::min(next, file.size() - 2);
        if (file.compare(at, 5, "==== ") != 0 || titleEnd > end || file.compare(end, 2, "\r\n") != 0) return {};
        sections[file.substr(at + 5, titleEnd - at - 5)] = file.substr(titleEnd + 7, end - titleEnd - 7);
        at = end + 4;
    }
    return sections;
}

std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }  // ASCII: temporary folders

struct CrashEnd {
    ChildRun run;
    Sections facts;          // the probe's records: "held-bytes" → "1234"
    std::string rescuePath;  // as the box names it, after 已保存到：
};

// The probe, copied into the folder, run with a scenario.
CrashEnd RunCrashProbe(const std::string& folder, const char* scenario, const std::string& records,
                       const ChildWatch& watch = {}) {
    CopyFileW(Wide(BesideTests("crash_probe.exe")).c_str(), Wide(folder + "\\crash_probe.exe").c_str(), FALSE);
    DeleteFileW(Wide(records).c_str());
    CrashEnd end;
    end.run = RunChildProcess("\"" + folder + "\\crash_probe.exe\" --scenario=" + scenario + " \"--records=" + records + "\"",
                              IDOK, 60000, watch);
    std::ifstream in(records);
    for (std::string fact; std::getline(in, fact);) end.facts[fact.substr(0, fact.find(' '))] = fact.substr(fact.find(' ') + 1);
    const std::string& box = end.run.box.text, lead = "已保存到：\r\n";
    if (const size_t at = box.find(lead) + lead.size(); at >= lead.size())  // not found: npos wraps below
        end.rescuePath = box.substr(at, box.find("\r\n", at) - at);
    return end;
}

int RescueFilesIn(const std::string& folder) {
    return static_cast<int>(std::ranges::count_if(std::filesystem::directory_iterator(folder), [](const auto& entry) {
        return entry.path().filename().string().starts_with("crash_probe-rescue-");
    }));
}

// The report's box; a file with the main box as given, the two single-line
// boxes that hold text, and the text from before the run if one began.
void ExpectReportAndRescue(const CrashEnd& end, const char* message, const std::wstring& mainBox, bool runBegun) {
    EXPECT_EQ(end.run.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(end.run.box.title, "错误");
    EXPECT_NE(end.run.box.text.find(message), std::string::npos) << end.run.box.text;
    const auto title = [](quillet::app::UnitId unit) { return Utf8(L"编辑框 " + std::to_wstring(quillet::app::LoadedControlId(unit))); };
    Sections expected = {{title(Unit::MainBox), Utf8(mainBox)}, {title(Unit::PrefixBox), Utf8(rescuedtexts::PrefixText)},
                         {title(Unit::StartNumberBox), "1"}};
    if (runBegun) expected[Utf8(L"运行前的文本（撤消可恢复）")] = Utf8(rescuedtexts::MainText());
    EXPECT_TRUE(RescuedSections(FileBytes(end.rescuePath)) == expected) << "in " << end.rescuePath;
}

TEST(CrashRescueTest, EachKindOfCrashIsReportedAndEveryBoxsTextSavedInANewFileBesideTheProgram) {
    const struct {
        const char* scenario;
        const char* message;
        bool onAnotherThread;  // so the main thread shows the box; for its own crash another does
    } cases[] = {
        {"fault-before-run", "访问违例（写入地址 0x00000000）", false},
        {"fault", "访问违例（写入地址 0x00000000）", false},
        {"window-fault", "访问违例（写入地址 0x00000000）", false},
        {"stack-overflow", "堆栈溢出", false},
        {"out-of-memory", "内存不足", false},
        {"throw", "未处理的 C++ 异常：probe exception", false},
        {"thread-fault", "访问违例（写入地址 0x00000000）", true},
        {"thread-throw", "未处理的 C++ 异常：probe exception on a thread", true},
    };
    TemporaryFolder folder("quillet-crash");  // one for all: each crash a file of its own, the earlier ones kept
    std::map<std::string, std::string> saved;  // each file's bytes by its path
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        CrashEnd end = RunCrashProbe(folder.Path(), c.scenario, folder.File("records.txt"));
        EXPECT_EQ(end.rescuePath.rfind(folder.Path() + "\\crash_probe-rescue-", 0), 0u) << end.run.box.text;
        EXPECT_TRUE(saved.emplace(end.rescuePath, FileBytes(end.rescuePath)).second) << "a new file";
        EXPECT_EQ(std::to_string(end.run.box.threadId) == end.facts["main-thread"], c.onAnotherThread);
        const bool runBegun = c.scenario != std::string("fault-before-run");
        EXPECT_EQ(end.facts["held-bytes"] != "0", runBegun) << "held back at the crash";
        ExpectReportAndRescue(end, c.message, runBegun ? rescuedtexts::RunOutput() : rescuedtexts::MainText(), runBegun);
    }
    for (const auto& [path, bytes] : saved) EXPECT_TRUE(FileBytes(path) == bytes) << path;
}

// A crash on a thread started in the probe from outside (at address 0), its
// box left up past the 5 s the runtime's thread waits for the main thread to
// take the report: one report (each saves a file), on the main thread.
TEST(CrashRescueTest, ACrashOfAnotherThreadIsReportedOnceHoweverLongTheBoxStaysUp) {
    TemporaryFolder folder("quillet-crash");
    const std::string records = folder.File("records.txt");
    const auto startThread = [&](HANDLE process) {  // once the run has begun
        for (int i = 0; i < 600 && FileBytes(records).find("held-bytes") == std::string::npos; ++i) Sleep(50);
        CloseHandle(CreateRemoteThread(process, nullptr, 0, nullptr, nullptr, 0, nullptr));
    };
    CrashEnd end = RunCrashProbe(folder.Path(), "no-fault", records, {startThread, [](HWND) { Sleep(7000); }});
    EXPECT_EQ(RescueFilesIn(folder.Path()), 1);
    EXPECT_EQ(std::to_string(end.run.box.threadId), end.facts["main-thread"]);
    ExpectReportAndRescue(end, "访问违例（执行地址 0x00000000）", rescuedtexts::RunOutput(), true);
}

// Whole, in the temporary folder, when the program's folder takes no file,
// or not all of it: a full disk, which the probe makes by failing the writes
// to its first file; the part written beside the program is removed.
TEST(CrashRescueTest, ARescueThatCannotBeCompletedBesideTheProgramGoesWholeToTheTemporaryFolder) {
    for (const bool fullDisk : {true, false}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "unwritable folder");
        TemporaryFolder folder("quillet-crash"), records("quillet-crash-records");
        CopyFileW(Wide(BesideTests("crash_probe.exe")).c_str(), Wide(folder.File("crash_probe.exe")).c_str(), FALSE);
        CrashEnd end;
        {
            std::optional<UnwritableFolder> unwritable;
            if (!fullDisk && !unwritable.emplace(Wide(folder.Path())).Unwritable())
                GTEST_SKIP() << "no way to make a folder unwritable here";
            end = RunCrashProbe(folder.Path(), fullDisk ? "full-disk" : "fault", records.File("records.txt"));
        }
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        EXPECT_EQ(Wide(end.rescuePath).rfind(std::wstring(temporary) + L"crash_probe-rescue-", 0), 0u) << end.run.box.text;
        ExpectReportAndRescue(end, "访问违例", rescuedtexts::RunOutput(), true);
        EXPECT_EQ(RescueFilesIn(folder.Path()), 0);
        DeleteFileW(Wide(end.rescuePath).c_str());
    }
}

}  // namespace
