// quillet.exe as a user runs it: the focus at start, its settings file across two starts, the end
// of the process when the window is closed in the middle of a long run, and a
// start with window template data that cannot be read.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/program.h"
#include "tests/app/running_tool.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace Unit = quillet::app::Unit;

// Once its window is shown the tool puts the focus in the main box, so that
// Ctrl+V pastes there at once (the page's first check box had it before).
TEST(StartTest, TheMainBoxHasTheFocusOnceTheWindowIsShown) {
    TemporaryFolder folder;
    RunningTool tool(folder.Path());
    ASSERT_TRUE(tool.Started());
    HWND box = tool.Unit(Unit::MainBox);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    for (int tries = 0; tries < 100; ++tries) {
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread));
        if (thread.hwndFocus == box) break;
        Sleep(50);
    }
    EXPECT_EQ(thread.hwndFocus, box);
}

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

// quillet.exe 名字.txt, as Explorer's "Open with" starts it: the file opens at
// start, named against the folder the tool was started in; 保存 writes a run's
// result back in the file's form (LF breaks here); closing with unsaved
// changes asks, and the answer decides the file's bytes.
TEST(CommandLineFileTest, AFileNamedOnTheCommandLineOpensAndIsSavedInItsForm) {
    TemporaryFolder folder;
    const std::string work = folder.File("work");
    CreateDirectoryA(work.c_str(), nullptr);
    const std::wstring name = L"\u540D\u5B57 \u30C6\u30B9\u30C8.txt";  // 名字 テスト.txt
    std::wstring path(work.size() + 1, L'\0');
    path.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, work.data(), static_cast<int>(work.size()),
                                                         path.data(), static_cast<int>(path.size()))));
    path += L"\\" + name;
    const struct {
        int closeAnswer;    // 0: saved with 保存 first, nothing to ask
        std::string bytes;  // the file's at the end
    } runs[] = {{0, "alpha\nbeta\n"}, {IDNO, "  alpha\n\nbeta\n"}, {IDYES, "alpha\nbeta\n"}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.closeAnswer);
        ASSERT_TRUE(WriteFileBytes(path, "  alpha\n\nbeta\n"));
        RunningTool tool(folder.Path(), {L"\"" + name + L"\"", work, run.closeAnswer != 0 ? run.closeAnswer : IDOK});
        ASSERT_TRUE(tool.Started());
        ASSERT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& t) { return t == "  alpha\r\n\r\nbeta\r\n"; }));
        tool.Click(Unit::CleanupButton);
        ASSERT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& t) { return t == "alpha\r\nbeta\r\n"; }));
        if (run.closeAnswer == 0) {
            tool.Click(Unit::SaveLabel);
            for (int wait = 0; wait < 200 && FileBytes(path) != run.bytes; ++wait) Sleep(50);
            CloseAndExpectCleanEnd(tool);
        } else {
            ASSERT_TRUE(tool.Close());
            EXPECT_EQ(tool.ExitCode(), 0u);
            EXPECT_TRUE(tool.Box().found);
        }
        EXPECT_EQ(FileBytes(path), run.bytes);
    }
}

// A tool started in the folder holds these lists in its boxes (read in the
// width of Text: as a GBK program reads them, or as UTF-16) and ends cleanly
// when closed.
template <typename Text>
void ExpectListsAfterStart(const std::string& folder, const Text& subjects, const Text& predicates) {
    RunningTool tool(folder);
    ASSERT_TRUE(tool.Started());
    const auto read = [&tool](auto box) {
        if constexpr (std::is_same_v<Text, std::wstring>)
            return tool.WideText(box);
        else
            return tool.Text(box);
    };
    EXPECT_EQ(read(Unit::SubjectBox), subjects);
    EXPECT_EQ(read(Unit::PredicateBox), predicates);
    CloseAndExpectCleanEnd(tool);
}

