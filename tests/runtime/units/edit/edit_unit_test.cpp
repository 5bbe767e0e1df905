// Edit boxes on real windows built from templates: ContentChanged and its
// guard, the selection in bytes of GBK text, typing through the runtime's loop,
// normalisation on focus loss, Enter, rebuilds and the plain property effects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/units/edit/edit_type.h"
#include "runtime/units/unit_type.h"
#include "tests/runtime/units/edit/edit_test_program.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;
constexpr uint32_t B = 0x16010002;
constexpr uint32_t M = 0x16010003;

constexpr RECT RowA{20, 20, 220, 44};
constexpr RECT RowB{20, 60, 220, 84};
constexpr RECT Area{20, 100, 320, 220};

EditBoxData WithMode(EditBoxData data, int32_t inputMode) {
    data.fields.inputMode = inputMode;
    return data;
}

class EditBoxTest : public EditTest {
protected:
    // A and B single-line, M multi-line, all with noting handlers.
    void LoadBoxes(const EditBoxData& a = {}, const EditBoxData& b = {}, const EditBoxData& m = MultiLine()) {
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, RowA, a, NotingBindings()), EditAt(B, RowB, b, NotingBindings()),
                                             EditAt(M, Area, m, NotingBindings())})));
        TakeEvents();
    }

    static LONG Style(uint32_t unit) { return GetWindowLongA(Handle(unit), GWL_STYLE); }
    static LONG ExStyle(uint32_t unit) { return GetWindowLongA(Handle(unit), GWL_EXSTYLE); }

    // A key pressed and released through the runtime's loop, which translates
    // it into the character the box receives.
    static void PressKey(uint32_t unit, UINT key) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageA(Handle(unit), WM_KEYDOWN, key, scan | 1);
        PostMessageA(Handle(unit), WM_KEYUP, key, scan | 0xC0000001);
        testprogram::Pump();
    }
};

TEST_F(EditBoxTest, EveryContentWriteRaisesContentChangedOnceSingleAndMultiLineAlike) {
    LoadBoxes();
    for (uint32_t unit : {A, M}) {
        const std::string name = std::to_string(unit & 0xFF);
        WriteText(unit, Prop::Content, "x");
        EXPECT_EQ(TakeEvents(), Events{"changed " + name});
        WriteText(unit, Prop::Content, "x");  // the same text again
        EXPECT_EQ(TakeEvents(), Events{"changed " + name});
        WriteText(unit, Prop::Content, "");
        EXPECT_EQ(TakeEvents(), Events{"changed " + name});
    }
}

TEST_F(EditBoxTest, TypingRaisesContentChangedPerCharacter) {
    LoadBoxes();
    SetFocus(Handle(M));
    TakeEvents();
    PressKey(M, 'Q');
    PressKey(M, 'W');
    EXPECT_EQ(ReadText(M, Prop::Content), "qw");
    EXPECT_EQ(TakeEvents(), (Events{"changed 3", "changed 3"}));
}

TEST_F(EditBoxTest, SelStartMinusOneThenSelTextAppendsAtTheEnd) {
    LoadBoxes();
    WriteText(A, Prop::Content, "abc");
    Write(A, Prop::SelStart, 1);
    Write(A, Prop::SelStart, static_cast<uint32_t>(-1));
    EXPECT_EQ(ReadInt(A, Prop::SelStart), 3);
    EXPECT_EQ(ReadInt(A, Prop::SelLength), 0);
    WriteText(A, Prop::SelText, "XY");
    EXPECT_EQ(ReadText(A, Prop::Content), "abcXY");
    Write(A, Prop::SelStart, static_cast<uint32_t>(-7));  // other negatives: the start
    EXPECT_EQ(ReadInt(A, Prop::SelStart), 0);
}

// Positions count bytes of the GBK text, whatever the control counts.
TEST_F(EditBoxTest, SelectionPropertiesCountBytesOfDoubleByteText) {
    LoadBoxes();
    WriteText(M, Prop::Content, "中文ab");
    Write(M, Prop::SelStart, static_cast<uint32_t>(-1));
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 6);
    WriteText(M, Prop::SelText, "末");
    EXPECT_EQ(ReadText(M, Prop::Content), "中文ab末");

    Write(M, Prop::SelLength, static_cast<uint32_t>(-1));
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 0);
    EXPECT_EQ(ReadInt(M, Prop::SelLength), 8);

    Write(M, Prop::SelStart, 2);
    Write(M, Prop::SelLength, 2);
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 2);
    EXPECT_EQ(ReadInt(M, Prop::SelLength), 2);
    EXPECT_EQ(ReadText(M, Prop::SelText), "文");
    WriteText(M, Prop::SelText, "X");
    EXPECT_EQ(ReadText(M, Prop::Content), "中Xab末");

    Write(M, Prop::SelStart, 1);  // inside a character: that whole character
    Write(M, Prop::SelLength, 1);
    EXPECT_EQ(ReadText(M, Prop::SelText), "X");
}

