// The undo label, and the guards of a run: presses before any run and clicks
// while a run is under way.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "runtime/app/message_loop.h"
#include "runtime/units/held_output.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;

constexpr uint32_t DefaultColor = 0xFF000000;

class UndoTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
};

TEST_F(UndoTest, RestoresTheTextFromBeforeTheLastRunAsOftenAsPressed) {
    const std::string before = "  one\r\n\r\ntwo \xA1\xA1\tthree";
    const std::string after = RunCleanup(before, {});
    ASSERT_NE(after, before);

    PostMouseDown(Unit::UndoLabel);
    Pump();
    EXPECT_EQ(Text(Unit::MainBox), before);
    EXPECT_EQ(static_cast<uint32_t>(Int(Unit::UndoLabel, Property::LabelBackColor)), 0x808080u);
    PostMouseUp(Unit::UndoLabel);
    Pump();
    EXPECT_EQ(static_cast<uint32_t>(Int(Unit::UndoLabel, Property::LabelBackColor)), DefaultColor);

    SetText(Unit::MainBox, "typed afterwards");
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), before);
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), before);
}

// A pasted text with characters GBK lacks comes back exactly after any tool.
TEST_F(UndoTest, RestoresAPastedTextOfAnyCharacterExactly) {
    const std::wstring pasted =
        L"  \U0001F600 \U0001F44D\U0001F3FD\t\U00020BB7\u3400\r\n\r\n\uD55C\u0E01 \u05D0e\u0301\u00A0中\u3000 \r\n";
    const auto controlText = [] {
        wchar_t text[256] = {};
        GetWindowTextW(Handle(Unit::MainBox), text, 256);
        return std::wstring(text);
    };
    const struct {
        int32_t page;
        UnitId button;
    } tools[] = {{0, Unit::CleanupButton}, {1, Unit::NumberingButton}, {2, Unit::ReplaceButton}};
    SetText(Unit::SubjectBox, "e");
    SetText(Unit::PredicateBox, "b");
    for (const auto& run : tools) {
        ShowPage(run.page);
        SetWindowTextW(Handle(Unit::MainBox), pasted.c_str());
        Click(run.button);
        EXPECT_NE(controlText(), pasted) << run.page;
        Click(Unit::UndoLabel);
        EXPECT_EQ(controlText(), pasted) << run.page;
    }
}

TEST_F(UndoTest, RestoresOnlyTheStateBeforeTheSecondTool) {
    const std::string first = "b\r\na\r\n\r\nc";
    const std::string cleaned = RunCleanup(first, {});
    EXPECT_EQ(cleaned, "b\r\na\r\nc\r\n");
    // The numbering tool runs on what the cleanup left.
    ShowPage(1);
    SetChecked(Unit::ZeroFillBox, false);
    Click(Unit::NumberingButton);
    EXPECT_EQ(Text(Unit::MainBox), "1b\r\n2a\r\n3c\r\n");
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), cleaned);
}

TEST_F(UndoTest, APressBeforeAnyRunLeavesTheBoxAlone) {
    SetText(Unit::MainBox, "nothing has run yet");
    PostMouseDown(Unit::UndoLabel);
    Pump();
    EXPECT_EQ(Text(Unit::MainBox), "nothing has run yet");
    EXPECT_EQ(static_cast<uint32_t>(Int(Unit::UndoLabel, Property::LabelBackColor)), DefaultColor);
    PostMouseUp(Unit::UndoLabel);
    Pump();
    EXPECT_EQ(Text(Unit::MainBox), "nothing has run yet");
}

TEST_F(UndoTest, ARunOnAnEmptyBoxSavesTheEmptyText) {
    EXPECT_EQ(RunCleanup("", {}), "");
    SetText(Unit::MainBox, "typed after the run");
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), "");
}

