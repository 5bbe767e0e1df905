// A crash ends the tool through the runtime's report, and the text of its
// boxes goes into a rescue file first. Each kind of crash runs in the crash
// probe (the tool with a handler that crashes, tests/app/crash_probe.cpp) as
// a process of its own; the test reads the box it shows, its exit code, and
// the file the box names.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>

#include "app/template_description.h"
#include "app/unit_ids.h"
#include "tests/support/child_process.h"
#include "tests/support/rescued_texts.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/unwritable_folder.h"

namespace {

namespace Unit = quillet::app::Unit;
using rescuedtexts::Sections;
using rescuedtexts::Utf8;

struct CrashEnd {
    ChildRun run;
    std::map<std::string, std::string> facts;  // what the probe recorded: "held-bytes" → "1234"
    std::string rescuePath;                    // as the box names it; empty when it names none
};

// The path on the line after 已保存到：, as the box shows it.
std::string RescuePathIn(const std::string& box) {
    const std::string lead = "已保存到：\r\n";
    const size_t at = box.find(lead);
    if (at == std::string::npos) return "";
    const size_t start = at + lead.size();
    return box.substr(start, box.find("\r\n", start) - start);
}

// The probe at `program` run with one scenario, recording into `records`.
CrashEnd RunProbeAt(const std::string& program, const char* scenario, const std::string& records) {
    std::string line = "\"";
    line.append(program).append("\" ").append(scenario).append(" \"").append(records).append("\"");
    CrashEnd end;
    end.run = RunChildProcess(line, IDOK, 60000);
    std::ifstream in(records);
    for (std::string line; std::getline(in, line);)
        end.facts[line.substr(0, line.find(' '))] = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
    end.rescuePath = RescuePathIn(end.run.box.text);
    return end;
}

// The probe copied into the folder and run there.
CrashEnd RunCrashProbe(const std::string& folder, const char* scenario) {
    const std::string program = folder + "\\crash_probe.exe";
    const std::string records = folder + "\\records.txt";
    if (!CopyFileA(BesideTests("crash_probe.exe").c_str(), program.c_str(), FALSE)) return {};
    DeleteFileA(records.c_str());
    return RunProbeAt(program, scenario, records);
}

std::string BoxTitle(quillet::app::UnitId unit) {
    return Utf8(L"编辑框 " + std::to_wstring(quillet::app::LoadedControlId(unit)));
}

const std::string UndoTitle = Utf8(L"运行前的文本（撤消可恢复）");

// What the file must hold: the main box as given, the two single-line boxes
// that hold text (the prefix the probe wrote, the start number's "1"), and
// the text from before the run when the run had begun.
std::map<std::string, std::string> ExpectedSections(const std::string& mainBox, bool undo) {
    std::map<std::string, std::string> expected = {
        {BoxTitle(Unit::MainBox), mainBox},
        {BoxTitle(Unit::PrefixBox), Utf8(rescuedtexts::PrefixText)},
        {BoxTitle(Unit::StartNumberBox), "1"},
    };
    if (undo) expected[UndoTitle] = Utf8(rescuedtexts::MainText());
    return expected;
}

// Texts of megabytes are compared without printing them.
void ExpectSameSections(const std::map<std::string, std::string>& seen, const std::map<std::string, std::string>& expected) {
    EXPECT_EQ(seen.size(), expected.size());
    for (const auto& [title, text] : expected) {
        const auto found = seen.find(title);
        ASSERT_NE(found, seen.end()) << "no section " << title;
        EXPECT_TRUE(found->second == text) << title << ": " << found->second.size() << " bytes, expected "
                                           << text.size() << "; first difference at "
                                           << std::mismatch(text.begin(), text.end(), found->second.begin(),
                                                            found->second.end()).first - text.begin();
    }
}

void ExpectReportedEnd(const CrashEnd& end, const char* message) {
    ASSERT_TRUE(end.run.started);
    EXPECT_TRUE(end.run.finished);
    EXPECT_EQ(end.run.exitCode, 0xFFFFFFFFu) << "a crash ends as every fatal error: -1";
    ASSERT_TRUE(end.run.box.found) << "one box, the report's";
    EXPECT_EQ(end.run.box.title, "错误");
    EXPECT_EQ(end.run.box.text.rfind("运行时出错!\r\n", 0), 0u) << end.run.box.text;
    EXPECT_NE(end.run.box.text.find(message), std::string::npos) << end.run.box.text;
    EXPECT_EQ(end.facts.count("finish-startup"), 0u) << "the process ended inside its main loop";
}

// Which thread showed the box: the main thread for a crash of another thread
// (whose windows and texts it saves); another for its own crash, while it stands still.
void ExpectBoxShownBy(const CrashEnd& end, bool mainThread) {
    ASSERT_EQ(end.facts.count("main-thread"), 1u);
    EXPECT_EQ(std::to_string(end.run.box.threadId) == end.facts.at("main-thread"), mainThread);
}

TEST(CrashRescueTest, EachKindOfCrashIsReportedAndEveryBoxsTextSavedBesideTheProgram) {
    enum class MainBox { WholeText, RunOutput, RunSoFar };
    struct Case {
        const char* scenario;
        const char* message;  // a part of the box's text
        MainBox mainBox;      // what the main box holds: the text the probe wrote, the run's output, or a real run's so far
        bool runBegun;        // the text from before the run is kept, and the box held output back at the crash
        bool onAnotherThread;  // the crash is not the main thread's
    };
    const Case cases[] = {
        {"fault-before-run", "访问违例（写入地址 0x00000000）", MainBox::WholeText, false, false},
        {"fault", "访问违例（写入地址 0x00000000）", MainBox::RunOutput, true, false},
        {"stack-overflow", "堆栈溢出", MainBox::RunOutput, true, false},
        {"out-of-memory", "内存不足", MainBox::RunOutput, true, false},
        {"throw", "未处理的 C++ 异常：probe exception", MainBox::RunOutput, true, false},
        {"thread-fault", "访问违例（写入地址 0x00000000）", MainBox::RunOutput, true, true},
        {"thread-throw", "未处理的 C++ 异常：probe exception on a thread", MainBox::RunOutput, true, true},
        {"fault-in-window-during-run", "访问违例（写入地址 0x00000000）", MainBox::RunSoFar, true, false},
    };
    const std::wstring mainText = rescuedtexts::MainText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        TemporaryFolder folder("quillet-crash");
        const CrashEnd end = RunCrashProbe(folder.Path(), c.scenario);
        ExpectReportedEnd(end, c.message);
        ExpectBoxShownBy(end, c.onAnotherThread);
        ASSERT_EQ(end.rescuePath.rfind(folder.Path() + "\\crash_probe-rescue-", 0), 0u) << end.run.box.text;
        if (c.runBegun) {
            EXPECT_GT(std::stoul(end.facts.at("held-bytes")), 0u) << "the box held output back";
        }

        std::string mainBox;
        switch (c.mainBox) {
        case MainBox::WholeText: mainBox = Utf8(mainText); break;
        case MainBox::RunOutput: mainBox = Utf8(rescuedtexts::RunOutput()); break;
        case MainBox::RunSoFar: {
            const std::wstring cleaned = rescuedtexts::Cleaned(mainText);
            const size_t units = std::stoul(end.facts.at("box-units"));
            ASSERT_GT(units, 0u);
            ASSERT_LE(units, cleaned.size());
            mainBox = Utf8(cleaned.substr(0, units));
            break;
        }
        }
        ExpectSameSections(Sections(FileBytes(end.rescuePath)), ExpectedSections(mainBox, c.runBegun));
    }
}

