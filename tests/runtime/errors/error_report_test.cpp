// The fatal error report: its text, composed without showing it, and how a
// program ends after a runtime error, watched from outside as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/app/runtime_app.h"
#include "runtime/errors/error_report.h"
#include "tests/support/child_process.h"
#include "tests/support/fatal_guard.h"
#include "tests/support/temporary_folder.h"

namespace quillet {
namespace {

constexpr int32_t FailingSubroutine = 0x04010072;  // 67174514
constexpr int32_t FailingStatement = 475;
constexpr int32_t MainWindowId = 0x52010001;       // 1375797249
constexpr int32_t SomeUnitId = 0x16010001;         // 369164289

std::string Location(int32_t location1, int32_t location2) {
    ReportText location;
    ComposeLocationText(location1, location2, &location);
    return location.Get();
}

std::string Box(const char* message, int32_t errorNumber, int32_t location1, int32_t location2) {
    ReportText location, box;
    ComposeLocationText(location1, location2, &location);
    ComposeBoxText(message, errorNumber, location, &box);
    return box.Get();
}

const std::string SubscriptErrorBox =
    "运行时出错!\r\n"
    "\r\n错误代码：4\r\n"
    "\r\n错误信息：数组成员引用下标必须大于等于1\r\n"
    "\r\n67174514, 475\r\n";

TEST(ErrorReportTextTest, NumberedErrorOfCompiledCode) {
    EXPECT_EQ(Box(RuntimeErrorMessage(4), 4, FailingSubroutine, FailingStatement), SubscriptErrorBox);
    EXPECT_EQ(Box(RuntimeErrorMessage(1), 1, FailingSubroutine, 476),
              "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n67174514, 476\r\n");
}

TEST(ErrorReportTextTest, NumberZeroAndNoMessageShowOnlyTheHeadingAndLocation) {
    EXPECT_EQ(Box("", 0, 0, 0), "运行时出错!\r\n\r\n0, 0\r\n");
    EXPECT_EQ(Box(nullptr, 0, -1, -2), "运行时出错!\r\n\r\n-1, -2\r\n");
    EXPECT_EQ(Box("分配 64 字节内存失败!", 0, 0, 0), "运行时出错!\r\n\r\n错误信息：分配 64 字节内存失败!\r\n\r\n0, 0\r\n");
    EXPECT_EQ(Box("", 7, 1, 2), "运行时出错!\r\n\r\n错误代码：7\r\n\r\n1, 2\r\n");
}

TEST(ErrorReportTextTest, MessagesOfTheNumberedErrors) {
    EXPECT_STREQ(RuntimeErrorMessage(1), "数组成员引用下标超出定义范围");
    EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
    EXPECT_STREQ(RuntimeErrorMessage(9), "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
    EXPECT_STREQ(RuntimeErrorMessage(0), "") << "there is no entry 0";
    EXPECT_STREQ(RuntimeErrorMessage(12), "");
    EXPECT_STREQ(RuntimeErrorMessage(-1), "");
}

TEST(ErrorReportTextTest, AWindowIdOfAWindowThatIsNotLoaded) {
    SetWindowTagLookup(nullptr);
    EXPECT_EQ(Location(MainWindowId, SomeUnitId), "\r\n1375797249, 369164289\r\n未找到所指定的窗口\r\n");
    EXPECT_EQ(Box("指定窗口或窗口组件不存在或尚未载入", 0, MainWindowId, 0),
              "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"
              "\r\n1375797249, 0\r\n未找到所指定的窗口\r\n");
    // Only ids of the window kind are looked up.
    EXPECT_EQ(Location(0x06010000, 0), "\r\n100728832, 0\r\n");
    EXPECT_EQ(Location(SomeUnitId, 0), "\r\n369164289, 0\r\n");
}

// One loaded window, 0x52010001 tagged "主窗口", with unit 0x16010001 tagged
// "编辑", an untagged unit, and a menu item.
uint32_t askedUnit = 0xFFFFFFFF;
bool LookUpTags(uint32_t windowId, uint32_t unitId, WindowTags* tags) {
    askedUnit = unitId;
    if (windowId != static_cast<uint32_t>(MainWindowId)) return false;
    tags->windowTag = "主窗口";
    tags->recordFound = 1;
    switch (unitId) {
    case 0: tags->recordId = 0x06010000, tags->recordTag = "主窗口"; break;
    case 0x16010001: tags->recordId = unitId, tags->recordTag = "编辑"; break;
    case 0x16010002: tags->recordId = unitId, tags->recordTag = nullptr; break;
    case 0x26010001: tags->recordId = unitId, tags->recordTag = "菜单"; break;
    default: tags->recordFound = 0;
    }
    return true;
}

TEST(ErrorReportTextTest, TagLinesOfALoadedWindowAndItsUnit) {
    SetWindowTagLookup(LookUpTags);
    EXPECT_EQ(Location(MainWindowId, SomeUnitId), "\r\n1375797249, 369164289\r\n\"主窗口\"\r\n\"编辑\"\r\n");
    EXPECT_EQ(Location(MainWindowId, 0), "\r\n1375797249, 0\r\n\"主窗口\"\r\n\"主窗口\"\r\n");
    EXPECT_EQ(askedUnit, 0u) << "unit 0 asks for the window's first record";
    EXPECT_EQ(Location(MainWindowId, 0x16010002), "\r\n1375797249, 369164290\r\n\"主窗口\"\r\n\"\"\r\n")
        << "an empty tag shows two quote marks";
    EXPECT_EQ(Location(MainWindowId, 0x26010001), "\r\n1375797249, 637599745\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n")
        << "a menu item is no unit";
    EXPECT_EQ(Location(MainWindowId, 0x16010009), "\r\n1375797249, 369164297\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n");
    EXPECT_EQ(Location(0x52010002, 0), "\r\n1375797250, 0\r\n未找到所指定的窗口\r\n");
    SetWindowTagLookup(nullptr);
}

TEST(ErrorReportTextTest, LongTextsAreCutAtACharacterBoundary) {
    ReportText text;
    text.Append(std::string(ReportText::Capacity - 2, 'x').c_str());
    text.Append("字");  // one byte of room left: the character does not fit
    EXPECT_EQ(text.Length(), ReportText::Capacity - 2);
    text.Append("ab");
    EXPECT_EQ(text.Length(), ReportText::Capacity - 1);
    EXPECT_EQ(std::string(text.Get()), std::string(ReportText::Capacity - 2, 'x') + "a");
}

// A message loop that cannot take messages any more ends the program with the
// report, not with the quiet end of a WM_QUIT.
TEST(FatalErrorTest, AMessageSourceThatKeepsFailingIsReported) {
    const auto report = CatchFatalReport([] { App().OnMessageSourceFailed(); });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->number, 0);
    EXPECT_EQ(report->text, "获取窗口消息失败\r\n0, 0\r\n");
}

// The probe program runs one scenario through the support entries; its exit
// routines and error hook write lines into the marks file.
class FatalErrorProcessTest : public testing::Test {
protected:
    ChildRun RunProbe(const char* scenario) {
        std::string command = BesideTests("runtime_probe.exe");
        command.insert(0, 1, '"');
        command.append("\" ").append(scenario).append(" \"").append(marks).append("\"");
        return RunChildProcess(command);
    }

