// The tab control unit in a loaded window: pages chosen by writing CurrentPage
// and by real clicks on the headers, the page-change veto, which units show and
// which takes the focus, rebuilds that keep the pages' units, the header-less
// container, and the children's messages passed back to them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/events/property_access.h"
#include "runtime/template/window_table.h"
#include "runtime/units/font_data.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/runtime/units/tab/tab_test_units.h"
#include "tests/support/test_program.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

using namespace tabtest;

const std::vector<std::string> ToolPages = {"去除空行", "增加序号", "多词替换"};
const std::vector<uint32_t> Page0 = {Field0a, Field0b};
const std::vector<uint32_t> Page1 = {Note1, Field1d, Field1a, Field1b};  // Field1h starts hidden
const std::vector<uint32_t> Page2 = {Field2a};

// ---- handlers bound to the tab's events ----

enum class Answer { Nothing, True, False };
Answer changingAnswer = Answer::Nothing;
int32_t closeOnEvent = -1;             // the handler of this event closes the window
std::vector<std::string> eventLog;

bool Shown(uint32_t unitId) { return IsWindowVisible(Handle(unitId)) != FALSE; }
int32_t CurrentPage() { return ReadInt(Tab, Prop::CurrentPage); }

void CloseIfAsked(int32_t event) {
    if (closeOnEvent == event) DestroyWindow(Handle(0));
}

HandlerResult OnClick(const uint32_t*, int32_t) {
    eventLog.push_back("click");
    CloseIfAsked(0);
    return {0, 0, 0};
}
HandlerResult OnChanging(const uint32_t*, int32_t) {
    eventLog.push_back("changing");
    CloseIfAsked(1);
    switch (changingAnswer) {
    case Answer::True: return {1, 1, 0};
    case Answer::False: return {1, 0, 0};
    default: return {0, 0, 0};
    }
}
HandlerResult OnChanged(const uint32_t*, int32_t) {
    // What the handler sees: the new page, its units not switched yet.
    eventLog.push_back("changed to " + std::to_string(CurrentPage()) + (Shown(Field1a) ? ", page 1 shown" : ""));
    CloseIfAsked(2);
    return {0, 0, 0};
}

class TabUnitTest : public TabTest {
protected:
    void SetUp() override {
        changingAnswer = Answer::Nothing;
        closeOnEvent = -1;
        eventLog.clear();
        FieldLog().clear();
    }

    static TabFields ToolTab() {
        TabFields fields;
        fields.pages = ToolPages;
        return fields;
    }
    static void Load(const TabFields& fields) {
        WindowDescription window = StandardWindow(fields);
        RecordOf(window, Tab).bindings = {{0, testprogram::HandlerOffset(&OnClick)},
                                          {1, testprogram::HandlerOffset(&OnChanging)},
                                          {2, testprogram::HandlerOffset(&OnChanged)}};
        ASSERT_TRUE(testunits::LoadWindowOf(window));
    }

    static std::string Caption(int page) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(Handle(Tab), TCM_GETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
        return quillet::TextFromWide(text);
    }
    static int HeaderCount() { return static_cast<int>(SendMessageA(Handle(Tab), TCM_GETITEMCOUNT, 0, 0)); }
    static int Selection() { return static_cast<int>(SendMessageA(Handle(Tab), TCM_GETCURSEL, 0, 0)); }

    // The units of the tab's pages that are visible, in page order.
    static std::vector<uint32_t> ShownMembers() {
        std::vector<uint32_t> shown;
        for (const auto& page : PageMembers)
            for (uint32_t id : page)
                if (Shown(id)) shown.push_back(id);
        return shown;
    }

    // A real click: button down and up at the middle of the header, posted and
    // handled by the runtime's loop.
    static void ClickHeader(int page) {
        HWND tab = Handle(Tab);
        RECT header{};
        ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&header)));
        const LPARAM at = MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2);
        PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(tab, WM_LBUTTONUP, 0, at);
        testprogram::Pump();
    }
    static void PressKey(HWND window, WPARAM key) {
        PostMessageA(window, WM_KEYDOWN, key, 1);
        PostMessageA(window, WM_KEYUP, key, 0xC0000001);
        testprogram::Pump();
    }
    static std::string SavedData() { return Saved(Tab, TabType); }
};