TEST(CrashRescueTest, ASecondCrashSavesIntoANewFileAndLeavesTheFirst) {
    TemporaryFolder folder("quillet-crash");
    const CrashEnd first = RunCrashProbe(folder.Path(), "fault");
    ASSERT_FALSE(first.rescuePath.empty()) << first.run.box.text;
    const std::string firstBytes = FileBytes(first.rescuePath);
    const CrashEnd second = RunCrashProbe(folder.Path(), "fault-before-run");
    ASSERT_FALSE(second.rescuePath.empty()) << second.run.box.text;
    EXPECT_NE(second.rescuePath, first.rescuePath);
    EXPECT_TRUE(FileBytes(first.rescuePath) == firstBytes) << "the first file is as it was";
    ExpectSameSections(Sections(FileBytes(second.rescuePath)), ExpectedSections(Utf8(rescuedtexts::MainText()), false));
}

TEST(CrashRescueTest, AProgramFolderThatCannotBeWrittenSendsTheFileToTheTemporaryFolder) {
    TemporaryFolder folder("quillet-crash");
    ASSERT_TRUE(CopyFileA(BesideTests("crash_probe.exe").c_str(), folder.File("crash_probe.exe").c_str(), FALSE));
    CrashEnd end;
    {
        const UnwritableFolder unwritable(std::wstring(folder.Path().begin(), folder.Path().end()));
        if (!unwritable.Unwritable()) GTEST_SKIP() << "no way to make a folder unwritable here";
        // The record file goes elsewhere: nothing can be written beside the probe now.
        TemporaryFolder records("quillet-crash-records");
        end = RunProbeAt(folder.File("crash_probe.exe"), "fault", records.File("records.txt"));
    }
    ExpectReportedEnd(end, "访问违例");
    char temporary[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temporary);
    ASSERT_EQ(end.rescuePath.rfind(std::string(temporary) + "crash_probe-rescue-", 0), 0u) << end.run.box.text;
    ExpectSameSections(Sections(FileBytes(end.rescuePath)), ExpectedSections(Utf8(rescuedtexts::RunOutput()), true));
    DeleteFileA(end.rescuePath.c_str());
}

}  // namespace
