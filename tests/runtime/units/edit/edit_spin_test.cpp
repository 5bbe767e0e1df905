// The spin adjuster on real windows: stepping with wrap-around, the event-only
// mode, the range, and how it follows its edit box.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/template/unit_record.h"
#include "tests/runtime/units/edit/edit_test_program.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;
constexpr uint32_t B = 0x16010002;
constexpr RECT RowA{20, 20, 120, 44};
constexpr RECT RowB{20, 80, 120, 104};

EditBoxData Spinning(int32_t mode, int32_t lower, int32_t upper, const std::string& content = "") {
    EditBoxData data;
    data.fields.spinMode = mode;
    data.fields.spinLower = lower;
    data.fields.spinUpper = upper;
    data.content = content;
    return data;
}

class EditSpinTest : public EditTest {
protected:
    void LoadBox(const EditBoxData& data) {
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, RowA, data, NotingBindings()), EditAt(B, RowB, {})})));
        TakeEvents();
    }

    // The up-down controls beside the box, in the box's parent.
    static std::vector<HWND> SpinsBeside(uint32_t unit) {
        std::vector<HWND> spins;
        for (HWND child = GetWindow(GetParent(Handle(unit)), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, UPDOWN_CLASSA) == 0) spins.push_back(child);
        }
        return spins;
    }
    static HWND Spin(uint32_t unit) {
        const std::vector<HWND> spins = SpinsBeside(unit);
        return spins.size() == 1 ? spins[0] : nullptr;
    }

    // A click on an arrow through the runtime's loop.
    static void Press(HWND spin, bool up) {
        RECT area;
        GetClientRect(spin, &area);
        const LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
        PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(spin, WM_LBUTTONUP, 0, at);
        testprogram::Pump();
    }

    static RECT PlacedRect(HWND window) {
        RECT area;
        GetWindowRect(window, &area);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&area), 2);
        return area;
    }
};

TEST_F(EditSpinTest, AutomaticSteppingWrapsAroundTheRange) {
    LoadBox(Spinning(1, 0, 100, "100"));
    HWND spin = Spin(A);
    ASSERT_NE(spin, nullptr);
    struct Step {
        std::string text;
        bool up;
        std::string result;
    };
    for (const Step& step : {Step{"100", true, "0"}, Step{"0", false, "100"}, Step{"abc", true, "1"},
                             Step{"-50", true, "0"}, Step{"42", false, "41"}}) {
        WriteText(A, Prop::Content, step.text);
        SetFocus(Handle(B));
        TakeEvents();
        Press(spin, step.up);
        EXPECT_EQ(ReadText(A, Prop::Content), step.result) << step.text << (step.up ? " up" : " down");
        EXPECT_EQ(ReadInt(A, Prop::SelStart), 0);
        EXPECT_EQ(ReadInt(A, Prop::SelLength), static_cast<int32_t>(step.result.size())) << "all selected";
        EXPECT_EQ(GetFocus(), Handle(A));
        const Events events = TakeEvents();
        EXPECT_EQ(std::count(events.begin(), events.end(), "changed 1"), 1) << step.text;
    }
}

TEST_F(EditSpinTest, TheRangeIsOrderedAndKeepsItsFullWidth) {
    LoadBox(Spinning(1, 50, 10, "50"));
    HWND spin = Spin(A);
    ASSERT_NE(spin, nullptr);
    int lower = 0, upper = 0;
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 50);
    Press(spin, true);
    EXPECT_EQ(ReadText(A, Prop::Content), "10");

    Write(A, Prop::SpinLower, 100000);  // beyond 16 bits
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 100000);
    EXPECT_EQ(ReadInt(A, Prop::SpinLower), 100000);
    EXPECT_EQ(ReadInt(A, Prop::SpinUpper), 10);
    WriteText(A, Prop::Content, "99999");
    Press(spin, true);
    EXPECT_EQ(ReadText(A, Prop::Content), "100000");
}

