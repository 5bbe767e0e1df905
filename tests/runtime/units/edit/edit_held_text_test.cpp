// Text held back by a multi-line edit box against the literal path: a bare
// EDIT control of the same style beside it takes every write and append the
// way the commands describe them (SetWindowTextA; EM_SETSEL at the end,
// EM_SCROLLCARET, EM_REPLACESEL), and after random sequences of writes,
// appends, reads, typing and handovers both controls hold the same text, the
// same selection and scroll position, and the box raised one ContentChanged
// per change the bare control reported.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/events/held_handover.h"
#include "runtime/units/held_output.h"
#include "tests/runtime/units/edit/edit_test_program.h"
#include "tests/support/generated_text.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;  // single-line: runs the scenario from its handler
constexpr uint32_t M = 0x16010002;  // multi-line, both scroll bars, as the tool's main box
constexpr RECT RowA{20, 20, 220, 44};
constexpr RECT Area{20, 60, 380, 300};

// ---- the literal path ----

int referenceChanges = 0;  // EN_CHANGE reports of the reference control

LRESULT CALLBACK CountingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) ++referenceChanges;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A bare EDIT control with the box's style, font and size, in a hidden window
// of its own (a hidden control scrolls as a shown one does, and takes text
// much faster).
class ReferenceBox {
public:
    explicit ReferenceBox(HWND like) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountingParent;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuilletHeldTextReference";
        RegisterClassA(&wc);
        RECT area;
        GetClientRect(like, &area);
        parent_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 600, 30, 420, 320, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        RECT frame;
        GetWindowRect(like, &frame);
        edit_ = CreateWindowExA(GetWindowLongA(like, GWL_EXSTYLE), "EDIT", "",
                                (GetWindowLongA(like, GWL_STYLE) & ~WS_DISABLED) | WS_VISIBLE, 0, 0,
                                frame.right - frame.left, frame.bottom - frame.top, parent_, nullptr, wc.hInstance,
                                nullptr);
        SendMessageA(edit_, WM_SETFONT, SendMessageA(like, WM_GETFONT, 0, 0), TRUE);
        SendMessageA(edit_, EM_LIMITTEXT, 0, 0);
    }
    ~ReferenceBox() { DestroyWindow(parent_); }

    HWND Handle() const { return edit_; }
    void Set(const std::string& text) const { SetWindowTextA(edit_, text.c_str()); }
    void Append(const std::string& text) const {
        const int length = GetWindowTextLengthA(edit_);
        SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
        SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
        SendMessageA(edit_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // SelStart = -1, then SelText: insertion at the end through the selection.
    void InsertAtEnd(const std::string& text) const {
        SendMessageA(edit_, EM_SETSEL, INT_MAX, INT_MAX);
        SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
        SendMessageA(edit_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

private:
    HWND parent_ = nullptr;  // counts the control's change reports
    HWND edit_ = nullptr;    // the reference control
};

std::string ControlText(HWND edit) {
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), length + 1)));
    return text;
}

// What can be seen of a control: its text, selection, modified flag and view.
struct ControlState {
    std::string text;
    DWORD selectionStart = 0, selectionEnd = 0;
    LRESULT modified = 0;
    LRESULT firstVisibleLine = 0;
    int horizontalScroll = 0;

    bool operator==(const ControlState&) const = default;
};

ControlState StateOf(HWND edit) {
    ControlState state;
    state.text = ControlText(edit);
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&state.selectionStart),
                 reinterpret_cast<LPARAM>(&state.selectionEnd));
    state.modified = SendMessageA(edit, EM_GETMODIFY, 0, 0);
    state.firstVisibleLine = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    state.horizontalScroll = GetScrollPos(edit, SB_HORZ);
    return state;
}

// ---- generated texts ----

// Lines of GBK and ASCII words between spaces, full-width spaces and tabs;
// empty lines; now and then a lone CR or LF inside a line; CR LF between
// lines, and sometimes none after the last.
std::string GeneratedText(std::mt19937& random, int lines) {
    static const char* const pieces[] = {"中", "文", "字", "abc", "Quillet", "7", " ", "  ", "\xA1\xA1", "\t",
                                         "\r", "\n", "x", "行", "，"};
    return generatedtext::Lines(random, lines, pieces, 9);
}