// The lists live beside the program where a file of them is (a copy carried on
// a stick), else in the application data, where the first run makes the folder
// and the file (a folder that refuses new files is made to fail in the
// commands' tests). The file holds the boxes as they were before the
// stripping, in GBK.
TEST(SettingsFileTest, TheListsOutliveTheProgramBesideItOrInTheApplicationData) {
    for (const bool inAppData : {false, true}) {
        SCOPED_TRACE(inAppData ? "in the application data" : "beside the program");
        TemporaryFolder folder;
        const std::string beside = folder.File("qlt_config.ini");
        const std::string appData = folder.File("AppData\\Quillet\\qlt_config.ini");
        ASSERT_TRUE(inAppData || WriteFileBytes(beside, ""));
        {
            RunningTool tool(folder.Path());
            ASSERT_TRUE(tool.Started());
            tool.SetText(Unit::MainBox, "中 b 中b");
            tool.ShowPage(2);
            tool.SetText(Unit::SubjectBox, "中,b,");
            tool.SetText(Unit::PredicateBox, "甲,乙");
            tool.Click(Unit::ReplaceButton);
            EXPECT_TRUE(
                tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "甲 乙 甲乙\r\n"; }));
            EXPECT_EQ(tool.Text(Unit::SubjectBox), "中,b");  // stripped in the box
            CloseAndExpectCleanEnd(tool);
        }
        const std::string& used = inAppData ? appData : beside, &other = inAppData ? beside : appData;
        EXPECT_EQ(Stored(used, "#subject"), "中,b,");
        EXPECT_EQ(Stored(used, "#predicate"), "甲,乙");
        EXPECT_EQ(Stored(other, "#subject"), "(missing)");
        ExpectListsAfterStart<std::string>(folder.Path(), "中,b,", "甲,乙");
    }
}

// Lists of characters GBK lacks replace them, turn the file into UTF-16 (it was
// GBK while it held only GBK), and come back exactly at the next start.
TEST(SettingsFileTest, ListsOfAnyCharacterReplaceAndComeBackAfterARestart) {
    TemporaryFolder folder;
    const std::string file = folder.File("qlt_config.ini");
    ASSERT_TRUE(WriteFileBytes(file, ""));  // the lists kept beside the program
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
    ExpectListsAfterStart(folder.Path(), subjects, predicates);
}

TEST(SettingsFileTest, AFileWrittenBeforeTheStartFillsTheBoxes) {
    TemporaryFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("qlt_config.ini"), "[replace]\r\n#subject=a,b\r\n#predicate=x,y\r\n"));
    ExpectListsAfterStart<std::string>(folder.Path(), "a,b", "x,y");
}

// The run tells that the lists are not saved, naming the file.
TEST(SettingsFileTest, AReadOnlyFileIsReadAndLeftAsItWasWithAMessage) {
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
    const SeenMessageBox box = tool.Box();  // the watch ends with the box it closed
    EXPECT_NE(box.text.find("qlt_config.ini"), std::string::npos) << box.text;
    EXPECT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "a b\r\n"; }));
    ASSERT_TRUE(tool.Close());
    EXPECT_EQ(tool.ExitCode(), 0u);
    EXPECT_EQ(FileBytes(file), content);
}

// A file that is there but cannot be read at start (held by another program,
// beyond 16 MB, or of more lines than the memory left can take) is named in a
// message at start and gives empty boxes; that session never writes it, though
// by the run the file could be written.
TEST(SettingsFileTest, AFileThatCannotBeReadAtStartIsToldOfAndNeverWrittenOver) {
    const std::string lists = "[replace]\r\n#subject=a\r\n#predicate=b\r\n";
    const struct {
        const char* what;
        std::string content;
        bool held;
        const char* why;  // in the message, after the file's name
    } cases[] = {
        {"held by another program", lists, true, " 无法打开或读取"},
        {"beyond 16 MB", lists + std::string(16 << 20, ' '), false, " 超过 16 MB"},
        {"too many lines for the memory left", std::string((16 << 20) - 1, '\n'), false, " 无法打开或读取"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        const std::string file = folder.File("qlt_config.ini");
        ASSERT_TRUE(WriteFileBytes(file, c.content));
        HANDLE held = c.held ? CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        RunningTool tool(folder.Path());
        if (held != nullptr) CloseHandle(held);
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.Text(Unit::SubjectBox), "");
        tool.SetText(Unit::MainBox, "a c");
        tool.ShowPage(2);
        tool.SetText(Unit::SubjectBox, "c");
        tool.SetText(Unit::PredicateBox, "d");
        tool.Click(Unit::ReplaceButton);
        EXPECT_TRUE(tool.WaitForText(Unit::MainBox, [](const std::string& text) { return text == "a d\r\n"; }));
        ASSERT_TRUE(tool.Close());
        EXPECT_EQ(tool.ExitCode(), 0u);
        EXPECT_EQ(tool.Box().text.rfind("设置文件 " + file + c.why, 0), 0u) << tool.Box().text;
        EXPECT_TRUE(FileBytes(file) == c.content) << "not printed: long";
    }
}

