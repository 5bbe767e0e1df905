// The tool's window as a user meets it: the layout after start and after every
// resize, the pages and their units, the underline on the line-break option,
// select-all in the main box.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "app/template_description.h"
#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;
using quillet::app::WindowRecord;

int32_t WindowWidth() { return Int(WindowRecord, Property::Width); }
int32_t WindowHeight() { return Int(WindowRecord, Property::Height); }

// What the layout makes of the window's current size.
void ExpectLayoutFollowsWindow() {
    const int32_t w = WindowWidth(), h = WindowHeight();
    SCOPED_TRACE(testing::Message() << "window " << w << " x " << h);
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Left), 0);
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Top), h - 65);
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Width), w);
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Height), 24);
    EXPECT_EQ(Int(Unit::TabControl, Property::Left), 8);
    EXPECT_EQ(Int(Unit::TabControl, Property::Top), 8);
    EXPECT_EQ(Int(Unit::TabControl, Property::Width), w - 30);
    EXPECT_EQ(Int(Unit::TabControl, Property::Height), 88);
    for (UnitId button : {Unit::CleanupButton, Unit::NumberingButton, Unit::ReplaceButton}) {
        EXPECT_EQ(Int(button, Property::Left), w - 105);
        EXPECT_EQ(Int(button, Property::Top), 29);  // not written
    }
    EXPECT_EQ(Int(Unit::MainBox, Property::Left), 8);
    EXPECT_EQ(Int(Unit::MainBox, Property::Top), 104);
    EXPECT_EQ(Int(Unit::MainBox, Property::Width), w - 30);
    EXPECT_EQ(Int(Unit::MainBox, Property::Height), h - 172);
    // 打开, 保存, 另存为 and 撤消 side by side in the tab's header row, clear of each other.
    const struct {
        UnitId label;
        int32_t fromRight;
    } header[] = {{Unit::OpenLabel, 400}, {Unit::SaveLabel, 352}, {Unit::SaveAsLabel, 304}, {Unit::UndoLabel, 220}};
    for (size_t k = 0; k < std::size(header); ++k) {
        EXPECT_EQ(Int(header[k].label, Property::Left), w - header[k].fromRight);
        EXPECT_EQ(Int(header[k].label, Property::Top), 10);
        if (k > 0) {
            EXPECT_LT(Int(header[k - 1].label, Property::Left) + Int(header[k - 1].label, Property::Width),
                      Int(header[k].label, Property::Left));
        }
    }
}

class LayoutTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        SetInt(WindowRecord, Property::Width, 800);
        SetInt(WindowRecord, Property::Height, 600);
    }
};

TEST_F(LayoutTest, AtStartTheUnitsFollowTheWindowNotTheirDesignSizes) {
    EXPECT_EQ(WindowWidth(), 800);
    EXPECT_EQ(WindowHeight(), 600);
    ExpectLayoutFollowsWindow();
    // The design had the about label at 541 and the main box 426 high.
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Top), 535);
    EXPECT_EQ(Int(Unit::MainBox, Property::Height), 428);
    EXPECT_EQ(Int(Unit::TabControl, Property::Width), 770);
}

