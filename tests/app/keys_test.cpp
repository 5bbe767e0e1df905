// The whole tool from the keyboard: each route a key takes, from a focus on a
// page, after a cleanup run, as real key messages through the runtime's loop.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;

const std::string Before = " a\r\n\r\nb", Cleaned = "a\r\nb\r\n", Numbered = "1a\r\n2b\r\n";
const std::string Ran = "去除空行：3 行 → 2 行", RanAgain = "去除空行：2 行 → 2 行", NumberedFooter = "增加序号：2 行 → 2 行",
                  Undone = "撤消：回到运行前，3 行";
enum Start { AfterRun, Typed, Running };  // Typed: "x" typed after the run; Running: a run's handler works
constexpr UINT Ctrl = VK_CONTROL, Shift = VK_SHIFT, Alt = VK_MENU;

struct Route {
    Start start;
    int32_t page;
    UnitId focus;
    UINT key;
    std::vector<UINT> modifiers;
    int32_t pageAfter;
    UnitId focusAfter;
    std::string text, footer;
};

TEST(KeysTest, EveryRouteFromTheKeyboard) {
    using namespace Unit;
    const Route routes[] = {
        {AfterRun, 0, MainBox, VK_TAB, {Ctrl}, 1, MainBox, Cleaned, Ran},
        {AfterRun, 0, MainBox, VK_TAB, {Ctrl, Shift}, 2, MainBox, Cleaned, Ran},
        {AfterRun, 2, SubjectBox, VK_NEXT, {Ctrl}, 0, RemoveBlankLinesBox, Cleaned, Ran},
        {AfterRun, 1, ZeroFillBox, VK_PRIOR, {Ctrl}, 0, RemoveBlankLinesBox, Cleaned, Ran},
        {AfterRun, 0, CleanupButton, VK_TAB, {Ctrl}, 1, PrefixBox, Cleaned, Ran},
        {AfterRun, 0, CleanupButton, VK_RETURN, {}, 0, CleanupButton, Cleaned, RanAgain},
        {AfterRun, 1, PrefixBox, VK_RETURN, {}, 1, PrefixBox, Numbered, NumberedFooter},
        {AfterRun, 1, NumberingButton, VK_SPACE, {}, 1, NumberingButton, Numbered, NumberedFooter},
        {AfterRun, 0, MainBox, VK_RETURN, {}, 0, MainBox, Cleaned + "\r\n", Ran},
        {AfterRun, 1, MainBox, VK_RETURN, {Ctrl}, 1, MainBox, Numbered, NumberedFooter},
        {AfterRun, 0, MainBox, 'Z', {Ctrl}, 0, MainBox, Before, Undone},
        {Typed, 0, MainBox, 'Z', {Ctrl}, 0, MainBox, Cleaned, Ran},
        {AfterRun, 0, RemoveSpacesBox, 'Z', {Alt}, 0, RemoveSpacesBox, Before, Undone},
        {Typed, 2, MainBox, 'Z', {Alt}, 2, MainBox, Before, Undone},
        {AfterRun, 0, MainBox, VK_ESCAPE, {}, 0, MainBox, Cleaned, Ran},
        {AfterRun, 1, SkipBlankBox, VK_ESCAPE, {}, 1, SkipBlankBox, Cleaned, Ran},
        {Running, 0, CleanupButton, VK_RETURN, {}, 0, CleanupButton, Cleaned, Ran},
        {Running, 1, NumberingButton, VK_SPACE, {}, 1, NumberingButton, Cleaned, Ran},
        {Running, 1, MainBox, VK_RETURN, {Ctrl}, 1, MainBox, Cleaned, Ran},
        {Running, 0, MainBox, 'Z', {Ctrl}, 0, MainBox, Cleaned, Ran},
        {Running, 0, JoinLinesBox, 'Z', {Alt}, 0, JoinLinesBox, Cleaned, Ran},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(testing::Message() << "route " << &route - routes << ", key " << route.key);
        Reset();
        ASSERT_EQ(RunCleanup(Before, {}), Cleaned);
        EXPECT_EQ(SendMessageW(Handle(MainBox), EM_CANUNDO, 0, 0), 0) << "the box's own undo has nothing";
        ShowPage(route.page);
        SetFocus(Handle(route.focus));
        if (route.start == Typed) PostMessageW(Handle(MainBox), WM_CHAR, 'x', 1);
        quillet::app::ToolRunning = route.start == Running;
        PressKey(route.focus, route.key, route.modifiers);
        quillet::app::ToolRunning = false;
        ASSERT_NE(Handle(MainBox), nullptr) << "the window is still there";
        EXPECT_EQ(Int(TabControl, Property::CurrentPage), route.pageAfter);
        EXPECT_EQ(GetFocus(), Handle(route.focusAfter));
        EXPECT_EQ(Text(MainBox), route.text);
        EXPECT_EQ(Footer(), route.footer);
    }
}

}  // namespace
