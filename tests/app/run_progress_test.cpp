// What a run tells the user: its progress on the window's title while it
// lasts, with the app-starting pointer, and one line in the footer on what it
// did, which the next run replaces by the version text first.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "runtime/services/compiled_code.h"
#include "runtime/units/held_output.h"
#include "runtime/values/system_text.h"
#include "runtime/values/text_encoding.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;

constexpr int32_t Caption = 8;  // the window's and the label's own first property
const std::string VersionText = "Quillet by Jev  版本：1.0";

std::string Read(UnitId unit, int32_t property) {
    quillet::compiled::OwnedText text = quillet::compiled::ReadText(quillet::app::MainWindow, unit, property);
    return text.Get() != nullptr ? text.Get() : "";
}

std::string Title() { return quillet::ReadWindowText(Handle(quillet::app::WindowRecord)); }

// Whether the pointer over the main box is the app-starting one now.
bool PointerShowsWork() {
    HWND box = Handle(Unit::MainBox);
    SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING));
}

// Lines as the tools count them: pieces between CR LF, none after a last break.
int32_t LinesOf(const std::string& text) {
    int32_t lines = 0;
    for (size_t at = 0; at < text.size(); ++lines) {
        const size_t end = text.find("\r\n", at);
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

int32_t ChangedLines(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = SplitLines(before), b = SplitLines(after);
    int32_t changed = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        changed += i >= a.size() || i >= b.size() || a[i] != b[i] ? 1 : 0;
    return changed;
}

std::string Summary(const char* tool, const std::string& before, const std::string& after, bool counted) {
    std::string line = std::string(tool) + std::to_string(LinesOf(before)) + " 行 → " +
                       std::to_string(LinesOf(after)) + " 行";
    if (counted) line += "，其中 " + std::to_string(ChangedLines(before, after)) + " 行有改动";
    return line;
}

// The window's title each time the runtime changed it during a run, seen by
// a hook on the messages sent to it, with what else was true at that moment.
struct Sample {
    std::string title;    // the title put on the window
    std::string caption;  // its Caption property then
    bool pointerShowsWork;
};
std::vector<Sample> samples;
HWND watchedWindow = nullptr;

bool resizedInHandOver = false;  // a resize came while the result went into the box

LRESULT CALLBACK SeeTitle(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watchedWindow && sent->message == WM_SETTEXT && sent->lParam != 0) {
        samples.push_back({quillet::TextFromWide(reinterpret_cast<const wchar_t*>(sent->lParam)),
                           Read(quillet::app::WindowRecord, Caption), PointerShowsWork()});
        // Its handler runs in the middle of the handover: the percentage goes on from where it was.
        if (!resizedInHandOver && samples.back().title.find("写入 ") != std::string::npos) {
            resizedInHandOver = true;
            RECT area;
            GetClientRect(watchedWindow, &area);
            PostMessageW(watchedWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(area.right, area.bottom));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A percentage after the stage's name in a title, or -1.
int PercentIn(const std::string& title, const std::string& stage) {
    const size_t at = title.find(stage);
    if (at == std::string::npos || at + stage.size() >= title.size()) return -1;
    return std::atoi(title.c_str() + at + stage.size());
}

struct ToolRun {
    const char* name;
    const char* summaryStart;  // the footer's first words after the run
    bool countsChanges;        // the footer tells how many lines changed
    int stage;                 // whose percentage must be seen advancing: 0 the handler's, 1 the handover's
    std::function<std::string(const std::string&)> run;
    int lines;  // of the generated text: a run of a few seconds here
};

// Eighty stops of 25 ms in the handler's work, each after 2 ms of it at
// least: the work spread over two seconds more.
int slowings = 0;
void CALLBACK SlowTheRun(HWND, UINT, UINT_PTR, DWORD) {
    static DWORD lastStop = 0;
    if (!quillet::app::ToolRunning || slowings >= 80 || GetTickCount() - lastStop < 2) return;
    ++slowings;
    Sleep(25);
    lastStop = GetTickCount();
}

// Lines of words, blank lines, spaces and tabs.
std::string GeneratedText(int lines) {
    static const char* const shapes[] = {"中文 的 abc", "", "  \t hello 中", "Quillet 7，x", "\xA1\xA1文字"};
    std::string text;
    for (int i = 0; i < lines; ++i) text += std::string(shapes[i % 5]) + (i % 7 == 3 ? " 中文" : "") + "\r\n";
    return text;
}

TEST(RunProgressTest, ALongRunShowsItsProgressOnTheTitleAndEndsWithItsSummary) {
    Reset();
    watchedWindow = Handle(quillet::app::WindowRecord);
    const std::string title = Title();
    const ToolRun runs[] = {
        // Quick passes, then mostly the handover of the result.
        {"cleanup", "去除空行：", false, 1, [](const std::string& text) { return RunCleanup(text, {}); }, 100000},
        // On a slow machine the handler's own stage lasts too: a timer makes this one so.
        {"numbering", "增加序号：", false, 0,
         [](const std::string& text) {
             slowings = 0;
             const UINT_PTR slowing = SetTimer(nullptr, 0, 1, SlowTheRun);
             const std::string result = RunNumbering(text, {});
             KillTimer(nullptr, slowing);
             return result;
         },
         60000},
        {"replace", "多词替换：", true, 1,
         [](const std::string& text) { return RunReplace(text, "中文,hello,的", "汉字,HELLO,之"); }, 90000},
    };
    for (const ToolRun& tool : runs) {
        const std::string text = GeneratedText(tool.lines);
        SetText(Unit::MainBox, text);
        Pump();
        samples.clear();
        resizedInHandOver = false;
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, SeeTitle, nullptr, GetCurrentThreadId());
        const std::string result = tool.run(text);
        UnhookWindowsHookEx(hook);

        if (samples.size() < 3) {
            ADD_FAILURE() << tool.name << ": the title shows the progress";
            continue;
        }
        int last[2] = {-1, -1};  // the handler's stage, the handover's
        int advanced[2] = {0, 0};
        for (const Sample& sample : samples) {
            if (&sample == &samples.back()) break;  // the title put back
            EXPECT_EQ(sample.caption, title) << tool.name << ": the Caption property is the program's own";
            EXPECT_EQ(sample.title.compare(0, title.size(), title), 0) << sample.title;
            EXPECT_TRUE(sample.pointerShowsWork) << tool.name << ": the app-starting pointer";
            const int percents[2] = {PercentIn(sample.title, "处理 "), PercentIn(sample.title, "写入 ")};
            for (int stage = 0; stage < 2; ++stage) {
                if (percents[stage] < 0) continue;
                EXPECT_GE(percents[stage], last[stage]) << sample.title;
                EXPECT_LE(percents[stage], 100) << sample.title;
                if (stage == 0) {
                    EXPECT_EQ(last[1], -1) << tool.name << ": the handler's stage comes first";
                }
                advanced[stage] += percents[stage] > last[stage] && last[stage] >= 0 ? 1 : 0;
                last[stage] = percents[stage];
            }
        }
        EXPECT_GE(advanced[tool.stage], 2) << tool.name << ": the percentage advances";
        EXPECT_TRUE(resizedInHandOver || tool.stage == 0) << tool.name << ": a handler ran in the handover";
        EXPECT_EQ(samples.back().title, title) << tool.name << ": the title is put back";
        EXPECT_EQ(Title(), title) << tool.name;
        EXPECT_FALSE(PointerShowsWork()) << tool.name;
        EXPECT_EQ(Footer(), Summary(tool.summaryStart, text, result, tool.countsChanges)) << tool.name;
    }
}

// The footer's line on small texts, where counting is easy to get wrong.
TEST(RunProgressTest, TheSummaryCountsLinesAsTheToolsSplitThem) {
    Reset();
    struct Case {
        const char* what;
        std::function<std::string()> run;
        const char* summary;
    };
    const Case cases[] = {
        {"cleanup of an empty box", [] { return RunCleanup("", {}); }, "去除空行：0 行 → 0 行"},
        {"blank lines go", [] { return RunCleanup("a\r\n\r\n \r\nb", {}); }, "去除空行：4 行 → 2 行"},
        {"joined into paragraphs", [] { return RunCleanup("a\r\nb\r\n\r\nc\r\n", {false, false, false, false, true}); },
         "去除空行：4 行 → 3 行"},
        {"numbering keeps the lines", [] { return RunNumbering("x\r\n\r\ny", {}); }, "增加序号：3 行 → 3 行"},
        {"one line changed, empty lines kept", [] { return RunReplace("ab\r\n\r\ncd\r\nab", "cd", "CD"); },
         "多词替换：4 行 → 4 行，其中 1 行有改动"},
        {"two pairs, two lines", [] { return RunReplace("ab\r\ncd\r\nef", "a,e", "x,y"); },
         "多词替换：3 行 → 3 行，其中 2 行有改动"},
        {"replacement in an empty box", [] { return RunReplace("", "a", "b"); }, "多词替换：0 行 → 0 行，其中 0 行有改动"},
        {"nothing found", [] { return RunReplace("ab\r\n", "zz", "y"); }, "多词替换：1 行 → 1 行，其中 0 行有改动"},
        // The next run puts the version text back first; this one stops at its message.
        {"lists that do not match", [] { return RunReplace("ab\r\n", "a,b", "x,y,z"); }, "Quillet by Jev  版本：1.0"},
    };
    for (const Case& c : cases) {
        c.run();
        EXPECT_EQ(Footer(), c.summary) << c.what;
    }
}

}  // namespace
