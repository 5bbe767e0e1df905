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
// After the run: Typed "x"; Deleted all by the box's menu; Running a run's handler; RefusedInRun: so, then again.
enum Start { AfterRun, Typed, Deleted, Running, RefusedInRun };
constexpr UINT Ctrl = VK_CONTROL, Shift = VK_SHIFT, Alt = VK_MENU;

struct Route {  // the key pressed with its modifiers; the page, focus, text and footer before and after
    Start start;
    int32_t page, pageAfter;
    UnitId focus, focusAfter;
    UINT key;
    std::vector<UINT> modifiers;
    std::string text, footer;
    int repeats = 0;  // key-downs repeated while the key is held, after any run's handler
};

TEST(KeysTest, EveryRouteFromTheKeyboard) {
    using namespace Unit;
    const Route routes[] = {
        {AfterRun, 0, 1, MainBox, MainBox, VK_TAB, {Ctrl}, Cleaned, Ran},
        {AfterRun, 0, 2, MainBox, MainBox, VK_TAB, {Ctrl, Shift}, Cleaned, Ran},
        {AfterRun, 2, 0, SubjectBox, RemoveBlankLinesBox, VK_NEXT, {Ctrl}, Cleaned, Ran},
        {AfterRun, 0, 2, CleanupButton, SubjectBox, VK_PRIOR, {Ctrl}, Cleaned, Ran},
        {AfterRun, 0, 0, CleanupButton, CleanupButton, VK_RETURN, {}, Cleaned, RanAgain},
        {AfterRun, 1, 1, PrefixBox, PrefixBox, VK_RETURN, {}, Numbered, NumberedFooter},
        {AfterRun, 1, 1, NumberingButton, NumberingButton, VK_SPACE, {}, Numbered, NumberedFooter},
        {AfterRun, 0, 0, MainBox, MainBox, VK_RETURN, {}, Cleaned + "\r\n", Ran},
        {AfterRun, 1, 1, MainBox, MainBox, VK_RETURN, {Ctrl}, Numbered, NumberedFooter},
        {AfterRun, 0, 0, TrimBox, TrimBox, VK_RETURN, {Ctrl}, Cleaned, RanAgain},
        {AfterRun, 0, 0, MainBox, MainBox, 'Z', {Ctrl}, Before, Undone},
        {Typed, 0, 0, MainBox, MainBox, 'Z', {Ctrl}, Cleaned, Ran},
        {AfterRun, 0, 0, RemoveSpacesBox, RemoveSpacesBox, 'Z', {Alt}, Before, Undone},
        {Typed, 2, 2, MainBox, MainBox, 'Z', {Alt}, Before, Undone},
        {AfterRun, 0, 0, MainBox, MainBox, VK_ESCAPE, {}, Cleaned, Ran},
        {Running, 0, 0, CleanupButton, CleanupButton, VK_RETURN, {}, Cleaned, Ran},
        {Running, 1, 1, NumberingButton, NumberingButton, VK_SPACE, {}, Cleaned, Ran},
        {Running, 1, 1, MainBox, MainBox, VK_RETURN, {Ctrl}, Cleaned, Ran},
        {Running, 0, 0, MainBox, MainBox, 'Z', {Ctrl}, Cleaned, Ran},
        {Running, 0, 0, JoinLinesBox, JoinLinesBox, 'Z', {Alt}, Cleaned, Ran},
        // A held key runs, undoes or loads once, however long it is held.
        {AfterRun, 1, 1, NumberingButton, NumberingButton, VK_RETURN, {}, Numbered, NumberedFooter, 3},
        {AfterRun, 1, 1, PrefixBox, PrefixBox, VK_RETURN, {}, Numbered, NumberedFooter, 3},
        {AfterRun, 1, 1, MainBox, MainBox, VK_RETURN, {Ctrl}, Numbered, NumberedFooter, 3},
        {Running, 0, 0, MainBox, MainBox, 'Z', {Alt}, Cleaned, Ran, 3},
        {AfterRun, 0, 0, MainBox, MainBox, 'A', {}, Cleaned + "aaaa", Ran, 3},  // typing repeats as ever
        // Ctrl+Z follows what changed the text, not which key was pressed.
        {Deleted, 0, 0, MainBox, MainBox, 'Z', {Ctrl}, Cleaned, Ran},
        {RefusedInRun, 0, 0, MainBox, MainBox, 'Z', {Ctrl}, Before, Undone},
        // The tab strip, where a click on a page's header leaves the focus.
        {AfterRun, 0, 0, TabControl, TabControl, 'Z', {Alt}, Before, Undone},
        {AfterRun, 1, 1, TabControl, TabControl, VK_RETURN, {Ctrl}, Numbered, NumberedFooter},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(testing::Message() << "route " << &route - routes);
        Reset();
        ASSERT_EQ(RunCleanup(Before, {}), Cleaned);
        EXPECT_EQ(SendMessageW(Handle(MainBox), EM_CANUNDO, 0, 0), 0) << "the box's own undo has nothing";
        ShowPage(route.page);
        SetFocus(Handle(route.focus));
        if (route.start == Typed) PressKey(MainBox, 'X', {});
        if (route.start == Deleted) SendMessageW(Handle(MainBox), EM_SETSEL, 0, -1);
        if (route.start == Deleted) SendMessageW(Handle(MainBox), WM_CLEAR, 0, 0);  // the menu's 删除
        quillet::app::ToolRunning = route.start == Running || route.start == RefusedInRun;
        PressKey(route.focus, route.key, route.modifiers, route.repeats > 0 ? Stroke::Hold : Stroke::Press);
        quillet::app::ToolRunning = false;
        for (int k = 0; k < route.repeats; ++k) PressKey(route.focus, route.key, route.modifiers, Stroke::Repeat);
        if (route.repeats > 0) PressKey(route.focus, route.key, route.modifiers, Stroke::Release);
        if (route.start == RefusedInRun) PressKey(route.focus, route.key, route.modifiers);
        ASSERT_NE(Handle(MainBox), nullptr) << "the window is still there";
        EXPECT_EQ(Int(TabControl, Property::CurrentPage), route.pageAfter);
        EXPECT_EQ(GetFocus(), Handle(route.focusAfter));
        EXPECT_EQ(Text(MainBox), route.text);
        EXPECT_EQ(Footer(), route.footer);
    }
}

}  // namespace