TEST_F(EditBoxTest, ByteModeNormalisesOnFocusLossBeforeLostFocus) {
    LoadBoxes(WithMode({}, 5), {}, WithMode(MultiLine(), 5));
    struct Case {
        std::string typed;
        std::string shown;
    };
    for (uint32_t unit : {A, M}) {
        const std::string name = std::to_string(unit & 0xFF);
        for (const Case& c : {Case{"300", "255"}, Case{"-4", ""}, Case{"12", "12"}}) {
            SetFocus(Handle(unit));
            WriteText(unit, Prop::Content, c.typed);
            Write(unit, Prop::SelStart, 1);
            TakeEvents();
            SetFocus(Handle(B));
            EXPECT_EQ(ReadText(unit, Prop::Content), c.shown) << c.typed;
            // B gains the focus only after the box has lost it.
            const Events expected = c.shown == c.typed ? Events{"lost " + name, "got 2"}
                                                       : Events{"changed " + name, "lost " + name, "got 2"};
            EXPECT_EQ(TakeEvents(), expected) << c.typed;
            if (c.shown == "255") {
                EXPECT_EQ(ReadInt(unit, Prop::SelStart), 1) << "caret back at the old start";
            }
        }
    }
}

TEST_F(EditBoxTest, NumberAndDateTimeModesShowTheRuntimesTextsAfterFocusLoss) {
    struct Case {
        int32_t mode;
        std::string typed;
        std::string shown;
    };
    for (const Case& c : {Case{9, "3.14159265", "3.14159"}, Case{10, "2.50", "2.5"}, Case{10, "0.000", ""},
                          Case{11, "2024-5-1 8:30", "2024年5月1日8时30分"}, Case{11, "someday", ""}}) {
        LoadBoxes(WithMode({}, c.mode));
        SetFocus(Handle(A));
        WriteText(A, Prop::Content, c.typed);
        SetFocus(Handle(B));
        EXPECT_EQ(ReadText(A, Prop::Content), c.shown) << "mode " << c.mode << ": " << c.typed;
        testprogram::CloseAll();
    }
}