// Clicks queued behind a run's click are handled by the run's own
// ProcessEvents, in the middle of its loop: once per line for the cleanup
// passes and the numbering, once per pair for a replacement of a list. (A
// replacement of a single text never calls it: clicks queued behind that one
// wait for its end.) Each tool's result is first made without them.
TEST_F(UndoTest, ClicksOnRunButtonsAndUndoDuringARunDoNothing) {
    const struct {
        const char* tool;
        int32_t page;
        UnitId button;
        CleanupOptions cleanup;
        const char* subjects;  // the replacement's lists; empty for the other tools
        const char* replacements;
    } runs[] = {
        {"cleanup, the page's defaults", 0, Unit::CleanupButton, {}, "", ""},
        // The only pass that writes to the box line by line: an undo in it would show.
        {"cleanup, joining lines", 0, Unit::CleanupButton, {false, false, false, false, true}, "", ""},
        {"numbering", 1, Unit::NumberingButton, {}, "", ""},
        {"replacement of a list", 2, Unit::ReplaceButton, {}, "line,of,text", "行,之,文"},
    };
    std::string text;
    for (int i = 1; i <= 40; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, i % 5 == 0 ? "\r\n" : " line %d \tof text\r\n", i);
        text += line;
    }
    for (const auto& run : runs) {
        SCOPED_TRACE(run.tool);
        ShowPage(run.page);
        SetChecked(Unit::RemoveSpacesBox, run.cleanup.removeSpaces);
        SetChecked(Unit::TrimBox, run.cleanup.trim);
        SetChecked(Unit::RemoveTabsBox, run.cleanup.removeTabs);
        SetChecked(Unit::RemoveBlankLinesBox, run.cleanup.removeBlankLines);
        SetChecked(Unit::JoinLinesBox, run.cleanup.joinLines);
        // An empty subject box makes a click on 多词替换's button show a message box.
        SetText(Unit::SubjectBox, run.subjects);
        SetText(Unit::PredicateBox, run.replacements);
        SetText(Unit::MainBox, text);
        Click(run.button);
        const std::string result = Text(Unit::MainBox);
        ASSERT_NE(result, text);

        SetText(Unit::MainBox, text);
        PostMouseDown(run.button);
        PostMouseUp(run.button);
        // While it runs: undo, the same button again, and every page's button.
        for (UnitId unit : {Unit::UndoLabel, run.button, Unit::UndoLabel, Unit::CleanupButton, Unit::NumberingButton,
                            Unit::ReplaceButton, run.button}) {
            PostMouseDown(unit);
            PostMouseUp(unit);
        }
        const SeenMessageBox box = ClickWatchingForBox(Unit::SuffixBox);  // pumps everything queued
        EXPECT_FALSE(box.found) << box.text;
        EXPECT_EQ(Text(Unit::MainBox), result);

        // The run saved the text it started from, and the guard is down again.
        Click(Unit::UndoLabel);
        EXPECT_EQ(Text(Unit::MainBox), text);
        Click(run.button);
        EXPECT_EQ(Text(Unit::MainBox), result);
    }
}

// After the handler the run goes on while its result goes into the box: what
// would edit the box, a second run and an undo in that time change nothing,
// and the one level of undo still holds the text from before the run.
TEST_F(UndoTest, InputWhileTheResultGoesIntoTheBoxChangesNothing) {
    std::string text;
    for (int i = 1; i <= 12000; ++i) text += "  line " + std::to_string(i) + "\tof  text\r\n";
    SetText(Unit::MainBox, text);
    Click(Unit::CleanupButton);
    const std::string result = Text(Unit::MainBox);
    ASSERT_NE(result, text);

    SetText(Unit::MainBox, text);
    PostMouseDown(Unit::CleanupButton);
    PostMouseUp(Unit::CleanupButton);
    quillet::ProcessPendingEvents();  // the handler, but none of the pieces that follow it
    ASSERT_GT(quillet::HeldByteCount(), 0u) << "the result is still coming";
    HWND box = Handle(Unit::MainBox);
    for (wchar_t typed : std::wstring(L"ZZZ\r\x1A\x16")) PostMessageW(box, WM_CHAR, typed, 1);  // Ctrl+Z, Ctrl+V
    for (UINT command : {WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO, EM_UNDO}) PostMessageW(box, command, 0, 0);
    PostMessageW(box, WM_KEYDOWN, VK_DELETE, 1);
    PostMessageW(box, WM_IME_CHAR, L'中', 1);
    for (UnitId unit : {Unit::CleanupButton, Unit::UndoLabel}) {
        PostMouseDown(unit);
        PostMouseUp(unit);
    }
    // Other programs' edits, sent from another thread, each handled while the rest still waits.
    std::thread outside([box] {
        for (UINT edit : {WM_SETTEXT, EM_REPLACESEL}) SendMessageW(box, edit, 0, reinterpret_cast<LPARAM>(L"outside"));
    });
    for (int sent = 0; sent < 2; ++sent) {
        for (int waited = 0; HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0 && waited < 5000; ++waited) Sleep(1);
        quillet::ProcessPendingEvents();
    }
    outside.join();
    ASSERT_GT(quillet::HeldByteCount(), 0u) << "the sent edits came while the result was still coming";
    Pump();
    // Compared whole: a failure's diff of two texts this long would not fit in memory.
    EXPECT_TRUE(Text(Unit::MainBox) == result) << "the run's result, nothing else";
    Click(Unit::UndoLabel);
    EXPECT_TRUE(Text(Unit::MainBox) == text) << "the text from before the run";
}

// The undo label is what a click at its centre reaches: no unit lies above it.
TEST_F(UndoTest, TheUndoLabelIsWhatAClickAtItsCentreReaches) {
    for (int32_t page = 0; page < 3; ++page) {
        ShowPage(page);
        HWND label = Handle(Unit::UndoLabel);
        RECT area;
        ASSERT_TRUE(GetWindowRect(label, &area));
        const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        // Down the tree, the topmost shown child under the point at each level.
        HWND hit = Handle(quillet::app::WindowRecord);
        for (;;) {
            POINT inHit = centre;
            ScreenToClient(hit, &inHit);
            HWND child = ChildWindowFromPointEx(hit, inHit, CWP_SKIPINVISIBLE);
            if (child == nullptr || child == hit) break;
            hit = child;
        }
        EXPECT_EQ(hit, label) << page;
    }
}

}  // namespace
