// quillet.exe as a user runs it: its settings file across two starts, and the
// end of the process when the window is closed in the middle of a long run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/running_tool.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace Unit = quillet::app::Unit;

std::string Stored(const std::string& file, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA("replace", key, "(missing)", value, sizeof value, file.c_str());
    return value;
}

// Ends the tool by closing its window and checks that it ended as a program should.
void CloseAndExpectCleanEnd(RunningTool& tool) {
    ASSERT_TRUE(tool.Close());
    EXPECT_EQ(tool.ExitCode(), 0u);
    const SeenMessageBox box = tool.Box();
    EXPECT_FALSE(box.found) << box.title << ": " << box.text;
}

TEST(SettingsFileTest, TheListsOutliveTheProgramAsTheBoxesHeldThem) {
    TemporaryFolder folder;
    const std::string file = folder.File("qlt_config.ini");
    {
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.Text(Unit::SubjectBox), "");  // no settings file yet
        EXPECT_EQ(tool.Text(Unit::PredicateBox), "");
        tool.SetText(Unit::MainBox, "中 b 中b");
        tool.ShowPage(2);
        tool.SetText(Unit::SubjectBox, "中,b,");
        tool.SetText(Unit::PredicateBox, "甲,乙");
        tool.Click(Unit::ReplaceButton);
        EXPECT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "甲 乙 甲乙\r\n"; }));
        EXPECT_EQ(tool.Text(Unit::SubjectBox), "中,b");  // stripped in the box
        CloseAndExpectCleanEnd(tool);
    }
    // The file holds the boxes as they were before the stripping, in GBK.
    EXPECT_EQ(Stored(file, "#subject"), "中,b,");
    EXPECT_EQ(Stored(file, "#predicate"), "甲,乙");
    EXPECT_NE(FileBytes(file).find("[replace]"), std::string::npos);
    {
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.Text(Unit::SubjectBox), "中,b,");
        EXPECT_EQ(tool.Text(Unit::PredicateBox), "甲,乙");
        CloseAndExpectCleanEnd(tool);
    }
}

// Lists of characters GBK lacks replace them, turn the file into UTF-16 (it was
// GBK while it held only GBK), and come back exactly at the next start.
TEST(SettingsFileTest, ListsOfAnyCharacterReplaceAndComeBackAfterARestart) {
    TemporaryFolder folder;
    const std::string file = folder.File("qlt_config.ini");
    const std::wstring subjects = L"\U0001F600,\U00020BB7,\uD55C", predicates = L"笑,\U0001F431,韩";
    {
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        tool.ShowPage(2);
        tool.SetText(Unit::MainBox, "a");
        tool.SetText(Unit::SubjectBox, "a");
        tool.SetText(Unit::PredicateBox, "b");
        tool.Click(Unit::ReplaceButton);
        ASSERT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "b\r\n"; }));
        EXPECT_EQ(FileBytes(file).rfind("\xFF\xFE", 0), std::string::npos) << "GBK lists keep the file GBK";

        tool.SetWideText(Unit::MainBox, L"\U0001F600 \U00020BB7\uD55C \U0001F600\U0001F3FD");
        tool.SetWideText(Unit::SubjectBox, subjects);
        tool.SetWideText(Unit::PredicateBox, predicates);
        tool.Click(Unit::ReplaceButton);
        const std::wstring replaced = L"笑 \U0001F431韩 笑\U0001F3FD\r\n";
        const DWORD start = GetTickCount();
        while (tool.WideText(Unit::MainBox) != replaced && GetTickCount() - start < 20000) Sleep(50);
        EXPECT_EQ(tool.WideText(Unit::MainBox), replaced);
        CloseAndExpectCleanEnd(tool);
    }
    EXPECT_EQ(FileBytes(file).rfind("\xFF\xFE", 0), 0u) << "the file is UTF-16 with a byte-order mark";
    {
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.WideText(Unit::SubjectBox), subjects);
        EXPECT_EQ(tool.WideText(Unit::PredicateBox), predicates);
        CloseAndExpectCleanEnd(tool);
    }
}

