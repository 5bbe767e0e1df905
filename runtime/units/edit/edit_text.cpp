#include "runtime/units/edit/edit_text.h"

#include <algorithm>
#include <cstring>

#include "runtime/units/edit/edit_unit.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// What a message does to the control's text. Only the messages named here
// touch it; any other (the frame's, the system menu's, the input language's,
// a style change) acts on what the box shows, at once: handing megabytes over
// first would hold the window up for seconds and move the view.
enum class MessageEffect {
    None,        // neither shows nor changes it: painting, sizing, focus, anything not named
    Reads,       // reads the text itself
    Shows,       // asks what the box shows: the view, the selection, places on the screen, the flags
    MovesView,   // the user or another program moves the view or the selection
    Replaces,    // sets a whole new text
    Changes,     // changes it in place
    UserPoints,  // the user clicks, or copies, where the box shows: reads
    UserEdits,   // the user's keys and the edit commands at the caret: changes
};

MessageEffect EffectOf(UINT message) {
    if (message >= WM_APP) return MessageEffect::None;  // the runtime's own messages, reflections included
    switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case EM_SETSEL:
    case EM_SCROLLCARET:
    case EM_LINESCROLL:
    case EM_SCROLL:
        return MessageEffect::MovesView;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_COPY:
        return MessageEffect::UserPoints;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CONTEXTMENU:  // its commands edit
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_UNICHAR:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        return MessageEffect::UserEdits;
    // Screen readers ask these on every move of the caret.
    case EM_GETSEL:
    case EM_GETFIRSTVISIBLELINE:
    case EM_GETRECT:
    case EM_GETMODIFY:
    case EM_GETTHUMB:
    case EM_CANUNDO:
    case EM_LINEFROMCHAR:
    case EM_POSFROMCHAR:
    case EM_CHARFROMPOS:
        return MessageEffect::Shows;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINELENGTH:
    case EM_GETLINE:
    case EM_GETHANDLE:
        return MessageEffect::Reads;
    case WM_SETTEXT:
        return MessageEffect::Replaces;
    case EM_REPLACESEL:
    case EM_SETHANDLE:
    case EM_FMTLINES:
        return MessageEffect::Changes;
    default:
        return MessageEffect::None;
    }
}

}  // namespace

EditText::~EditText() { ForgetHeldOutput(this); }

void EditText::Detach() {
    Drop();
    edit_ = nullptr;
}

void EditText::AllowHolding(bool allowed) {
    if (!allowed) HandOverAll();
    holdingAllowed_ = allowed;
}

std::string EditText::ReadControl() {
    const bool was = busy_;
    busy_ = true;
    std::wstring wide;
    const int length = GetWindowTextLengthW(edit_);
    if (length > 0) {
        wide.resize(static_cast<size_t>(length) + 1);
        const int copied = GetWindowTextW(edit_, wide.data(), length + 1);
        wide.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    }
    busy_ = was;
    return TextFromWide(wide.data(), wide.size());
}

std::string EditText::Text() { return TextView(); }

const std::string& EditText::TextView() {
    EnsureKnown();
    return text_;
}

int32_t EditText::Length() { return static_cast<int32_t>(TextView().size()); }

bool EditText::CanHold(const char* text, size_t size) const {
    return holdingAllowed_ && edit_ != nullptr && KeepsItsBytes(text, size);
}

void EditText::Set(const char* text) {
    if (text == nullptr) text = "";
    const size_t size = std::strlen(text);
    ++changes_;
    if (CanHold(text, size)) {
        EnsureKnown();
        HoldFromNow();
        const size_t previous = text_.size();
        MatchWholeText(text, size);
        text_.assign(text, size);
        // A text written whole is mostly written again line by line: room for as much.
        text_.reserve(previous);
        caretAtEnd_ = false;
        modified_ = false;
        userActed_ = false;  // a new text: the caret goes to its start, as the control puts it
        return;
    }
    HandOverAll();
    // The control may not keep the text as given (bytes that are no
    // character); a handler run from its change report reads it afresh.
    Drop();
    SendOwnChange(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromText(text, size).c_str()));
}

// The held text grows by a quarter when it must, not by doubling: it may be
// tens of megabytes.
void EditText::AppendHeld(const char* text, size_t size) {
    if (text_.size() + size > text_.capacity()) text_.reserve(std::max(text_.size() + size, text_.capacity() + text_.capacity() / 4));
    text_.append(text, size);
}

bool EditText::Append(const char* text) {
    if (text == nullptr) text = "";
    const size_t size = std::strlen(text);
    ++changes_;
    if (CanHold(text, size)) {
        EnsureKnown();
        HoldFromNow();
        if (same_ == text_.size()) MatchAppended(text, size);
        AppendHeld(text, size);
        caretAtEnd_ = true;
        if (size > 0) modified_ = true;
        RefreshHeldOutput();
        return size > 0;
    }
    HandOverAll();
    Drop();
    const int length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    SendOwnChange(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(WideFromText(text, size).c_str()));
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);  // what the program wrote is not the control's to undo
    return false;
}

void EditText::ReplaceSelection(const char* text) {
    ++changes_;
    HandOverAll();
    WidenSelectionToCharacters();
    Drop();
    SendOwnChange(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(WideFromText(text).c_str()));
}