// Text of many lines: a run goes on well past its first ProcessEvents.
std::string ManyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += " line \t of text\r\n";
    return text;
}

// Owns the clipboard with a text given only when asked for. A program that
// pastes waits inside its paste until `whenAsked` has run here, and then
// pastes nothing.
class ClipboardOnDemand {
public:
    explicit ClipboardOnDemand(std::function<void()> whenAsked) : whenAsked_(std::move(whenAsked)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuilletClipboardOnDemand";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                  nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (OpenClipboard(window_)) {
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, nullptr);
            CloseClipboard();
        }
    }
    ~ClipboardOnDemand() {
        if (OpenClipboard(window_)) {
            EmptyClipboard();  // no text left behind that nobody can give
            CloseClipboard();
        }
        DestroyWindow(window_);
    }

    bool Owned() const { return GetClipboardOwner() == window_ && IsClipboardFormatAvailable(CF_UNICODETEXT); }

    // Handles this thread's messages until the text was asked for; false on a timeout.
    bool WaitUntilAsked(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (!asked_ && GetTickCount() - start < timeoutMs) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        return asked_;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClipboardOnDemand*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_RENDERFORMAT && self != nullptr && !self->asked_) {
            self->asked_ = true;
            self->whenAsked_();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    std::function<void()> whenAsked_;
    HWND window_ = nullptr;
    bool asked_ = false;
};

