// Property access by (window id, unit id, index): the common properties from
// the live window or the template, clamping, pages, cursors, own properties and
// the re-creation they may ask for, and the fatal reports of bad addresses.
#include <gtest/gtest.h>

#include "framework/wnd.h"
#include "runtime/events/property_access.h"
#include "runtime/events/window_loader.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/runtime/events/probe_units.h"
#include "tests/support/fatal_guard.h"

namespace quillet {
namespace {

using namespace probe;

namespace Index {
constexpr int32_t Left = 0, Top = 1, Width = 2, Height = 3, Tag = 4, Visible = 5, Disabled = 6, Pointer = 7;
}


using PropertyAccessTest = StandardWindowTest;

TEST_F(PropertyAccessTest, UnloadedWindowsAnswerFromTheirTemplate) {
    EXPECT_EQ(Read(C, Index::Width), 120u);
    EXPECT_EQ(Read(C, Index::Left), 10u);
    EXPECT_EQ(Read(C, Index::Visible), 0u);
    EXPECT_EQ(Read(A, Index::Visible), 1u);
    EXPECT_EQ(Read(WindowRecord, Index::Width), 400u);
    Write(C, Index::Width, 40000);
    EXPECT_EQ(Read(C, Index::Width), 32627u);
    Write(C, Index::Width, -5);
    EXPECT_EQ(Read(C, Index::Width), 0u);
    Write(C, Index::Left, -40000);
    EXPECT_EQ(static_cast<int32_t>(Read(C, Index::Left)), -32627);
    Write(C, Index::Top, 40000);
    EXPECT_EQ(Read(C, Index::Top), 32627u);
}

TEST_F(PropertyAccessTest, LiveUnitsAnswerFromTheirWindows) {
    Load();
    EXPECT_EQ(Read(A, Index::Left), 5u) << "relative to its container";
    Write(D, Index::Left, 77);
    Write(D, Index::Height, 31);
    RECT area;
    GetWindowRect(Handle(D), &area);
    MapWindowPoints(nullptr, Handle(0), reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, 77);
    EXPECT_EQ(area.bottom - area.top, 31);
    EXPECT_EQ(area.right - area.left, 120) << "the other dimension is kept";
    Write(D, Index::Disabled, 1);
    EXPECT_FALSE(IsWindowEnabled(Handle(D)));
    EXPECT_EQ(Read(D, Index::Disabled), 1u);
    Write(D, Index::Visible, 0);
    EXPECT_FALSE(IsWindowVisible(Handle(D)));
}

TEST_F(PropertyAccessTest, AUnitOnAnotherPageStaysHiddenUntilItsPageIsShown) {
    Load();
    HWND b = Handle(B);
    Write(B, Index::Visible, 0);
    Write(B, Index::Visible, 1);
    EXPECT_FALSE(IsWindowVisible(b)) << "page 1 is not current";
    Write(Tab, CurrentPageProperty, 1);
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_FALSE(IsWindowVisible(Handle(A)));

    // Hidden on the current page, it stays hidden when its page comes back.
    Write(B, Index::Visible, 0);
    Write(Tab, CurrentPageProperty, 0);
    Write(Tab, CurrentPageProperty, 1);
    EXPECT_FALSE(IsWindowVisible(b));
    EXPECT_EQ(Read(B, Index::Visible), 0u);
}

TEST_F(PropertyAccessTest, TagsAndPointersRoundTrip) {
    Load();
    Write(C, Index::Tag, static_cast<int32_t>(Word("标签值")));
    char* tag = reinterpret_cast<char*>(Read(C, Index::Tag));
    EXPECT_STREQ(tag, "标签值");
    FreeBlock(tag);
    EXPECT_EQ(Read(D, Index::Width), 120u) << "the record behind the grown one still reads right";

    const int32_t sizeWe = 12;
    void* pointer = NewByteSet(&sizeWe, 4);
    Write(C, Index::Pointer, static_cast<int32_t>(Word(pointer)));
    FreeBlock(pointer);
    void* back = reinterpret_cast<void*>(Read(C, Index::Pointer));
    ASSERT_EQ(ByteSetLength(back), 4);
    int32_t number = 0;
    std::memcpy(&number, ByteSetBytes(back), 4);
    EXPECT_EQ(number, 12);
    FreeBlock(back);
    UnitRecord record = ProgramWindows().Find(WindowId)->working.RecordAt(4);
    EXPECT_NE(record.Cursor(), nullptr) << "the record now holds a cursor";
}

TEST_F(PropertyAccessTest, OwnPropertiesGoThroughTheType) {
    Load();
    Write(A, TextProperty, Word("新文本"));
    char* text = reinterpret_cast<char*>(Read(A, TextProperty));
    EXPECT_STREQ(text, "新文本");
    FreeBlock(text);
    Write(A, FlagProperty, 2);
    EXPECT_EQ(Read(A, FlagProperty), 1u) << "a logical 2 is stored as 1";
    Write(A, PickProperty, -5);
    EXPECT_EQ(Read(A, PickProperty), 0u);
    Write(A, PickProperty, 9);
    EXPECT_EQ(Read(A, PickProperty), 3u);
}

TEST_F(PropertyAccessTest, AWriteThatAsksForItIsFollowedByARebuildInPlace) {
    Load();
    HWND before = Handle(D);
    SetFocus(before);
    Write(D, TextProperty, Word("kept"));
    Write(D, NumberProperty, 42);
    HWND after = Handle(D);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(Read(D, NumberProperty), 42u);
    char* text = reinterpret_cast<char*>(Read(D, TextProperty));
    EXPECT_STREQ(text, "kept");
    FreeBlock(text);
    EXPECT_EQ(GetFocus(), after);
    EXPECT_EQ(GetDlgCtrlID(after), 100);
    EXPECT_EQ(GetWindow(after, GW_HWNDPREV), Handle(C)) << "still after its earlier sibling";
    EXPECT_EQ(Read(D, Index::Left), 150u);
    EXPECT_EQ(EventSuppressionCount(), 0);
}

TEST_F(PropertyAccessTest, BadAddressesAreFatalWithTheirIds) {
    auto report = CatchFatalReport([] { Read(0x16010077, Index::Width); });
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->text.find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos);
    EXPECT_NE(report->text.find("1375797249, 369164407"), std::string::npos) << report->text;

    report = CatchFatalReport([] { ReadUnitProperty(0x52010009, A, Index::Width, -1); });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("未载入欲访问窗口组件所在的窗口"), 0u);

    report = CatchFatalReport([] { Write(A, TextProperty, 0); });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("修改组件属性时发现指定窗口尚未载入"), 0u);
    report = CatchFatalReport([] { Read(A, TextProperty); });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("读取组件属性时发现指定窗口尚未载入"), 0u);
}

}  // namespace
}  // namespace quillet
