// The window's keys, sent as real key messages through the runtime's own loop:
// Tab order, Enter and the default button, Esc, arrows among option buttons,
// Alt mnemonics, and what goes on to the common events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/wnd.h"
#include "tests/runtime/units/window/window_test_program.h"

namespace windowtest {
namespace {

using quillet::RecordDescription;
using quillet::WindowOptions;
using Log = std::vector<std::string>;

class WindowKeysTest : public WindowTest {
protected:
    void SetUp() override { EventLog().clear(); }

    static bool LoadWith(std::vector<RecordDescription> units, WindowOptions options = Placed(),
                         std::vector<quillet::EventBinding> bindings = {}) {
        std::vector<RecordDescription> records = {WindowRecordOf(options, {100, 100, 500, 400}, bindings)};
        records.insert(records.end(), units.begin(), units.end());
        return LoadWindowOf(records);
    }
    static WindowOptions Placed() {
        WindowOptions options;
        options.windowState = 0;
        return options;
    }
    static RecordDescription Unit(uint32_t serial, uint32_t type, const std::string& caption, uint32_t options = 0,
                                  uint32_t focusOrder = 0) {
        const auto top = static_cast<LONG>(serial * 26);
        RecordDescription unit = UnitRecord(serial, type, {10, top, 150, top + 24}, ProbeData(caption, options),
                                            focusOrder);
        unit.bindings = {Noting(0)};
        return unit;
    }
    static HWND Handle(uint32_t serial) { return unitwindow::Handle(UnitId(serial)); }
    static bool Checked(uint32_t serial) { return SendMessageA(Handle(serial), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static void PressAlt(UINT key) {
        PostMessageA(GetFocus(), WM_SYSKEYDOWN, key, 1 | (1 << 29));
        testprogram::Pump();
    }
    // The units the focus visits on each of count presses of the key.
    static std::vector<HWND> Visits(int count, bool shift = false) {
        std::vector<HWND> visited;
        for (int i = 0; i < count; ++i) {
            shift ? PressKeyWithShift(VK_TAB) : PressKey(VK_TAB);
            visited.push_back(GetFocus());
        }
        return visited;
    }
};

TEST_F(WindowKeysTest, WithEqualFocusOrdersTabVisitsUnitsFromTheLastRecordToTheFirst) {
    RecordDescription hidden = Unit(6, EditType, "hidden");
    hidden.flags &= ~1u;
    RecordDescription disabled = Unit(7, EditType, "disabled");
    disabled.flags |= 2;
    RecordDescription noTabStop = Unit(8, EditType, "no tab stop");
    noTabStop.flags &= ~4u;
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a"), Unit(3, EditType, "b"), Unit(4, LabelType, "label"),
                          Unit(5, EditType, "c"), hidden, disabled, noTabStop}));
    // The window hands its focus to the first unit of the order.
    ASSERT_EQ(GetFocus(), Handle(5));
    EXPECT_EQ(Visits(4), (std::vector<HWND>{Handle(3), Handle(2), Handle(5), Handle(3)}));
    EXPECT_EQ(Visits(3, true), (std::vector<HWND>{Handle(5), Handle(2), Handle(3)}));
}

TEST_F(WindowKeysTest, LowerFocusOrdersComeFirstAndEqualOrdersInDescendingTemplateOrder) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a", 0, 2), Unit(3, EditType, "b", 0, 1), Unit(4, EditType, "c", 0, 1),
                          Unit(5, EditType, "d", 0, 0)}));
    ASSERT_EQ(GetFocus(), Handle(5));
    EXPECT_EQ(Visits(4), (std::vector<HWND>{Handle(4), Handle(3), Handle(2), Handle(5)}));
}

TEST_F(WindowKeysTest, TabAimedAtTheWindowItselfTakesTheFirstUnitAndShiftTabTheLast) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a"), Unit(3, EditType, "b"), Unit(4, EditType, "c")}));
    SetFocus(Handle(3));
    PostMessageA(WindowHandle(), WM_KEYDOWN, VK_TAB, 1);
    testprogram::Pump();
    EXPECT_EQ(GetFocus(), Handle(4));
    SetFocus(Handle(3));
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(WindowHandle(), WM_KEYDOWN, VK_TAB, 1);
    testprogram::Pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), Handle(2));
}