TEST_F(LayoutTest, EveryResizeLaysTheUnitsOutAgain) {
    const std::vector<std::pair<int32_t, int32_t>> sizes = {{1000, 750}, {800, 600}, {801, 603}, {1280, 1000}};
    for (const auto& [w, h] : sizes) {
        SetInt(WindowRecord, Property::Width, w);
        SetInt(WindowRecord, Property::Height, h);
        EXPECT_EQ(WindowWidth(), w);
        EXPECT_EQ(WindowHeight(), h);
        ExpectLayoutFollowsWindow();
    }
    // A resize that does not come from the program: the window's frame dragged.
    SetWindowPos(Handle(WindowRecord), nullptr, 0, 0, 900, 720, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(WindowWidth(), 900);
    ExpectLayoutFollowsWindow();
}

// Written by the program or dragged by the user, a restored window takes no
// size below the one its units were placed for; minimised it is left alone.
TEST_F(LayoutTest, TheWindowTakesNoSizeBelowItsDesign) {
    struct Size {
        int32_t width, height, takenWidth, takenHeight;
    };
    for (const Size size : {Size{420, 300, 800, 600}, Size{799, 900, 800, 900}, Size{1000, 200, 1000, 600}}) {
        SetInt(WindowRecord, Property::Width, size.width);
        SetInt(WindowRecord, Property::Height, size.height);
        EXPECT_EQ(WindowWidth(), size.takenWidth) << size.width;
        EXPECT_EQ(WindowHeight(), size.takenHeight) << size.height;
        ExpectLayoutFollowsWindow();
        SetWindowPos(Handle(WindowRecord), nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        EXPECT_EQ(WindowWidth(), size.takenWidth) << "dragged " << size.width;
        EXPECT_EQ(WindowHeight(), size.takenHeight) << "dragged " << size.height;
    }
    ShowWindow(Handle(WindowRecord), SW_MINIMIZE);
    Pump();
    EXPECT_TRUE(IsIconic(Handle(WindowRecord)));
    ShowWindow(Handle(WindowRecord), SW_RESTORE);
    Pump();
    EXPECT_FALSE(IsIconic(Handle(WindowRecord)));
    EXPECT_EQ(WindowWidth(), 1000);
}

// FocusUnit, as the tool calls it at start: a unit that is shown and enabled
// takes the focus; a hidden or disabled one leaves it where it was.
TEST_F(LayoutTest, FocusUnitMovesTheFocusToShownEnabledUnitsOnly) {
    constexpr int32_t Disabled = 6;
    const auto focus = [](UnitId unit, uint32_t type) {
        quillet::CommandArg reference = quillet::compiled::UnitArg(quillet::app::MainWindow, unit, type);
        quillet::CommandArg result{};
        quillet::commands::FocusUnit(&result, 1, &reference);
        return result.low;
    };
    namespace Type = quillet::app::UnitType;
    EXPECT_EQ(focus(Unit::MainBox, Type::EditBox), 1u);
    EXPECT_EQ(GetFocus(), Handle(Unit::MainBox));
    EXPECT_EQ(focus(Unit::UnderlineLabel, Type::Label), 0u) << "hidden";
    SetInt(Unit::RemoveSpacesBox, Disabled, 1);
    EXPECT_EQ(focus(Unit::RemoveSpacesBox, Type::CheckBox), 0u) << "disabled";
    SetInt(Unit::RemoveSpacesBox, Disabled, 0);
    EXPECT_EQ(GetFocus(), Handle(Unit::MainBox));
    EXPECT_EQ(focus(Unit::RemoveSpacesBox, Type::CheckBox), 1u);
    EXPECT_EQ(GetFocus(), Handle(Unit::RemoveSpacesBox));
}

TEST_F(LayoutTest, OnlyTheCurrentPagesUnitsAreShown) {
    const quillet::WindowDescription window = quillet::app::MainWindowDescription();
    std::vector<std::vector<UnitId>> pages(1);
    for (const quillet::RecordDescription& record : window.records)
        if (record.id == Unit::TabControl)
            for (UnitId word : record.childWords) {
                if (word == 0)
                    pages.emplace_back();
                else
                    pages.back().push_back(word);
            }
    pages.pop_back();
    ASSERT_EQ(pages.size(), 3u);

    for (int32_t current : {1, 2, 0}) {
        ShowPage(current);
        for (int32_t page = 0; page < 3; ++page)
            for (UnitId unit : pages[page]) {
                SCOPED_TRACE(testing::Message() << "page " << current << " unit " << std::hex << unit);
                const bool shown = page == current && unit != Unit::UnderlineLabel;
                EXPECT_EQ(IsWindowVisible(Handle(unit)) != FALSE, shown);
            }
    }
    // The three run buttons share one place; one shows at a time.
    RECT first{}, other{};
    GetWindowRect(Handle(Unit::CleanupButton), &first);
    for (UnitId button : {Unit::NumberingButton, Unit::ReplaceButton}) {
        GetWindowRect(Handle(button), &other);
        EXPECT_TRUE(EqualRect(&first, &other));
    }
    // The units on the window itself stay whatever the page.
    for (UnitId unit : {Unit::TabControl, Unit::MainBox, Unit::UndoLabel, Unit::OpenLabel, Unit::SaveLabel,
                        Unit::SaveAsLabel, Unit::AboutLabel})
        EXPECT_TRUE(IsWindowVisible(Handle(unit)));
}

TEST_F(LayoutTest, PressingTheLineBreakOptionShowsTheUnderlineAndUnticksRemoveBlankLines) {
    for (bool joinBefore : {false, true}) {
        SCOPED_TRACE(joinBefore ? "unticking the line-break option" : "ticking the line-break option");
        SetChecked(Unit::RemoveBlankLinesBox, true);
        SetChecked(Unit::JoinLinesBox, joinBefore);
        SetInt(Unit::UnderlineLabel, Property::LabelTextColor, 0);

        PostMouseDown(Unit::JoinLinesBox);
        Pump();
        EXPECT_EQ(Int(Unit::UnderlineLabel, Property::Visible), 1);
        EXPECT_TRUE(IsWindowVisible(Handle(Unit::UnderlineLabel)));
        EXPECT_EQ(Int(Unit::UnderlineLabel, Property::LabelTextColor), 0x808080);
        EXPECT_FALSE(Checked(Unit::RemoveBlankLinesBox));

        PostMouseUp(Unit::JoinLinesBox);
        Pump();
        EXPECT_EQ(Int(Unit::UnderlineLabel, Property::Visible), 0);
        EXPECT_FALSE(IsWindowVisible(Handle(Unit::UnderlineLabel)));
        EXPECT_FALSE(Checked(Unit::RemoveBlankLinesBox));
        EXPECT_EQ(Checked(Unit::JoinLinesBox), !joinBefore);  // the click still toggles it
    }
}

TEST_F(LayoutTest, CtrlASelectsTheWholeMainBoxAndCtrlShiftADoesNot) {
    SetText(Unit::MainBox, "first line\r\n中文 second\r\nthird");
    HWND box = Handle(Unit::MainBox);
    SetFocus(box);
    SetInt(Unit::MainBox, Property::EditSelLength, -1);
    DWORD allStart = 0, allEnd = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&allStart), reinterpret_cast<LPARAM>(&allEnd));
    ASSERT_GT(allEnd, 20u);
    const std::string before = Text(Unit::MainBox);

    const auto selection = [box] {
        DWORD start = 0, end = 0;
        SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return std::make_pair(start, end);
    };
    SendMessageA(box, EM_SETSEL, 3, 3);
    PressKey(Unit::MainBox, 'A', {VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(selection(), std::make_pair(DWORD{3}, DWORD{3}));

    PressKey(Unit::MainBox, 'A', {VK_CONTROL});
    EXPECT_EQ(selection(), std::make_pair(allStart, allEnd));
    EXPECT_EQ(Text(Unit::MainBox), before);
}

}  // namespace
