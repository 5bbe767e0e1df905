// Runs on texts of thousands of lines, where the main box holds appended text
// back: each tool's result against the literal path (the same run with a
// length limit on the box, which makes every append reach the control at
// once), Content read in the middle of a run, and messages handled during it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/globals.h"
#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "runtime/units/held_output.h"
#include "tests/app/tool_window.h"
#include "tests/support/generated_text.h"
#include "runtime/values/system_text.h"

namespace {

using namespace tool;

constexpr int32_t MaxLength = 14;  // edit box property
constexpr int32_t NoLimitButTheControls = 0;
constexpr int32_t HugeLimit = 0x7FFFFFF0;

// Lines of GBK and ASCII words between spaces, full-width spaces and tabs,
// empty lines and lines of blanks only, a lone CR or LF now and then.
std::string GeneratedText(uint32_t seed, int lines) {
    std::mt19937 random(seed);
    static const char* const pieces[] = {"中", "文", "的", "abc", "Quillet", "7", " ", " ", "\xA1\xA1", "\t",
                                         "x", "hello", "，", "\r", "\n"};
    return generatedtext::Lines(random, lines, pieces, 8);
}

// What a run leaves: the text as handlers read it, and the control's own.
struct RunResult {
    std::string content;
    std::string control;
    int32_t selStart;
};

std::string ControlText(HWND box) { return quillet::ReadWindowText(box); }

constexpr int32_t SelStart = 24;

class HeldRunTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        SetInt(Unit::MainBox, MaxLength, NoLimitButTheControls);
        SetInt(Unit::MainBox, Property::Visible, 1);
    }

    // The run on the literal path: a limit on the box keeps nothing back; the
    // box hidden, so that each append is quick.
    template <typename Run>
    static RunResult Literally(Run run) {
        SetInt(Unit::MainBox, MaxLength, HugeLimit);
        SetInt(Unit::MainBox, Property::Visible, 0);
        const std::string content = run();
        RunResult result{content, ControlText(Handle(Unit::MainBox)), Int(Unit::MainBox, SelStart)};
        SetInt(Unit::MainBox, MaxLength, NoLimitButTheControls);
        SetInt(Unit::MainBox, Property::Visible, 1);
        return result;
    }

    // The same run, shown, with text held back.
    template <typename Run>
    static RunResult Held(Run run) {
        const std::string content = run();
        return {content, ControlText(Handle(Unit::MainBox)), Int(Unit::MainBox, SelStart)};
    }
};

void ExpectSame(const RunResult& literal, const RunResult& held, const char* what) {
    EXPECT_EQ(held.content, literal.content) << what;
    EXPECT_EQ(held.control, literal.control) << what;
    EXPECT_EQ(held.content, held.control) << what;
    EXPECT_EQ(held.selStart, literal.selStart) << what;
}

TEST_F(HeldRunTest, CleanupGivesWhatTheLiteralPathGives) {
    const std::string text = GeneratedText(11, 2500);
    const CleanupOptions defaults;
    ExpectSame(Literally([&] { return RunCleanup(text, defaults); }), Held([&] { return RunCleanup(text, defaults); }),
               "the page's defaults");
    const CleanupOptions all{true, true, true, false, true};
    ExpectSame(Literally([&] { return RunCleanup(text, all); }), Held([&] { return RunCleanup(text, all); }),
               "trim and join too");
}

TEST_F(HeldRunTest, NumberingGivesWhatTheLiteralPathGives) {
    const std::string text = GeneratedText(12, 2500);
    const NumberingOptions zeroFill{"", "1", "、", true, true};
    ExpectSame(Literally([&] { return RunNumbering(text, zeroFill); }),
               Held([&] { return RunNumbering(text, zeroFill); }), "zero fill");
    const NumberingOptions plain{"(", "98", ")", false, false};
    ExpectSame(Literally([&] { return RunNumbering(text, plain); }), Held([&] { return RunNumbering(text, plain); }),
               "every line numbered");
}

TEST_F(HeldRunTest, ReplacementGivesWhatTheLiteralPathGives) {
    const std::string text = GeneratedText(13, 2500);
    ExpectSame(Literally([&] { return RunReplace(text, "的,hello,中文", "之,HELLO,汉字"); }),
               Held([&] { return RunReplace(text, "的,hello,中文", "之,HELLO,汉字"); }), "three pairs");
}