TEST_F(EditSpinTest, EventOnlyModeRaisesSpinAdjustedWhileTheBoxIsEnabledAndVisible) {
    LoadBox(Spinning(2, 0, 100, "7"));
    HWND spin = Spin(A);
    ASSERT_NE(spin, nullptr);
    Press(spin, true);
    Press(spin, false);
    EXPECT_EQ(TakeEvents(), (Events{"spin 1 1", "spin 1 -1"}));
    EXPECT_EQ(ReadText(A, Prop::Content), "7");

    Write(A, Prop::Disabled, 1);
    EXPECT_FALSE(IsWindowEnabled(spin));
    EnableWindow(spin, TRUE);  // the box itself refuses while disabled
    Press(spin, true);
    EXPECT_TRUE(TakeEvents().empty());
    Write(A, Prop::Disabled, 0);
    EXPECT_TRUE(IsWindowEnabled(spin));
    Press(spin, true);
    EXPECT_EQ(TakeEvents(), Events{"spin 1 1"});
}

TEST_F(EditSpinTest, TheAdjusterFollowsTheBoxAndSitsRightBeforeIt) {
    LoadBox(Spinning(1, 0, 9));
    HWND spin = Spin(A);
    ASSERT_NE(spin, nullptr);
    const auto expectBeside = [&](const char* when) {
        const RECT box = PlacedRect(Handle(A));
        const RECT placed = PlacedRect(spin);
        EXPECT_EQ(placed.left, box.right) << when;
        EXPECT_EQ(placed.top, box.top) << when;
        EXPECT_EQ(placed.right - placed.left, 18) << when;
        EXPECT_EQ(placed.bottom - placed.top, box.bottom - box.top) << when;
        EXPECT_EQ(GetWindow(Handle(A), GW_HWNDPREV), spin) << when;
        EXPECT_EQ(GetParent(spin), GetParent(Handle(A))) << when;
    };
    expectBeside("after loading");
    EXPECT_TRUE(IsWindowVisible(spin));
    EXPECT_NE(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
    EXPECT_EQ(GetDlgCtrlID(spin), GetDlgCtrlID(Handle(A)) + 4);

    Write(A, Prop::Left, 150);
    expectBeside("after a move");
    Write(A, Prop::Height, 40);
    expectBeside("after a resize");
    SetWindowPos(Handle(B), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(Handle(A), Handle(B), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    expectBeside("after a change of z-order");

    Write(A, Prop::Visible, 0);
    EXPECT_FALSE(IsWindowVisible(spin));
    Write(A, Prop::Visible, 1);
    EXPECT_TRUE(IsWindowVisible(spin));

    Write(A, Prop::BorderStyle, 5);
    EXPECT_EQ(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
    Write(A, Prop::BorderStyle, 3);
    EXPECT_NE(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);

    Write(A, Prop::Alignment, 1);  // a rebuild: one new adjuster, the old one gone
    spin = Spin(A);
    ASSERT_NE(spin, nullptr) << SpinsBeside(A).size() << " adjusters";
    expectBeside("after a rebuild");
    EXPECT_TRUE(IsWindowVisible(spin));
}

TEST_F(EditSpinTest, OnlySingleLineBoxesWithASpinModeHaveAnAdjuster) {
    EditBoxData multi = Spinning(1, 0, 9);
    multi.fields.multiLine = 1;
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, RowA, multi), EditAt(B, RowB, Spinning(0, 0, 9))})));
    EXPECT_TRUE(SpinsBeside(A).empty());
    Write(B, Prop::SpinMode, 2);
    EXPECT_EQ(SpinsBeside(B).size(), 1u);
    Write(B, Prop::SpinMode, 0);
    EXPECT_TRUE(SpinsBeside(B).empty());
}

TEST_F(EditSpinTest, ABoxCreatedDisabledHasADisabledAdjuster) {
    RecordDescription box = EditAt(A, RowA, Spinning(1, 0, 9));
    box.flags |= RecordFlag::Disabled;
    ASSERT_TRUE(LoadWindowOf(WindowWith({box})));
    HWND spin = Spin(A);
    ASSERT_NE(spin, nullptr);
    EXPECT_FALSE(IsWindowEnabled(spin));
}

}  // namespace
}  // namespace quillet