// The control's arrow keys can leave an end of the selection between the two
// halves of a surrogate pair; replacing it would leave half a character. An
// end inside a character moves out of it, the start back and the end on; a
// caret there moves on, so that an insertion keeps the character whole.
void EditText::WidenSelectionToCharacters() {
    const std::string& text = TextView();
    const ControlSelection selection = ControlSelectionNow();
    const auto after = [&text](DWORD position) {
        return static_cast<DWORD>(ControlPosition(text, static_cast<size_t>(ByteOffset(text, position))));
    };
    const DWORD end = after(selection.end);
    DWORD start = selection.start == selection.end ? end : selection.start;
    if (after(start) > start) --start;
    if (start == selection.start && end == selection.end) return;
    const bool wasBusy = busy_;
    busy_ = true;
    SendMessageW(edit_, EM_SETSEL, start, static_cast<LPARAM>(end));
    busy_ = wasBusy;
}

ControlSelection EditText::ControlSelectionNow() {
    ControlSelection selection{0, 0};
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
                 reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

EditSelection EditText::Selection() {
    HandOverAll();
    const ControlSelection selection = ControlSelectionNow();
    return SelectionInBytes(TextView(), selection);
}

std::string EditText::SelectedText() {
    HandOverAll();
    const std::string& text = TextView();
    const EditSelection selection = SelectionInBytes(text, ControlSelectionNow());
    return selection.length > 0
               ? text.substr(static_cast<size_t>(selection.start), static_cast<size_t>(selection.length))
               : std::string();
}

void EditText::Select(int32_t start, int32_t length) {
    HandOverAll();
    const std::string& text = TextView();
    const auto size = static_cast<int32_t>(text.size());
    start = start < 0 ? 0 : (start > size ? size : start);
    length = length < 0 ? 0 : (length > size - start ? size - start : length);
    const WPARAM from = ControlPosition(text, static_cast<size_t>(start));
    const WPARAM to = ControlPosition(text, static_cast<size_t>(start + length));
    SendMessageW(edit_, EM_SETSEL, from, static_cast<LPARAM>(to));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

bool EditText::ChangeFromElsewhere(UINT message) {
    const MessageEffect effect = EffectOf(message);
    if (effect != MessageEffect::Replaces && effect != MessageEffect::Changes) return false;
    const bool own = ownChange_;
    ownChange_ = false;  // one message a write: whatever comes while it is handled is someone else's
    return !own;
}

LRESULT EditText::SendOwnChange(UINT message, WPARAM wParam, LPARAM lParam) {
    ownChange_ = true;
    const LRESULT answer = SendMessageW(edit_, message, wParam, lParam);
    ownChange_ = false;
    return answer;
}

void EditText::BeforeMessage(UINT message) {
    // A paint the system asks for takes the place of the one the handover owes.
    if (message == WM_PAINT && paintOwed_ && !IsHeld()) {
        InvalidateRect(edit_, nullptr, TRUE);
        paintOwed_ = false;
    }
    if (busy_ || known_ == Known::Nothing) return;
    const MessageEffect effect = EffectOf(message);
    // Handing megabytes over before a click would hold the window up for
    // seconds and then scroll it away from where the user clicked; the view
    // and the selection are what the box shows.
    if (known_ != Known::Same) {
        if (effect == MessageEffect::MovesView) userActed_ = true;
        const bool user = effect == MessageEffect::UserPoints || effect == MessageEffect::UserEdits;
        if (user && !RestFitsOnePiece()) {
            LetUserAct(effect == MessageEffect::UserEdits);
            return;
        }
    }
    switch (effect) {
    case MessageEffect::None:
    case MessageEffect::Shows:
    case MessageEffect::MovesView: return;
    case MessageEffect::Reads:
    case MessageEffect::UserPoints: HandOverAll(); return;
    // The new text overrides everything the held one would have left behind.
    case MessageEffect::Replaces: Drop(); return;
    case MessageEffect::Changes:
    case MessageEffect::UserEdits:
        HandOverAll();
        Drop();
        return;
    }
}

AppendOutcome AppendToEditBox(HWND box, const char* text) {
    if (auto* unit = dynamic_cast<EditBoxUnit*>(CWnd::FromHandlePermanent(box)))
        return unit->AppendText(text) ? AppendOutcome::Appended : AppendOutcome::BoxClosed;
    // A bare EDIT control, not made by the edit box type, takes the text the
    // same way; any other window is left alone.
    wchar_t name[8] = {};
    if (GetClassNameW(box, name, 8) == 0 || lstrcmpiW(name, L"EDIT") != 0) return AppendOutcome::NotEditBox;
    {
        EditText bare;
        bare.Attach(box);
        bare.Append(text);
    }
    return IsWindow(box) ? AppendOutcome::Appended : AppendOutcome::BoxClosed;
}

bool ReplaceEditBoxText(HWND box, const char* text) {
    auto* unit = dynamic_cast<EditBoxUnit*>(CWnd::FromHandlePermanent(box));
    if (unit == nullptr) return false;
    unit->WriteContent(text);
    return true;
}

const std::string* EditBoxTextView(HWND box) {
    auto* unit = dynamic_cast<EditBoxUnit*>(CWnd::FromHandlePermanent(box));
    return unit != nullptr ? &unit->Text().TextView() : nullptr;
}

uint32_t EditBoxChangeCount(HWND box) {
    auto* unit = dynamic_cast<EditBoxUnit*>(CWnd::FromHandlePermanent(box));
    return unit != nullptr ? unit->Text().Changes() : 0;
}

}  // namespace quillet