// ---- inside a run ----

// A hidden window of a class of its own, whose procedure counts what is posted to it.
HWND WindowOfItsOwn(const char* className, WNDPROC procedure) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    EXPECT_NE(window, nullptr) << className;
    return window;
}

struct Watch {
    int timerCalls = 0;              // timer messages handled while the run went on
    int readsInRun = 0;              // Content reads inside the run that could be checked
    std::vector<std::string> reads;  // what each read gave
    std::vector<std::string> shown;  // what the control held right after each read
    int postedInRun = 0;             // messages posted from inside the run
    int handledInRun = 0;            // of those, handled before the run ended
};
Watch watch;
HWND watcherWindow = nullptr;
constexpr UINT PostedDuringRun = WM_APP + 7;

LRESULT CALLBACK Watcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PostedDuringRun && quillet::app::ToolRunning) ++watch.handledInRun;
    return DefWindowProcA(window, message, wParam, lParam);
}

void CALLBACK DuringRun(HWND, UINT, UINT_PTR, DWORD) {
    if (!quillet::app::ToolRunning) return;
    ++watch.timerCalls;
    // Read as a handler reads it, then as any other program would.
    if (watch.reads.size() < 5) {
        watch.reads.push_back(Text(Unit::MainBox));
        watch.shown.push_back(ControlText(Handle(Unit::MainBox)));
    }
    PostMessageA(watcherWindow, PostedDuringRun, 0, 0);
    ++watch.postedInRun;
}

// While the tool works on its lines, the box is the user's to read: it holds
// the text from before the run, to a handler and to any other program alike,
// and messages posted meanwhile are handled.
TEST_F(HeldRunTest, ContentReadInARunSeesTheTextBeforeItAndMessagesAreHandledInIt) {
    watcherWindow = WindowOfItsOwn("QuilletRunWatcher", Watcher);
    watch = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, DuringRun);
    const std::string text = GeneratedText(14, 30000);
    RunNumbering(text, {});
    KillTimer(nullptr, timer);
    DestroyWindow(watcherWindow);

    ASSERT_GT(watch.timerCalls, 0) << "the run handles timer messages";
    ASSERT_FALSE(watch.reads.empty());
    for (size_t i = 0; i < watch.reads.size(); ++i) {
        EXPECT_EQ(watch.reads[i], text) << "read " << i;
        EXPECT_EQ(watch.shown[i], text) << "read " << i;
    }
    EXPECT_GT(watch.postedInRun, 0);
    // Each posted message is handled in the run, except one posted at its very end.
    EXPECT_GE(watch.handledInRun, watch.postedInRun - 1);
}

// ---- ProcessEvents in a tight loop ----

int pacedHandled = 0;  // messages the counting window handled

LRESULT CALLBACK CountingWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PostedDuringRun) ++pacedHandled;
    return DefWindowProcA(window, message, wParam, lParam);
}

void ProcessEventsOnce() { quillet::compiled::Call(quillet::commands::ProcessEvents); }

TEST_F(HeldRunTest, ProcessEventsInATightLoopStillHandlesWhatIsPostedAndLooksAtOnceAfterAPause) {
    HWND counter = WindowOfItsOwn("QuilletPacedCounter", CountingWindow);
    // A tight loop, as a run's lines make it; a message posted in the middle
    // is handled a few milliseconds later, within the loop. (A busy machine
    // may stop the thread long enough to make one attempt look like a pause.)
    int mostCalls = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        pacedHandled = 0;
        for (int i = 0; i < 1000; ++i) ProcessEventsOnce();
        PostMessageA(counter, PostedDuringRun, 0, 0);
        int calls = 0;
        while (pacedHandled == 0 && calls < 50000000) {
            ProcessEventsOnce();
            ++calls;
        }
        EXPECT_EQ(pacedHandled, 1);
        mostCalls = std::max(mostCalls, calls);
    }
    EXPECT_GT(mostCalls, 1) << "not every call of a tight loop looks at the queue";
    pacedHandled = 1;

    // After a pause the next call looks at once.
    Sleep(20);
    PostMessageA(counter, PostedDuringRun, 0, 0);
    ProcessEventsOnce();
    EXPECT_EQ(pacedHandled, 2);
    DestroyWindow(counter);
}

}  // namespace