TEST_F(WindowKeysTest, AUnitThatWantsTabKeepsIt) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a"), Unit(3, EditType, "b", ProbeOption::WantsEverything)}));
    ASSERT_EQ(GetFocus(), Handle(3));
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Handle(3));
}

TEST_F(WindowKeysTest, EscClosesTheWindowEvenWhenTheFocusedUnitWantsEnter) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "multi-line", ProbeOption::WantsEnter)}));
    ASSERT_EQ(GetFocus(), Handle(2));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(WindowHandle(), nullptr);
}

TEST_F(WindowKeysTest, EscLeavesTheWindowWhenTheUnitWantsEscOrEscClosesIsOff) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "greedy", ProbeOption::WantsEverything)}));
    PressKey(VK_ESCAPE);
    EXPECT_NE(WindowHandle(), nullptr);

    WindowOptions options = Placed();
    options.escCloses = 0;
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "plain")}, options));
    PressKey(VK_ESCAPE);
    EXPECT_NE(WindowHandle(), nullptr);
}

TEST_F(WindowKeysTest, EnterPressesTheFirstVisibleEnabledDefaultButtonUnlessTheUnitWantsIt) {
    RecordDescription hiddenDefault = Unit(3, ButtonType, "hidden", ProbeOption::DefaultButton);
    hiddenDefault.flags &= ~1u;
    ASSERT_TRUE(LoadWith({Unit(2, ButtonType, "plain"), hiddenDefault, Unit(4, ButtonType, "ok", ProbeOption::DefaultButton),
                          Unit(5, ButtonType, "also", ProbeOption::DefaultButton), Unit(6, EditType, "single line"),
                          Unit(7, EditType, "multi-line", ProbeOption::WantsEnter)}));
    PressKey(VK_RETURN, Handle(6));
    EXPECT_EQ(EventLog(), (Log{Noted(0, UnitId(4))}));

    EventLog().clear();
    PressKey(VK_RETURN, Handle(7));
    EXPECT_TRUE(EventLog().empty());

    // A focused default button is pressed itself.
    SetFocus(Handle(5));
    PressKey(VK_RETURN);
    EXPECT_EQ(EventLog(), (Log{Noted(0, UnitId(5))}));
}

TEST_F(WindowKeysTest, EnterMovesTheFocusLikeTabWhenAsked) {
    WindowOptions options = Placed();
    options.enterMovesFocus = 1;
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a"), Unit(3, EditType, "b"), Unit(4, ButtonType, "ok", ProbeOption::DefaultButton)},
                         options));
    SetFocus(Handle(3));
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), Handle(2));
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(WindowKeysTest, ArrowsMoveAmongOptionButtonsMarkingThem) {
    ASSERT_TRUE(LoadWith({Unit(2, OptionType, "one"), Unit(3, OptionType, "two"), Unit(4, OptionType, "three"),
                          Unit(5, EditType, "edit")}));
    SetFocus(Handle(4));
    PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Handle(3));
    EXPECT_TRUE(Checked(3));
    EXPECT_FALSE(Checked(2));
    EXPECT_FALSE(Checked(4));
    EXPECT_EQ(EventLog(), (Log{Noted(0, UnitId(3))}));

    PressKey(VK_UP);
    EXPECT_EQ(GetFocus(), Handle(4));
    EXPECT_TRUE(Checked(4));
    EXPECT_FALSE(Checked(3));

    // Not among option buttons: arrows are the unit's.
    EventLog().clear();
    SetFocus(Handle(5));
    PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Handle(5));
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(WindowKeysTest, AltMnemonicsPressToggleAndFocusByType) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "edit"), Unit(3, CheckBoxType, "选项(&K)"), Unit(4, ButtonType, "&Go"),
                          Unit(5, LabelType, "&Name", 0, 1), Unit(6, EditType, "after label", 0, 1),
                          Unit(7, ButtonType, "R&&D")}));
    PressAlt('K');
    EXPECT_TRUE(Checked(3));
    EXPECT_EQ(EventLog(), (Log{Noted(0, UnitId(3))}));
    PressAlt('K');
    EXPECT_FALSE(Checked(3));

    EventLog().clear();
    PressAlt('G');  // "&Go": the letter in either case
    EXPECT_EQ(EventLog(), (Log{Noted(0, UnitId(4))}));

    EventLog().clear();
    PressAlt('D');  // "&&" is a plain "&"
    EXPECT_TRUE(EventLog().empty());

    // A label's mnemonic moves the focus to the first unit of its focus order or later.
    SetFocus(Handle(2));
    PressAlt('N');
    EXPECT_EQ(GetFocus(), Handle(6));
}