TEST_F(TabUnitTest, WritingCurrentPageClampsItAndRaisesNoEvent) {
    Load(ToolTab());
    EXPECT_EQ(HeaderCount(), 3);
    EXPECT_EQ(Caption(1), "增加序号");
    EXPECT_EQ(ShownMembers(), Page0);

    Write(Tab, Prop::CurrentPage, 7);
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(ShownMembers(), Page2);

    Write(Tab, Prop::CurrentPage, static_cast<uint32_t>(-1));
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(ShownMembers(), Page0);
    testprogram::Pump();
    EXPECT_TRUE(eventLog.empty()) << eventLog.front();
}

TEST_F(TabUnitTest, AHandlerReturningFalseKeepsThePageAndItsUnits) {
    Load(ToolTab());
    changingAnswer = Answer::False;
    ClickHeader(1);
    EXPECT_EQ(eventLog, (std::vector<std::string>{"changing", "click"}));
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(ShownMembers(), Page0);
}

TEST_F(TabUnitTest, AnAllowedChangeRaisesTheChangeBeforeTheUnitsSwitch) {
    for (Answer answer : {Answer::True, Answer::Nothing}) {
        Load(ToolTab());
        eventLog.clear();
        changingAnswer = answer;
        ClickHeader(1);
        EXPECT_EQ(eventLog, (std::vector<std::string>{"changing", "changed to 1", "click"}));
        EXPECT_EQ(CurrentPage(), 1);
        EXPECT_EQ(ShownMembers(), Page1);
    }
}

TEST_F(TabUnitTest, ARefusedKeyboardChangeKeepsTheSelection) {
    Load(ToolTab());
    changingAnswer = Answer::False;
    SetFocus(Handle(Tab));
    PressKey(Handle(Tab), VK_RIGHT);
    EXPECT_EQ(eventLog, (std::vector<std::string>{"changing"}));
    EXPECT_EQ(Selection(), 0) << "the header shows the page whose units are shown";
    EXPECT_EQ(ShownMembers(), Page0);

    changingAnswer = Answer::True;
    SetFocus(Handle(Tab));
    PressKey(Handle(Tab), VK_RIGHT);
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(ShownMembers(), Page1);

    // The window's Ctrl+Tab: the same events, wrapping, the focus left for the window to place.
    SetFocus(Handle(FieldOut));
    eventLog.clear();
    for (Answer answer : {Answer::False, Answer::True, Answer::Nothing}) {
        changingAnswer = answer;
        EXPECT_EQ(SendMessageW(Handle(Tab), UM_STEP_PAGE, 1, 0), 1);
    }
    EXPECT_EQ(eventLog, (std::vector<std::string>{"changing", "changing", "changed to 2, page 1 shown", "changing",
                                                  "changed to 0"}));
    EXPECT_EQ(ShownMembers(), Page0);
    EXPECT_EQ(GetFocus(), Handle(FieldOut));
}

TEST_F(TabUnitTest, AUnitShownOnAnotherPageWaitsForItsPage) {
    Load(ToolTab());
    Write(Field1h, Prop::Visible, 1);
    EXPECT_FALSE(Shown(Field1h));
    EXPECT_EQ(Read(Field1h, Prop::Visible), 0u);
    Write(Field1a, Prop::Visible, 0);
    Write(Field1a, Prop::Visible, 1);
    EXPECT_FALSE(Shown(Field1a));

    Write(Tab, Prop::CurrentPage, 1);
    EXPECT_TRUE(Shown(Field1h));
    EXPECT_TRUE(Shown(Field1a));
}

TEST_F(TabUnitTest, AUnitHiddenOnTheCurrentPageStaysHiddenWhenItsPageComesBack) {
    Load(ToolTab());
    Write(Field0b, Prop::Visible, 0);
    ClickHeader(1);
    ClickHeader(0);
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(ShownMembers(), std::vector<uint32_t>{Field0a});
    Write(Tab, Prop::CurrentPage, 2);
    Write(Tab, Prop::CurrentPage, 0);
    EXPECT_EQ(ShownMembers(), std::vector<uint32_t>{Field0a});
}