// Now and then a text the control converts instead of keeping: a lead byte
// at the end, or before a byte that cannot follow it.
std::string MaybeBroken(std::mt19937& random, std::string text) {
    switch (random() % 12) {
    case 0: return text + "\x81";
    case 1: return "\xA1\x0D" + text;
    default: return text;
    }
}

// ---- the box, inside a handler as a run has it ----

std::function<void()> scenario;

HandlerResult RunScenario(const uint32_t*, int32_t) {
    scenario();
    return {0, 0, 0};
}

CommandArg UnitRef(uint32_t unitId) { return {WindowId, unitId, EditType}; }
CommandArg TextArg(const std::string& text) { return {Word(text.c_str()), 0, DataType::Text}; }

void AppendToBox(const std::vector<std::string>& texts) {
    std::vector<CommandArg> args = {UnitRef(M)};
    for (const std::string& text : texts) args.push_back(TextArg(text));
    CommandArg result{};
    commands::AppendText(&result, static_cast<int32_t>(args.size()), args.data());
}

void CallProcessEvents() {
    CommandArg result{};
    commands::ProcessEvents(&result, 0, nullptr);
}

int BoxChanges() {
    int changes = 0;
    for (const std::string& event : TakeEvents()) changes += event == "changed 2" ? 1 : 0;
    return changes;
}

class HeldTextTest : public EditTest {
protected:
    void LoadBox() {
        EditBoxData multi = MultiLine(3);
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, RowA, {}, {{0, testprogram::HandlerOffset(&RunScenario)}}),
                                             EditAt(M, Area, multi, NotingBindings())})));
        TakeEvents();
        reference_ = std::make_unique<ReferenceBox>(Handle(M));
        referenceChanges = 0;
    }

    // The scenario runs inside a handler of A, as a tool's run does; its end
    // hands the held text over.
    static void InHandler(std::function<void()> steps) {
        scenario = std::move(steps);
        RaiseSimpleEvent(WindowId, A, 0);
        scenario = nullptr;
    }

    void ExpectSameControls(const char* where) const {
        EXPECT_EQ(StateOf(Handle(M)), StateOf(reference_->Handle())) << where;
    }

    std::unique_ptr<ReferenceBox> reference_;
};

TEST_F(HeldTextTest, RandomWritesAppendsAndReadsLeaveWhatTheLiteralPathLeaves) {
    LoadBox();
    std::mt19937 random(1234);
    for (int round = 0; round < 12; ++round) {
        InHandler([&] {
            // The run works with the box from its start: its text is the run's.
            ReadText(M, Prop::Content);
            for (int step = 0; step < 40; ++step) {
                switch (random() % 10) {
                case 0: {
                    const std::string text = MaybeBroken(random, GeneratedText(random, static_cast<int>(random() % 30)));
                    WriteText(M, Prop::Content, text);
                    reference_->Set(text);
                    ++referenceChanges;  // a write raises ContentChanged once, reported or not
                    break;
                }
                case 1:
                case 2:
                case 3:
                case 4: {
                    std::vector<std::string> texts;
                    for (int k = static_cast<int>(random() % 3); k >= 0; --k)
                        texts.push_back(MaybeBroken(random, GeneratedText(random, static_cast<int>(random() % 3))));
                    AppendToBox(texts);
                    for (const std::string& text : texts) reference_->Append(text);
                    break;
                }
                case 5:
                    ASSERT_EQ(ReadText(M, Prop::Content), ControlText(reference_->Handle())) << "step " << step;
                    break;
                case 6: CallProcessEvents(); break;
                case 7:
                    // The user types at the caret: refused, the text is the run's.
                    SendMessageW(Handle(M), WM_CHAR, random() % 2 == 0 ? 'q' : ' ', 1);
                    break;
                case 8: {
                    Write(M, Prop::SelStart, static_cast<uint32_t>(-1));
                    WriteText(M, Prop::SelText, "末");
                    reference_->InsertAtEnd("末");
                    break;
                }
                default:
                    ExpectSameControls("a checkpoint inside the run");
                    ASSERT_EQ(BoxChanges(), referenceChanges);
                    referenceChanges = 0;
                    break;
                }
            }
        });
        ExpectSameControls("after the run");
        EXPECT_EQ(BoxChanges(), referenceChanges) << "round " << round;
        referenceChanges = 0;
    }
}