// The window's own key event comes first, from every unit, naming the unit; a
// key the system repeats while it is held raises none and presses no button.
TEST_F(WindowKeysTest, KeysReachTheWindowsKeyEventFirstThenTheCommonEventsAndTheUnit) {
    RecordDescription edit = Unit(2, EditType, "edit");
    edit.bindings = {Noting(-9)};
    ASSERT_TRUE(LoadWith({edit, Unit(3, ButtonType, "ok", ProbeOption::DefaultButton)}, Placed(), {Noting(-9)}));
    SetFocus(Handle(2));
    PressKey('A');
    PressKey(VK_TAB);  // the window's: no key event of the unit
    PostMessageA(Handle(3), WM_KEYDOWN, VK_RETURN, 1 | (1 << 30));
    testprogram::Pump();
    const std::string window = Noted(-9, WindowRecord), fromEdit = std::to_string(UnitId(2));
    EXPECT_EQ(EventLog(), (Log{window + " 65 0 " + fromEdit, Noted(-9, UnitId(2)) + " 65 0", window + " 9 0 " + fromEdit}));
}

TEST_F(WindowKeysTest, DragAnywherePostsACaptionClickForTheWindowAndForLabelsOnly) {
    auto pressOn = [](HWND target) {
        MSG press{target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, {200, 200}};
        static_cast<CWnd*>(WindowObject())->PreTranslateMessage(&press);
        MSG posted;
        return PeekMessageA(&posted, WindowHandle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != FALSE &&
               posted.wParam == HTCAPTION && posted.lParam == MAKELPARAM(200, 200);
    };
    WindowOptions options = Placed();
    options.dragAnywhere = 1;
    ASSERT_TRUE(LoadWith({Unit(2, LabelType, "label"), Unit(3, EditType, "edit")}, options));
    EXPECT_TRUE(pressOn(WindowHandle()));
    EXPECT_TRUE(pressOn(Handle(2)));
    EXPECT_FALSE(pressOn(Handle(3)));

    ASSERT_TRUE(LoadWith({Unit(2, LabelType, "label")}));
    EXPECT_FALSE(pressOn(WindowHandle()));
    EXPECT_FALSE(pressOn(Handle(2)));
}

TEST_F(WindowKeysTest, MenuShortcutsGoThroughTheAcceleratorsFirst) {
    RecordDescription edit = Unit(2, EditType, "edit");
    edit.bindings = {Noting(-9)};
    RecordDescription item = MenuItemRecord(0x10, "全选");
    item.shortcut = 1;  // Ctrl+A
    ASSERT_TRUE(LoadWith({edit, item}));
    ASSERT_EQ(GetFocus(), Handle(2));
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(Handle(2), WM_KEYDOWN, 'A', 1);
    testprogram::Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(EventLog(), (Log{Noted(0, MenuItemId(0x10))}));
}

TEST_F(WindowKeysTest, KeysOfADisabledWindowAreLeftAlone) {
    ASSERT_TRUE(LoadWith({Unit(2, EditType, "a")}));
    EnableWindow(WindowHandle(), FALSE);
    PostMessageA(Handle(2), WM_KEYDOWN, VK_ESCAPE, 1);
    testprogram::Pump();
    EXPECT_NE(WindowHandle(), nullptr);
    EnableWindow(WindowHandle(), TRUE);
}

}  // namespace
}  // namespace windowtest