TEST(SettingsFileTest, AFileWrittenBeforeTheStartFillsTheBoxes) {
    TemporaryFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("qlt_config.ini"), "[replace]\r\n#subject=a,b\r\n#predicate=x,y\r\n"));
    RunningTool tool(folder.Path());
    ASSERT_TRUE(tool.Started());
    EXPECT_EQ(tool.Text(Unit::SubjectBox), "a,b");
    EXPECT_EQ(tool.Text(Unit::PredicateBox), "x,y");
    CloseAndExpectCleanEnd(tool);
}

TEST(SettingsFileTest, AReadOnlyFileIsReadAndSilentlyLeftAsItWas) {
    TemporaryFolder folder;
    const std::string file = folder.File("qlt_config.ini");
    const std::string content = "[replace]\r\n#subject=a\r\n#predicate=b\r\n";
    ASSERT_TRUE(WriteFileBytes(file, content));
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    RunningTool tool(folder.Path());
    ASSERT_TRUE(tool.Started());
    EXPECT_EQ(tool.Text(Unit::SubjectBox), "a");
    tool.SetText(Unit::MainBox, "a c");
    tool.ShowPage(2);
    tool.SetText(Unit::SubjectBox, "c");
    tool.Click(Unit::ReplaceButton);
    EXPECT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "a b\r\n"; }));
    CloseAndExpectCleanEnd(tool);
    EXPECT_EQ(FileBytes(file), content);
}

// Text of many lines, so that a run is still in its per-line loop a moment
// after the click.
std::string ManyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += " line \t of text\r\n";
    return text;
}

// A run that calls ProcessEvents once per line: a WM_CLOSE reaches the window
// in the middle of it, and the run must stop rather than reach for units that
// are gone (which would end the program with a runtime error).
TEST(EndOfProcessTest, ClosingTheWindowDuringARunEndsTheProgramCleanly) {
    struct Run {
        const char* tool;
        int32_t page;
        std::vector<quillet::app::UnitId> optionClicks;
        quillet::app::UnitId button;
    };
    const Run runs[] = {
        {"numbering", 1, {}, Unit::NumberingButton},
        // Joining lines alone: "去空格" and "去#Tab空格" unticked, "去换行符" ticked,
        // which unticks "去空行".
        {"joining lines", 0, {Unit::RemoveSpacesBox, Unit::RemoveTabsBox, Unit::JoinLinesBox}, Unit::CleanupButton},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.tool);
        TemporaryFolder folder;
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        const std::string text = ManyLines(2000);
        tool.SetText(Unit::MainBox, text);
        tool.ShowPage(run.page);
        for (quillet::app::UnitId option : run.optionClicks) tool.Click(option);
        tool.Click(run.button);
        // The run has begun rewriting the box.
        ASSERT_TRUE(tool.WaitForText(Unit::MainBox, [&](const std::string& now) { return now != text; }));
        Sleep(300);
        EXPECT_NE(tool.Text(Unit::MainBox).size(), text.size()) << "the run ended before the window was closed";
        CloseAndExpectCleanEnd(tool);
    }
}

// A text of two million characters sent to the main box from another program:
// Wine fails the tool's take of that message (GetMessage answers -1 once) and
// the message is lost, unanswered. The tool goes on as it was, box and all, and
// ends cleanly when closed.
TEST(EndOfProcessTest, AHugeTextSentFromAnotherProgramLeavesTheToolRunning) {
    TemporaryFolder folder;
    RunningTool tool(folder.Path());
    ASSERT_TRUE(tool.Started());
    tool.SetText(Unit::MainBox, "kept");
    const std::wstring huge(2000000, L'x');
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(tool.Unit(Unit::MainBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(huge.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &answer);
    Sleep(300);
    ASSERT_EQ(tool.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(tool.Text(Unit::MainBox), "kept");
    CloseAndExpectCleanEnd(tool);
}

}  // namespace