TEST_F(HeldTextTest, TextsOfManyLinesArriveInPiecesAndEndTheSame) {
    LoadBox();
    std::mt19937 random(99);
    const std::string start = GeneratedText(random, 3000);
    WriteText(M, Prop::Content, start);
    reference_->Set(start);
    ExpectSameControls("the first text");
    TakeEvents();
    referenceChanges = 0;
    // As a tool rewrites the box: emptied, then one append per line, twice,
    // the second time with a difference half-way; reads between.
    InHandler([&] {
        for (int pass = 0; pass < 2; ++pass) {
            WriteText(M, Prop::Content, "");
            reference_->Set("");
            ++referenceChanges;
            std::mt19937 lines(7);
            for (int i = 0; i < 6000; ++i) {
                std::string line = GeneratedText(lines, 1);
                if (pass == 1 && i == 3000) line = "变" + line;
                AppendToBox({line, "\r\n"});
                reference_->Append(line);
                reference_->Append("\r\n");
                // A run that lasts: the box shows the text so far now and then.
                if (pass == 0 && i == 2000) Sleep(800);
                if (i % 1000 == 0) CallProcessEvents();
            }
            ASSERT_EQ(ReadText(M, Prop::Content), ControlText(reference_->Handle()));
        }
    });
    ExpectSameControls("after the handover in pieces");
    EXPECT_EQ(BoxChanges(), referenceChanges);
}

TEST_F(HeldTextTest, AMessageToTheControlFindsEveryAppendedText) {
    LoadBox();
    InHandler([&] {
        AppendToBox({"第一行\r\n", "second\r\n"});
        EXPECT_EQ(HeldOutputCount(), 1) << "the text waits";
        EXPECT_EQ(ControlText(Handle(M)), "第一行\r\nsecond\r\n") << "WM_GETTEXT from anyone";
        EXPECT_EQ(HeldOutputCount(), 0) << "and is handed over for it";
        AppendToBox({"三"});
        EXPECT_EQ(ReadText(M, Prop::Content), "第一行\r\nsecond\r\n三");
        SendMessageW(Handle(M), WM_CHAR, 'x', 1);
        EXPECT_EQ(ReadText(M, Prop::Content), "第一行\r\nsecond\r\n三") << "typing is refused during the run";
    });
}

