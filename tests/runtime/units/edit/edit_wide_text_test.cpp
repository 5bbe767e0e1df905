// Edit boxes hold every character a user can paste or type: characters GBK
// lacks reach the control and come back as the runtime's four-byte codes,
// positions count their bytes, and the held text agrees with the control.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/units/edit/edit_positions.h"
#include "runtime/values/text_encoding.h"
#include "tests/runtime/units/edit/edit_test_program.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;  // single-line
constexpr uint32_t M = 0x16010002;  // multi-line: its text may be held back
constexpr RECT RowA{20, 20, 220, 44};
constexpr RECT Area{20, 60, 380, 300};

// Emoji with a skin tone, CJK extensions B and A, Hangul, Thai, Hebrew, e with a
// combining accent, a no-break space, and GBK text around them.
const std::wstring Mixed = L"\U0001F600\U0001F44D\U0001F3FD \U00020BB7\u3400 \uD55C\u0E01\u05D0e\u0301\u00A0中文\t;";

std::string Bytes(const std::wstring& wide) { return TextFromWide(wide.data(), wide.size()); }

std::wstring ControlText(uint32_t unit) {
    const int length = GetWindowTextLengthW(Handle(unit));
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(Handle(unit), wide.data(), length + 1)));
    return wide;
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text.c_str(), size);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

class EditWideTextTest : public EditTest {
protected:
    void LoadBoxes(const std::wstring& initial = L"") {
        EditBoxData multi = MultiLine(3);
        multi.content = Bytes(initial);
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, RowA, {}, NotingBindingsWithCharacters()),
                                             EditAt(M, Area, multi, NotingBindingsWithCharacters())})));
        TakeEvents();
    }
};

// a, a GBK character (2 bytes, 1 unit), an emoji (4 bytes, 2 units), b.
TEST(EditPositionsTest, PositionsInsideACharacterCountItWhole) {
    const std::string text = Bytes(L"a中\U0001F600b");
    ASSERT_EQ(text.size(), 8u);
    EXPECT_EQ(ControlPosition(text, 1), 1u);
    EXPECT_EQ(ControlPosition(text, 2), 2u) << "inside 中";
    EXPECT_EQ(ControlPosition(text, 3), 2u);
    EXPECT_EQ(ControlPosition(text, 4), 4u) << "inside the emoji";
    EXPECT_EQ(ControlPosition(text, 8), 5u);
    EXPECT_EQ(ByteOffset(text, 3), 7) << "between the emoji's surrogates";
    EXPECT_EQ(ByteOffset(text, 99), 8) << "past the end";
    const EditSelection selection = SelectionInBytes(text, {1, 4});
    EXPECT_EQ(selection.start, 1);
    EXPECT_EQ(selection.length, 6);
}

TEST_F(EditWideTextTest, WrittenPastedAndStoredTextKeepsEveryCharacter) {
    LoadBoxes(Mixed + L"\r\n");
    EXPECT_EQ(ControlText(M), Mixed + L"\r\n") << "the stored content";
    const std::string bytes = Bytes(Mixed);
    for (uint32_t unit : {A, M}) {
        WriteText(unit, Prop::Content, bytes);
        EXPECT_EQ(ControlText(unit), Mixed) << unit;
        EXPECT_EQ(ReadText(unit, Prop::Content), bytes) << unit;

        WriteText(unit, Prop::Content, "x");
        PutOnClipboard(Handle(unit), Mixed);
        SendMessageW(Handle(unit), EM_SETSEL, 1, 1);
        SendMessageW(Handle(unit), WM_PASTE, 0, 0);
        EXPECT_EQ(ReadText(unit, Prop::Content), "x" + bytes) << unit;
    }
    // A lone surrogate (half a pair, from a broken clipboard) comes back visibly.
    SetWindowTextW(Handle(A), L"a\xD83D" L"b");
    EXPECT_EQ(ReadText(A, Prop::Content), Bytes(L"a\uFFFDb"));
}