TEST_F(TabUnitTest, AChosenPageGivesTheFocusToItsFirstUnitInFocusOrder) {
    Load(ToolTab());
    // Page 1: the note (order 1) never takes it, the disabled field (3) cannot,
    // the hidden field (6) is not shown.
    ClickHeader(1);
    EXPECT_EQ(GetFocus(), Handle(Field1a));

    Write(Tab, Prop::CurrentPage, 2);
    EXPECT_EQ(GetFocus(), Handle(Field2a));
    Write(Tab, Prop::CurrentPage, 0);
    EXPECT_EQ(GetFocus(), Handle(Field0b)) << "order 2 before order 5";

    Write(Field1h, Prop::Visible, 1);
    ClickHeader(1);
    EXPECT_EQ(GetFocus(), Handle(Field1h));
}

TEST_F(TabUnitTest, ALoadShowsThePageTheDataNames) {
    TabFields fields = ToolTab();
    fields.currentPage = 2;
    Load(fields);
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(ShownMembers(), Page2);
    fields.currentPage = 9;
    Load(fields);
    EXPECT_EQ(Selection(), 2);
}

TEST_F(TabUnitTest, PagesWithAnEmptyValueLeaveOneEmptyPage) {
    Load(ToolTab());
    Write(Tab, Prop::CurrentPage, 2);
    HWND before = Handle(Tab);
    Write(Tab, Prop::Pages, 0);
    EXPECT_NE(Handle(Tab), before) << "the control is made again";
    EXPECT_EQ(HeaderCount(), 1);
    EXPECT_EQ(Caption(0), "");
    EXPECT_EQ(ReadBytes(Tab, Prop::Pages), PageListBytes({""}));
    EXPECT_EQ(CurrentPage(), 0);
    EXPECT_EQ(ShownMembers(), Page0);
    for (const auto& page : PageMembers)
        for (uint32_t id : page) EXPECT_EQ(GetParent(Handle(id)), Handle(Tab));

    WriteBytes(Tab, Prop::Pages, PageListBytes({"甲", "乙"}));
    EXPECT_EQ(HeaderCount(), 2);
    EXPECT_EQ(Caption(1), "乙");
    EXPECT_EQ(ReadBytes(Tab, Prop::Pages), PageListBytes({"甲", "乙"}));
    Write(Tab, Prop::CurrentPage, 7);
    EXPECT_EQ(CurrentPage(), 1);
}

TEST_F(TabUnitTest, ARebuildKeepsTheChildrenTheCurrentPageAndTheFocus) {
    Load(ToolTab());
    Write(Tab, Prop::CurrentPage, 1);
    Write(Field1a, Prop::Visible, 0);
    SetFocus(Handle(Field1b));
    HWND before = Handle(Tab);

    Write(Tab, Prop::TabPosition, 3);
    HWND after = Handle(Tab);
    ASSERT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(after, GWL_STYLE));
    EXPECT_EQ(style & (TCS_VERTICAL | TCS_RIGHT), static_cast<DWORD>(TCS_VERTICAL | TCS_RIGHT));
    EXPECT_EQ(Read(Tab, Prop::TabPosition), 3u);
    for (const auto& page : PageMembers)
        for (uint32_t id : page) EXPECT_EQ(GetParent(Handle(id)), after);
    EXPECT_EQ(CurrentPage(), 1);
    EXPECT_EQ(HeaderCount(), 3);
    EXPECT_EQ(ShownMembers(), (std::vector<uint32_t>{Note1, Field1d, Field1b})) << "Field1a was hidden by the program";
    EXPECT_EQ(GetFocus(), Handle(Field1b));

    // The new control works as the old one did.
    changingAnswer = Answer::True;
    ClickHeader(2);
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_EQ(ShownMembers(), Page2);
    EXPECT_EQ(GetFocus(), Handle(Field2a));
}

