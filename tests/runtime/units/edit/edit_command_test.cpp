// The AppendText command on edit boxes of a loaded window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "tests/runtime/units/edit/edit_test_program.h"
#include "tests/support/fatal_guard.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;
constexpr uint32_t M = 0x16010002;

CommandArg UnitRef(uint32_t unitId) { return {WindowId, unitId, EditType}; }
CommandArg TextArg(const char* text) { return {Word(text), 0, DataType::Text}; }

void Append(std::vector<CommandArg> args) {
    CommandArg result{};
    commands::AppendText(&result, static_cast<int32_t>(args.size()), args.data());
}

int closings = 0;

HandlerResult CloseTheWindow(const uint32_t*, int32_t) {
    ++closings;
    DestroyWindow(Handle(0));
    return {0, 0, 0};
}

int rebuilds = 0;  // ContentChanged handlers that rebuilt their box

// Rebuilds the box in a new window on its first change (a new Alignment).
HandlerResult RebuildTheBox(const uint32_t*, int32_t) {
    if (rebuilds++ == 0) Write(A, Prop::Alignment, 2);
    return {0, 0, 0};
}

class AppendTextTest : public EditTest {
protected:
    void LoadBoxes() {
        EditBoxData multi = MultiLine();
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 44}, {}, NotingBindings()),
                                             EditAt(M, {20, 60, 320, 260}, multi, NotingBindings())})));
        TakeEvents();
    }
};

TEST_F(AppendTextTest, EveryTextGoesToTheEndInOrderWhateverTheCaret) {
    LoadBoxes();
    for (uint32_t unit : {A, M}) {
        WriteText(unit, Prop::Content, "中文start");
        Write(unit, Prop::SelStart, 2);
        Write(unit, Prop::SelLength, 3);  // a selection, which appending must not replace
        Append({UnitRef(unit), TextArg("A\r\n"), TextArg("B")});
        const std::string expected = "中文startA\r\nB";
        EXPECT_EQ(ReadText(unit, Prop::Content), expected) << std::hex << unit;
        EXPECT_EQ(ReadInt(unit, Prop::SelStart), static_cast<int32_t>(expected.size())) << "the caret at the end";
    }
}

TEST_F(AppendTextTest, NumbersAppendAsTheirTextAndEachInsertionIsAChange) {
    LoadBoxes();
    WriteText(M, Prop::Content, "n=");
    TakeEvents();
    Append({UnitRef(M), {7, 0, DataType::Int}, TextArg("中")});
    EXPECT_EQ(ReadText(M, Prop::Content), "n=7中");
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 2", "changed 2"}));
    Append({UnitRef(M)});  // no text: nothing happens
    EXPECT_EQ(ReadText(M, Prop::Content), "n=7中");
}

TEST_F(AppendTextTest, AHandlerThatClosesTheWindowEndsTheAppending) {
    const std::vector<EventBinding> closing = {{0, testprogram::HandlerOffset(&CloseTheWindow)}};
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 44}, {}, closing)})));
    closings = 0;
    Append({UnitRef(A), TextArg("one"), TextArg("two"), TextArg("three")});
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(Handle(0), nullptr);
}

TEST_F(AppendTextTest, AHandlerThatRebuildsTheBoxLetsTheRestGoIntoTheNewWindow) {
    const std::vector<EventBinding> rebuilding = {{0, testprogram::HandlerOffset(&RebuildTheBox)}};
    ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 44}, {}, rebuilding)})));
    rebuilds = 0;
    const HWND before = Handle(A);
    Append({UnitRef(A), TextArg("one"), TextArg("two"), TextArg("three")});
    EXPECT_NE(Handle(A), before) << "the box was rebuilt";
    EXPECT_EQ(ReadText(A, Prop::Content), "onetwothree");
    EXPECT_EQ(rebuilds, 3);
}

TEST_F(AppendTextTest, AUnitThatIsNoEditBoxIsLeftAloneAndOneNotLoadedIsFatal) {
    LoadBoxes();
    HWND window = Handle(0);
    char before[64] = {};
    GetWindowTextA(window, before, sizeof before);
    Append({{WindowId, 0, WindowType}, TextArg("X")});
    char after[64] = {};
    GetWindowTextA(window, after, sizeof after);
    EXPECT_STREQ(after, before);

    const auto report = CatchFatalReport([] { Append({UnitRef(0x160100FF), TextArg("X")}); });
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->text.find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos);
}

}  // namespace
}  // namespace quillet