// Every run calls ProcessEvents once per line (once per pair for a replacement
// of a list): a WM_CLOSE reaches the window in the middle of it, and the run
// must stop rather than reach for units that are gone (which would end the
// program with a runtime error). A paste queued behind the run's click holds
// the run at its first ProcessEvents until the close is queued; a click queued
// with the close tells a run under way from one that has ended.
TEST(EndOfProcessTest, ClosingTheWindowDuringARunEndsTheProgramCleanly) {
    struct Run {
        const char* tool;
        int32_t page;
        std::vector<quillet::app::UnitId> optionClicks;  // from the page's defaults: 去空格, 去#Tab空格, 去空行
        quillet::app::UnitId button;
        quillet::app::UnitId pass = 0;   // the one cleanup pass ticked after the clicks
        const char* subjects = nullptr;  // the replacement's lists
        const char* replacements = nullptr;
    };
    const Run runs[] = {
        {"numbering", 1, {}, Unit::NumberingButton},
        {"removing spaces", 0, {Unit::RemoveTabsBox, Unit::RemoveBlankLinesBox}, Unit::CleanupButton,
         Unit::RemoveSpacesBox},
        {"trimming", 0, {Unit::RemoveSpacesBox, Unit::RemoveTabsBox, Unit::RemoveBlankLinesBox, Unit::TrimBox},
         Unit::CleanupButton, Unit::TrimBox},
        {"removing tabs", 0, {Unit::RemoveSpacesBox, Unit::RemoveBlankLinesBox}, Unit::CleanupButton,
         Unit::RemoveTabsBox},
        {"removing blank lines", 0, {Unit::RemoveSpacesBox, Unit::RemoveTabsBox}, Unit::CleanupButton,
         Unit::RemoveBlankLinesBox},
        // "去换行符" ticked unticks "去空行".
        {"joining lines", 0, {Unit::RemoveSpacesBox, Unit::RemoveTabsBox, Unit::JoinLinesBox}, Unit::CleanupButton,
         Unit::JoinLinesBox},
        {"replacing a list", 2, {}, Unit::ReplaceButton, 0, "line,of,text", "行,之,文"},
    };
    const quillet::app::UnitId passBoxes[] = {Unit::RemoveSpacesBox, Unit::TrimBox, Unit::RemoveTabsBox,
                                              Unit::RemoveBlankLinesBox, Unit::JoinLinesBox};
    for (const Run& run : runs) {
        SCOPED_TRACE(run.tool);
        TemporaryFolder folder;
        RunningTool tool(folder.Path());
        ASSERT_TRUE(tool.Started());
        tool.SetText(Unit::MainBox, ManyLines(15000));  // a run that lasts until the close ends it
        tool.ShowPage(run.page);
        for (quillet::app::UnitId option : run.optionClicks) tool.Click(option);
        // The clicks were posted: their last state is the first with the pass alone.
        const auto passAlone = [&] {
            for (quillet::app::UnitId box : passBoxes)
                if ((SendMessageA(tool.Unit(box), BM_GETCHECK, 0, 0) == BST_CHECKED) != (box == run.pass)) return false;
            return true;
        };
        for (const DWORD start = GetTickCount(); run.pass != 0 && !passAlone() && GetTickCount() - start < 5000;)
            Sleep(20);
        EXPECT_TRUE(run.pass == 0 || passAlone()) << "the pass alone is ticked";
        if (run.subjects != nullptr) {
            tool.SetText(Unit::SubjectBox, run.subjects);
            tool.SetText(Unit::PredicateBox, run.replacements);
        }
        const HWND predicateBox = tool.Unit(Unit::PredicateBox);
        ClipboardOnDemand clipboard([&] {
            // The run is under way. A click on 多词替换's button saves its lists,
            // with a letter typed into one, unless a run is under way.
            PostMessageA(predicateBox, WM_CHAR, 'Q', 1);
            tool.Click(Unit::ReplaceButton);
            PostMessageA(tool.Unit(quillet::app::WindowRecord), WM_CLOSE, 0, 0);
        });
        ASSERT_TRUE(clipboard.Owned());
        tool.Click(run.button);
        // Into a box the run does not work with: the text of one it works with
        // is the run's until the run ends, and refuses a paste.
        PostMessageA(tool.Unit(run.button == Unit::ReplaceButton ? Unit::PrefixBox : Unit::PredicateBox), WM_PASTE, 0, 0);
        ASSERT_TRUE(clipboard.WaitUntilAsked(20000)) << "the paste came";
        CloseAndExpectCleanEnd(tool);
        EXPECT_EQ(Stored(folder.File("AppData\\Quillet\\qlt_config.ini"), "#predicate").find('Q'), std::string::npos)
            << "the click on 多词替换 came after the run";
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

// A copy of quillet.exe whose window template data cannot be read: its first
// word, the length of the window table, runs past the end of the data. The
// start-up reports it as a fatal error, and the program ends as one does.
TEST(StartupTest, UnreadableWindowTemplateDataIsAFatalError) {
    TemporaryFolder folder;
    std::string program = FileBytes(BesideTests("..\\quillet.exe"));
    const std::string data(reinterpret_cast<const char*>(quillet::app::WindowTemplateData),
                           quillet::app::WindowTemplateSize);
    const size_t at = program.find(data);
    ASSERT_NE(at, std::string::npos) << "the template data in the program";
    const uint32_t pastTheEnd = (quillet::app::WindowTemplateSize + 8) & ~7u;
    std::memcpy(&program[at], &pastTheEnd, sizeof pastTheEnd);
    const std::string copy = folder.File("quillet.exe");
    ASSERT_TRUE(WriteFileBytes(copy, program));

    const ChildRun run = RunChildProcess(std::string("\"") + copy + "\"");
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.finished);
    ASSERT_TRUE(run.box.found);
    EXPECT_EQ(run.box.title, "错误");
    EXPECT_NE(run.box.text.find("载入窗口模板数据段出错!"), std::string::npos) << run.box.text;
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
}

}  // namespace