// Every way of reading the selection or the lines, and every write that
// changes how the box keeps its text, while appended text is held: each sees
// or keeps the whole text. Before the appends the control holds the first text,
// all of it selected, so a read of the control alone would show that.
TEST_F(HeldTextTest, ReadsAndRebuildsWhileTextIsHeldSeeTheWholeText) {
    const std::string first = "旧的\r\nold";
    const std::string whole = first + "第一行\r\nsecond\r\n三";  // lines 旧的, old第一行, second, 三
    const auto wholeKept = [&](const char* after) {
        EXPECT_EQ(ReadText(M, Prop::Content), whole) << after;
        EXPECT_EQ(ControlText(Handle(M)), whole) << after;
        EXPECT_EQ(ReadInt(M, Prop::SelStart), static_cast<int32_t>(whole.size())) << after << ": the caret at the end";
    };
    const struct {
        const char* what;
        std::function<void()> check;
    } cases[] = {
        {"SelStart", [&] { EXPECT_EQ(ReadInt(M, Prop::SelStart), static_cast<int32_t>(whole.size())); }},
        {"SelLength", [&] { EXPECT_EQ(ReadInt(M, Prop::SelLength), 0); }},
        {"SelText", [&] { EXPECT_EQ(ReadText(M, Prop::SelText), ""); }},
        {"EM_GETLINE",
         [&] {
             wchar_t line[16] = {};
             line[0] = static_cast<wchar_t>(sizeof line / sizeof line[0]);
             const LRESULT copied = SendMessageW(Handle(M), EM_GETLINE, 2, reinterpret_cast<LPARAM>(line));
             EXPECT_EQ(std::wstring(line, static_cast<size_t>(copied)), L"second");
         }},
        {"EM_LINEINDEX",
         [&] { EXPECT_EQ(SendMessageW(Handle(M), EM_LINEINDEX, 3, 0), 20) << "UTF-16 units before 三"; }},
        // Shorter than the text, so that a handover under the limit would be cut.
        {"MaxLength", [&] {
             Write(M, Prop::MaxLength, 4);
             wholeKept("MaxLength");
         }},
        {"a rebuild", [&] {
             const HWND before = Handle(M);
             Write(M, Prop::Alignment, 1);
             EXPECT_NE(Handle(M), before) << "a new window";
             wholeKept("the rebuild");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoadBox();
        WriteText(M, Prop::Content, first);
        Write(M, Prop::SelLength, static_cast<uint32_t>(-1));
        InHandler([&] {
            AppendToBox({"第一行\r\n", "second\r\n", "三"});
            ASSERT_EQ(HeldOutputCount(), 1) << "the text waits";
            c.check();
        });
        testprogram::CloseAll();
    }
}

TEST_F(HeldTextTest, HeldTextIsHandedOverWhenTheRunEndsAndDroppedWithTheWindow) {
    LoadBox();
    InHandler([&] {
        AppendToBox({"held\r\n"});
        WriteText(M, Prop::Content, "written");
        EXPECT_EQ(HeldOutputCount(), 1);
    });
    EXPECT_EQ(HeldOutputCount(), 0) << "handed over when the handler returned";
    // Read with the message only, as another program would.
    EXPECT_EQ(ControlText(Handle(M)), "written");
    InHandler([&] {
        AppendToBox({" and more"});
        DestroyWindow(Handle(0));
    });
    EXPECT_EQ(Handle(0), nullptr);
    HandOverHeldOutput();  // nothing is left to hand over
}

// Timer messages handled while the box still holds text.
int ticksWhileHeld = 0;

void CALLBACK NoteTickWhileHeld(HWND, UINT, UINT_PTR, DWORD) {
    if (HeldOutputCount() > 0) ++ticksWhileHeld;
}

TEST_F(HeldTextTest, ABigResultReachesTheControlPieceByPieceFromTheLoopWithMessagesHandledBetween) {
    LoadBox();
    std::mt19937 random(2024);
    const std::string text = GeneratedText(random, 30000);
    ASSERT_GT(text.size(), 250000u) << "several pieces";
    InHandler([&] { AppendToBox({text}); });
    reference_->Append(text);
    EXPECT_EQ(HeldOutputCount(), 1) << "what does not go in one piece waits for the loop";

    // One timer message waits at a time: more than one handled while text is
    // held means that the loop handled them between pieces.
    ticksWhileHeld = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, NoteTickWhileHeld);
    testprogram::Pump();
    KillTimer(nullptr, timer);
    EXPECT_GE(ticksWhileHeld, 2);
    EXPECT_EQ(HeldOutputCount(), 0);
    ExpectSameControls("after the loop's handover");
    EXPECT_EQ(BoxChanges(), referenceChanges) << "one change report, as the control's own";
}

// What the user sees of a box while text is held: asked of the EDIT class's
// own procedure, past the box's, so that asking hands nothing over.
struct ShownState {
    size_t length = 0;  // UTF-16 units
    DWORD caret = 0;
    LRESULT topLine = 0;
};

ShownState ShownStateOf(HWND edit) {
    WNDCLASSW editClass{};
    GetClassInfoW(nullptr, L"EDIT", &editClass);
    const auto ask = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(editClass.lpfnWndProc, edit, message, wParam, lParam);
    };
    ShownState state;
    state.length = static_cast<size_t>(ask(WM_GETTEXTLENGTH, 0, 0));
    DWORD end = 0;
    ask(EM_GETSEL, reinterpret_cast<WPARAM>(&state.caret), reinterpret_cast<LPARAM>(&end));
    state.topLine = ask(EM_GETFIRSTVISIBLELINE, 0, 0);
    return state;
}