    TemporaryFolder folder{"quillet-probe"};
    const std::string marks = folder.File("marks.txt");
};

constexpr DWORD ExitAfterError = 0xFFFFFFFF;

// Each scenario: the box it shows (none where null), titled 错误 with OK alone;
// its exit code; what its exit routines and error hook marked.
TEST_F(FatalErrorProcessTest, EachScenarioEndsWithItsBoxItsCodeAndItsMarks) {
    struct Case {
        const char* scenario;
        const char* box;
        DWORD exitCode;
        const char* marks;
        const char* why;
    };
    const Case cases[] = {
        {"subscript-error", SubscriptErrorBox.c_str(), ExitAfterError, "", "no exit routine runs after a runtime error"},
        {"subscript-past-end",
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n67174514, 475\r\n",
         ExitAfterError, "", "error 1"},
        {"allocation-failure", "运行时出错!\r\n\r\n错误信息：分配 2147418112 字节内存失败!\r\n\r\n0, 0\r\n",
         ExitAfterError, "", "the size is named"},
        {"window-not-loaded",
         "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n"
         "\r\n1375797249, 369164289\r\n未找到所指定的窗口\r\n",
         ExitAfterError, "", "a unit of a window that is not loaded"},
        {"exit-routines", nullptr, 0, "exit first\nexit second\n", "each exit routine once, in order"},
        // Events were already suppressed when the hook ran; it got the message and the location text.
        {"error-hook", nullptr, ExitAfterError, "hook 4 suppressed=1\n数组成员引用下标必须大于等于1\r\n67174514, 475\r\n\n",
         "a hook that presents the error replaces the box"},
        {"hook-error",
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n67174514, 476\r\n",
         ExitAfterError, "hook 4\n", "an error inside the hook goes straight to the box; the hook ran once"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        DeleteFileA(marks.c_str());
        const ChildRun run = RunProbe(c.scenario);
        ASSERT_TRUE(run.started);
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.box.found, c.box != nullptr) << run.box.text;
        if (c.box != nullptr) {
            EXPECT_EQ(run.box.title, "错误");
            EXPECT_EQ(run.box.text, c.box);
            EXPECT_EQ(run.box.buttonIds, std::vector<int>{IDOK});
        }
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(FileBytes(marks), c.marks) << c.why;
    }
}

}  // namespace
}  // namespace quillet