TEST_F(TabUnitTest, HeaderSidesChangeInPlaceExceptTheRight) {
    Load(ToolTab());
    HWND tab = Handle(Tab);
    auto sideBits = [&] { return static_cast<DWORD>(GetWindowLongA(tab, GWL_STYLE)) & (TCS_VERTICAL | TCS_BOTTOM); };
    auto rows = [&] { return (GetWindowLongA(tab, GWL_STYLE) & TCS_MULTILINE) != 0; };
    Write(Tab, Prop::TabPosition, 2);
    EXPECT_EQ(sideBits(), static_cast<DWORD>(TCS_VERTICAL));
    EXPECT_TRUE(rows()) << "side headers stand in rows: TCS_VERTICAL works only with TCS_MULTILINE";
    Write(Tab, Prop::TabPosition, 1);
    EXPECT_EQ(sideBits(), static_cast<DWORD>(TCS_BOTTOM)) << "bottom, not the right side";
    EXPECT_FALSE(rows()) << "MultiLine is 0";
    Write(Tab, Prop::TabPosition, 0);
    EXPECT_EQ(sideBits(), 0u);
    Write(Tab, Prop::TabPosition, static_cast<uint32_t>(-5));
    EXPECT_EQ(Read(Tab, Prop::TabPosition), 0u);
    EXPECT_EQ(Handle(Tab), tab);

    Write(Tab, Prop::MultiLine, 1);
    EXPECT_TRUE(rows());
    EXPECT_EQ(Read(Tab, Prop::MultiLine), 1u);
    Write(Tab, Prop::TabPosition, 2);
    Write(Tab, Prop::TabPosition, 1);
    EXPECT_TRUE(rows()) << "back at the bottom, MultiLine 1 still holds";
    Write(Tab, Prop::MultiLine, 0);
    EXPECT_FALSE(rows());

    Write(Tab, Prop::TabPosition, 40);
    EXPECT_EQ(Read(Tab, Prop::TabPosition), 3u);
    EXPECT_NE(Handle(Tab), tab);
    tab = Handle(Tab);
    Write(Tab, Prop::TabPosition, 3);
    EXPECT_EQ(Handle(Tab), tab) << "already on the right: nothing to rebuild";
}

TEST_F(TabUnitTest, PagesChangeWhileTheTabIsHidden) {
    Load(ToolTab());
    Write(Tab, Prop::Visible, 0);
    Write(Tab, Prop::CurrentPage, 1);
    Write(Tab, Prop::Visible, 1);
    EXPECT_EQ(ShownMembers(), Page1);
}

TEST_F(TabUnitTest, AHandlerMayCloseTheWindowDuringAChange) {
    for (int32_t event : {1, 2, 0}) {
        Load(ToolTab());
        eventLog.clear();
        changingAnswer = Answer::True;
        closeOnEvent = event;
        ClickHeader(1);
        EXPECT_EQ(Handle(0), nullptr) << "event " << event;
        const std::vector<std::string> all = {"changing", "changed to 1", "click"};
        const std::vector<std::string> upToClose(all.begin(), all.begin() + (event == 0 ? 3 : event));
        EXPECT_EQ(eventLog, upToClose) << "event " << event;
    }
}