// A click while the loop is still handing a big result over acts on what the
// box shows, at once; a key that would edit is refused, since the run is
// still under way; the rest comes after without moving the caret or the view.
// Messages that cannot change the text (the frame's, the system's, a style
// change) hand nothing over and leave the view alone, nor do those of the view
// and the selection, which screen readers send on every move of the caret.
TEST_F(HeldTextTest, AClickAndAKeyDuringALongHandoverActOnWhatTheBoxShows) {
    LoadBox();
    std::string text;
    for (int line = 0; line < 60000; ++line) text += "line " + std::to_string(line) + " of the result\r\n";
    InHandler([&] { AppendToBox({text}); });
    ASSERT_EQ(HeldOutputCount(), 1);
    ASSERT_TRUE(HandOverHeldPiece());  // one piece, as the loop gives it when nothing waits
    const ShownState before = ShownStateOf(Handle(M));
    ASSERT_GT(before.length, 0u);
    ASSERT_LT(before.length, text.size());
    ASSERT_GT(before.topLine, 0) << "the box shows the end of what it has";
    const size_t held = HeldByteCount();
    RECT formatRect{};
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } others[] = {
        {WM_NCLBUTTONDOWN, HTBORDER, 0}, {WM_NCLBUTTONUP, HTBORDER, 0},  {WM_NCRBUTTONDOWN, HTBORDER, 0},
        {WM_SYSCOMMAND, SC_RESTORE, 0},  {WM_INPUTLANGCHANGE, 0, 0},     {WM_IME_SETCONTEXT, TRUE, 0},
        {EM_SETREADONLY, TRUE, 0},       {EM_SETREADONLY, FALSE, 0},     {EM_SETMARGINS, EC_LEFTMARGIN, 3},
        {WM_CANCELMODE, 0, 0},           {WM_SETTINGCHANGE, 0, 0},       {WM_NCMOUSEHOVER, HTBORDER, 0},
        {EM_GETFIRSTVISIBLELINE, 0, 0},  {EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatRect)},
        {EM_GETSEL, 0, 0},               {EM_GETMODIFY, 0, 0},           {EM_GETTHUMB, 0, 0},
        {EM_CANUNDO, 0, 0},              {EM_POSFROMCHAR, 0, 0},         {EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0},
        {EM_CHARFROMPOS, 0, MAKELPARAM(2, 2)},  {EM_SETSEL, before.caret, static_cast<LPARAM>(before.caret)},
        {EM_SCROLLCARET, 0, 0},          {EM_LINESCROLL, 0, 0},
    };
    for (const auto& m : others) {
        SendMessageW(Handle(M), m.message, m.wParam, m.lParam);
        EXPECT_TRUE(HeldByteCount() == held && ShownStateOf(Handle(M)).topLine == before.topLine)
            << "message " << std::hex << m.message;
    }

    // At the start of the second line shown: the line below the top one.
    TEXTMETRICW metrics{};
    HDC dc = GetDC(Handle(M));
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(M), WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(Handle(M), dc);
    const LPARAM point = MAKELPARAM(2, metrics.tmHeight + metrics.tmHeight / 2);
    SendMessageW(Handle(M), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(Handle(M), WM_LBUTTONUP, 0, point);
    SendMessageW(Handle(M), WM_CHAR, 'Q', 1);
    const ShownState clicked = ShownStateOf(Handle(M));
    EXPECT_EQ(clicked.length, before.length) << "nothing went in, and nothing was handed over for the click";
    EXPECT_EQ(clicked.topLine, before.topLine);
    const size_t caret = text.find("line " + std::to_string(before.topLine + 1) + " of");  // ASCII: bytes are units
    EXPECT_EQ(clicked.caret, caret);
    EXPECT_EQ(ReadText(M, Prop::Content).size(), text.size()) << "a read sees the rest, and no key";

    testprogram::Pump();
    EXPECT_EQ(HeldOutputCount(), 0);
    EXPECT_EQ(ControlText(Handle(M)), text);
    const ShownState after = ShownStateOf(Handle(M));
    EXPECT_EQ(after.caret, caret) << "the caret stays where the user clicked";
    EXPECT_EQ(after.topLine, before.topLine) << "the view stays where the user acted";
    EXPECT_EQ(BoxChanges(), 1) << "the result alone";
}

// A line still growing in a run waits (the control lays a line out whole at
// each change); after the run the loop gives the rest, then paints it as a
// step of its own.
TEST_F(HeldTextTest, ALineStillGrowingWaitsAndTheLastPiecePaintsInAStepOfItsOwn) {
    LoadBox();
    const std::string rest = "\r\n" + std::string(440000, 'w');
    InHandler([&] {
        AppendToBox({"joined"});
        Sleep(800);  // a refresh is due at the next append
        AppendToBox({"still", rest});
        EXPECT_EQ(ShownStateOf(Handle(M)).length, 0u) << "no piece of the unfinished line";
    });
    ASSERT_TRUE(HeldOutputCount() == 1 && HandOverHeldPiece()) << "a rest of one long line is the loop's";
    EXPECT_TRUE(HeldOutputCount() == 1 && !GetUpdateRect(Handle(M), nullptr, FALSE)) << "its paint, a step later";
    ASSERT_TRUE(HandOverHeldPiece());
    EXPECT_EQ(HeldOutputCount(), 0);
    EXPECT_EQ(ControlText(Handle(M)), "joinedstill" + rest);
}

}  // namespace
}  // namespace quillet