TEST_F(EditBoxTest, AMultiLineBoxWrapsLongLinesUnlessItScrollsSideways) {
    EditBoxData sideways = MultiLine();
    sideways.fields.scrollBars = 1;
    LoadBoxes({}, {}, sideways);
    const std::string longLine(300, 'w');
    WriteText(M, Prop::Content, longLine);
    EXPECT_EQ(SendMessageA(Handle(M), EM_GETLINECOUNT, 0, 0), 1);
    Write(M, Prop::ScrollBars, 0);
    WriteText(M, Prop::Content, longLine);
    EXPECT_GT(SendMessageA(Handle(M), EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(EditBoxTest, IntegerModeDropsLettersTypedThroughTheLoopButNotPastedText) {
    LoadBoxes(WithMode({}, 3));
    SetFocus(Handle(A));
    TakeEvents();
    PressKey(A, 'A');
    PressKey(A, VK_OEM_MINUS);
    PressKey(A, '7');
    PressKey(A, VK_OEM_PERIOD);
    EXPECT_EQ(ReadText(A, Prop::Content), "-7");
    EXPECT_EQ(TakeEvents(), (Events{"changed 1", "changed 1"}));

    ASSERT_TRUE(OpenClipboard(Handle(A)));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    lstrcpyA(static_cast<char*>(GlobalLock(block)), "ab1");
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    SendMessageA(Handle(A), WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(A, Prop::Content), "-7ab1");
}

TEST_F(EditBoxTest, OnlyAWritableMultiLineBoxKeepsEnterForItself) {
    LoadBoxes();
    const auto wantsKey = FindOperation<WantsKeyOperation>(EditBoxType, InterfaceNumber::WantsKey);
    ASSERT_NE(wantsKey, nullptr);
    EXPECT_EQ(wantsKey(ObjectOf(M), VK_RETURN), 1);
    EXPECT_EQ(wantsKey(ObjectOf(M), VK_TAB), 0);
    EXPECT_EQ(wantsKey(ObjectOf(A), VK_RETURN), 0);

    WriteText(M, Prop::Content, "one");
    SetFocus(Handle(M));
    Write(M, Prop::SelStart, static_cast<uint32_t>(-1));
    PressKey(M, VK_RETURN);
    PressKey(M, 'T');
    EXPECT_EQ(ReadText(M, Prop::Content), "one\r\nt");

    Write(M, Prop::InputMode, 1);  // read-only: Enter is the window's again
    EXPECT_EQ(wantsKey(ObjectOf(M), VK_RETURN), 0);
    PressKey(M, VK_RETURN);
    EXPECT_EQ(ReadText(M, Prop::Content), "one\r\nt");
}

TEST_F(EditBoxTest, RebuildKeepsTextSelectionAndStoredPropertiesWithoutEvents) {
    LoadBoxes();
    WriteText(A, Prop::Content, "hello");
    WriteText(A, Prop::DataSource, "源");
    WriteText(A, Prop::DataColumn, "列");
    Write(A, Prop::SelStart, 1);
    Write(A, Prop::SelLength, 2);
    TakeEvents();
    HWND before = Handle(A);

    Write(A, Prop::Alignment, 7);  // clamped to 2, right
    EXPECT_NE(Handle(A), before);
    EXPECT_EQ(ReadInt(A, Prop::Alignment), 2);
    EXPECT_NE(Style(A) & ES_RIGHT, 0);
    EXPECT_EQ(ReadText(A, Prop::Content), "hello");
    EXPECT_EQ(ReadInt(A, Prop::SelStart), 1);
    EXPECT_EQ(ReadInt(A, Prop::SelLength), 2);
    EXPECT_EQ(ReadText(A, Prop::DataSource), "源");
    EXPECT_EQ(ReadText(A, Prop::DataColumn), "列");
    EXPECT_TRUE(TakeEvents().empty());

    before = Handle(A);
    Write(A, Prop::Alignment, 2);  // unchanged: no rebuild
    EXPECT_EQ(Handle(A), before);
    Write(A, Prop::HideSelection, 0);
    EXPECT_NE(Style(A) & ES_NOHIDESEL, 0);
    Write(A, Prop::CaseConversion, 2);
    EXPECT_NE(Style(A) & ES_UPPERCASE, 0);
    Write(A, Prop::MultiLine, 1);
    EXPECT_NE(Style(A) & ES_MULTILINE, 0);
    EXPECT_EQ(Style(A) & ES_AUTOHSCROLL, 0) << "without a horizontal scroll bar the lines wrap";
    Write(A, Prop::ScrollBars, 1);
    EXPECT_NE(Style(A) & WS_HSCROLL, 0);
    EXPECT_NE(Style(A) & ES_AUTOHSCROLL, 0);
    EXPECT_EQ(ReadText(A, Prop::Content), "HELLO") << "upper case converts what the box holds at creation";
}

TEST_F(EditBoxTest, PropertyWritesTakeEffectAtOnce) {
    LoadBoxes();
    EXPECT_EQ(ReadText(A, Prop::PasswordChar), "*");
    WriteText(A, Prop::PasswordChar, "#x");
    EXPECT_EQ(ReadText(A, Prop::PasswordChar), "#");
    Write(A, Prop::InputMode, 2);
    EXPECT_EQ(SendMessageA(Handle(A), EM_GETPASSWORDCHAR, 0, 0), '#');
    Write(A, Prop::InputMode, 1);
    EXPECT_EQ(SendMessageA(Handle(A), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_NE(Style(A) & ES_READONLY, 0);
    Write(A, Prop::InputMode, 99);
    EXPECT_EQ(ReadInt(A, Prop::InputMode), 11);
    EXPECT_EQ(Style(A) & ES_READONLY, 0);

    Write(A, Prop::MaxLength, static_cast<uint32_t>(-5));
    EXPECT_EQ(ReadInt(A, Prop::MaxLength), 0);
    Write(A, Prop::MaxLength, 3);
    EXPECT_EQ(SendMessageA(Handle(A), EM_GETLIMITTEXT, 0, 0), 3);

    Write(A, Prop::BorderStyle, 9);
    EXPECT_EQ(ReadInt(A, Prop::BorderStyle), 5);
    EXPECT_NE(Style(A) & WS_BORDER, 0);
    EXPECT_EQ(ExStyle(A) & WS_EX_CLIENTEDGE, 0);
    Write(A, Prop::BorderStyle, 4);
    EXPECT_EQ(Style(A) & WS_BORDER, 0);
    EXPECT_EQ(ExStyle(A) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME), WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);

    Write(A, Prop::TextColor, 0x123456);
    Write(A, Prop::BackColor, DefaultColor);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(A, Prop::TextColor)), 0x123456u);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(A, Prop::BackColor)), DefaultColor);
}

TEST_F(EditBoxTest, DoubleByteTextReadsBackByteForByteAndHoldsTheRightCharacters) {
    LoadBoxes();
    const std::string text = "中文测试，全角１２３ 繁體 €";  // € is outside GBK's double bytes
    for (uint32_t unit : {A, M}) {
        WriteText(unit, Prop::Content, text);
        EXPECT_EQ(ReadText(unit, Prop::Content), text);
        wchar_t wide[64] = {};
        GetWindowTextW(Handle(unit), wide, 64);
        EXPECT_EQ(std::wstring(wide), std::wstring(L"中文测试，全角１２３ 繁體 €"));
    }
}

TEST_F(EditBoxTest, ABlockOfAVersionAboveTwoFailsTheLoad) {
    RecordDescription box = EditAt(A, RowA, {});
    box.typeData[0] = 3;
    EXPECT_FALSE(LoadWindowOf(WindowWith({box})));
    EXPECT_EQ(Handle(A), nullptr);
}

}  // namespace
}  // namespace quillet