// Positions count the bytes the runtime holds: four for each code.
TEST_F(EditWideTextTest, SelectionPropertiesCountBytesOfFourByteCodes) {
    LoadBoxes();
    const std::string smile = Bytes(L"\U0001F600");
    const std::string ideograph = Bytes(L"\u3400");
    WriteText(M, Prop::Content, "a" + smile + ideograph + "中b");
    Write(M, Prop::SelStart, static_cast<uint32_t>(-1));
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 12);
    WriteText(M, Prop::SelText, smile);
    EXPECT_EQ(ControlText(M), L"a\U0001F600\u3400中b\U0001F600");

    Write(M, Prop::SelStart, 5);
    Write(M, Prop::SelLength, 4);
    EXPECT_EQ(ReadText(M, Prop::SelText), ideograph);
    Write(M, Prop::SelStart, 2);  // inside a code: that whole character
    Write(M, Prop::SelLength, 0);
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 5);
    SendMessageW(Handle(M), EM_SETSEL, 2, 5);  // the control's units: 😀's second half to 中
    EXPECT_EQ(ReadInt(M, Prop::SelStart), 5);
    EXPECT_EQ(ReadInt(M, Prop::SelLength), 6);
    EXPECT_EQ(ReadText(M, Prop::SelText), ideograph + "中");
}

// The control's arrow keys can stop between an emoji's surrogates: a SelText
// written there replaces whole characters and never leaves half of one.
TEST_F(EditWideTextTest, SelTextOverASelectionInsideACharacterTakesWholeCharacters) {
    LoadBoxes();
    struct Case {
        DWORD start, end;      // the control's selection in "a😀b": a 0, 😀 1-2, b 3
        std::wstring result;   // after writing "x"
    } const cases[] = {
        {2, 4, L"ax"},                // from inside the emoji to the end
        {0, 2, L"xb"},                // from the start into the emoji
        {2, 2, L"a😀xb"},     // a caret inside: the insertion goes after it
        {1, 3, L"axb"},               // exactly the emoji
    };
    for (uint32_t unit : {A, M}) {
        for (const Case& c : cases) {
            SetWindowTextW(Handle(unit), L"a😀b");
            SendMessageW(Handle(unit), EM_SETSEL, c.start, static_cast<LPARAM>(c.end));
            WriteText(unit, Prop::SelText, "x");
            EXPECT_EQ(ControlText(unit), c.result) << unit << ": " << c.start << "-" << c.end;
        }
    }
}

// Before, text read from the control narrowed 😀 to "??", so a held text of
// "??" matched it and the control kept showing 😀 while the box held "??".
TEST_F(EditWideTextTest, HeldTextReplacesWhatOnlyLookedTheSameNarrowed) {
    LoadBoxes();
    SetWindowTextW(Handle(M), L"a\U0001F600b\r\nline\r\n");
    WriteText(M, Prop::Content, "a??b\r\n");
    ASSERT_EQ(ReadText(M, Prop::Content), "a??b\r\n");
    EXPECT_EQ(ControlText(M), L"a??b\r\n");

    SetWindowTextW(Handle(M), L"a\U0001F600b\r\n");
    const std::string kept = ReadText(M, Prop::Content);
    WriteText(M, Prop::Content, kept + "more\r\n");
    EXPECT_EQ(ControlText(M), L"a\U0001F600b\r\nmore\r\n");
    EXPECT_EQ(ReadText(M, Prop::Content), kept + "more\r\n");
}

// Typing goes through the runtime's loop in UTF-16: a character GBK lacks goes
// into the box and raises no key-press event (its code would be a byte); a
// GBK character raises one event per byte, as before.
TEST_F(EditWideTextTest, TypedCharactersReachTheBoxWholeAndOnlyGbkOnesRaiseKeyPresses) {
    LoadBoxes();
    SetFocus(Handle(A));
    TakeEvents();
    for (wchar_t unit : std::wstring(L"\U0001F600\uD55Cz中")) PostMessageW(Handle(A), WM_CHAR, unit, 1);
    testprogram::Pump();
    EXPECT_EQ(ControlText(A), L"\U0001F600\uD55Cz中");
    EXPECT_EQ(ReadText(A, Prop::Content), Bytes(L"\U0001F600\uD55Cz中"));
    Events keyPresses;
    for (const std::string& event : TakeEvents())
        if (event.rfind("char", 0) == 0) keyPresses.push_back(event);
    EXPECT_EQ(keyPresses, (Events{"char 1 122", "char 1 214", "char 1 208"}));
}

}  // namespace
}  // namespace quillet