TEST_F(TabUnitTest, ChildrenGetTheirColourDrawingAndScrollMessagesBack) {
    for (int32_t hideTabs : {0, 1}) {
        TabFields fields = ToolTab();
        fields.hideTabs = hideTabs;
        Load(fields);
        HWND tab = Handle(Tab);
        FieldLog().clear();
        HDC dc = GetDC(tab);
        EXPECT_EQ(SendMessageA(tab, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Handle(Field0a))),
                  reinterpret_cast<LRESULT>(FieldBrush()));
        ReleaseDC(tab, dc);
        SendMessageA(tab, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(Handle(Field0b)));
        SendMessageA(tab, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(Handle(Field0b)));
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_BUTTON;
        draw.hwndItem = Handle(Field2a);
        EXPECT_EQ(SendMessageA(tab, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
        DELETEITEMSTRUCT removed{};
        removed.CtlType = ODT_LISTBOX;
        removed.hwndItem = Handle(Field2a);
        SendMessageA(tab, WM_DELETEITEM, 0, reinterpret_cast<LPARAM>(&removed));
        COMPAREITEMSTRUCT compared{};
        compared.CtlType = ODT_LISTBOX;
        compared.hwndItem = Handle(Field2a);
        SendMessageA(tab, WM_COMPAREITEM, 0, reinterpret_cast<LPARAM>(&compared));
        EXPECT_EQ(FieldLog(), (std::vector<std::string>{"ctlcolor 3", "hscroll 4", "vscroll 4", "drawitem 10",
                                                        "deleteitem 10", "compareitem 10"}))
            << "hideTabs " << hideTabs;
    }
}

TEST_F(TabUnitTest, AHeaderlessContainerSwitchesPagesOnlyByWritingAndKeepsTheFocus) {
    TabFields fields = ToolTab();
    fields.hideTabs = 1;
    Load(fields);
    char className[32] = {};
    GetClassNameA(Handle(Tab), className, sizeof className);
    EXPECT_STREQ(className, "_VL_Tab");
    EXPECT_EQ(ShownMembers(), Page0);
    SetFocus(Handle(FieldOut));

    Write(Tab, Prop::CurrentPage, 7);
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_EQ(ShownMembers(), Page2);
    EXPECT_EQ(GetFocus(), Handle(FieldOut));
    EXPECT_EQ(Read(Tab, Prop::HideTabs), 1u);

    // Rebuilt (Pages), it stays a container and keeps its page.
    WriteBytes(Tab, Prop::Pages, PageListBytes({"a", "b", "c", "d"}));
    GetClassNameA(Handle(Tab), className, sizeof className);
    EXPECT_STREQ(className, "_VL_Tab");
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_EQ(ShownMembers(), Page2);
    EXPECT_EQ(SendMessageW(Handle(Tab), UM_STEP_PAGE, 1, 0), 0) << "no step from the keys";
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(TabUnitTest, AHeaderlessContainerPaintsItsBackgroundOrNothing) {
    TabFields fields = ToolTab();
    fields.hideTabs = 1;
    fields.backColor = RGB(200, 30, 30);
    Load(fields);
    HWND tab = Handle(Tab);
    auto pixel = [&] {
        RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(tab);
        const COLORREF color = GetPixel(dc, 440, 200);
        ReleaseDC(tab, dc);
        return color;
    };
    EXPECT_EQ(GetWindowLongA(tab, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    EXPECT_EQ(pixel(), RGB(200, 30, 30));
    Write(Tab, Prop::BackColor, RGB(20, 160, 40));
    EXPECT_EQ(pixel(), RGB(20, 160, 40));
    Write(Tab, Prop::BackColor, DefaultColor);
    EXPECT_EQ(pixel(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Read(Tab, Prop::BackColor), DefaultColor);

    Write(Tab, Prop::DrawBackground, 0);
    EXPECT_NE(GetWindowLongA(tab, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    EXPECT_EQ(Read(Tab, Prop::DrawBackground), 0u);

    fields.drawBackground = 0;
    Load(fields);
    EXPECT_NE(GetWindowLongA(Handle(Tab), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
}

TEST_F(TabUnitTest, SavedPropertiesAreTheSeventyBytesWithTheCurrentPage) {
    Load(ToolTab());
    EXPECT_EQ(SavedData(), TabBytes(ToolTab()));
    EXPECT_EQ(SavedData().size(), 70u);

    ClickHeader(2);
    TabFields now = ToolTab();
    now.currentPage = 2;
    EXPECT_EQ(SavedData(), TabBytes(now)) << "the page the user chose";
}

TEST_F(TabUnitTest, AFontIsKeptAppliedAndSaved) {
    Load(ToolTab());
    const FontValue font = {0, 1, 0, 0, 0, 12, "Arial"};
    Write(Tab, Prop::Font, Word(&font), FontField::Whole);
    EXPECT_EQ(Read(Tab, Prop::Font, FontField::Size), 12u);
    EXPECT_EQ(Read(Tab, Prop::Font, FontField::Bold), 1u);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(SendMessageA(Handle(Tab), WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SavedData().size(), 70u + sizeof(FontData));

    // It survives a rebuild.
    Write(Tab, Prop::Pages, 0);
    EXPECT_EQ(Read(Tab, Prop::Font, FontField::Size), 12u);
}

}  // namespace
}  // namespace quillet
