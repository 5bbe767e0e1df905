#include "runtime/units/edit/edit_text.h"

#include "runtime/units/edit/edit_unit.h"

namespace quillet {
namespace {

// Whether EDIT controls of this process count positions in characters (Wine's
// do, as they keep their text in UTF-16) or in bytes of the ANSI text. Asked
// once, of a throwaway control holding one double-byte character.
bool ControlCountsCharacters() {
    static const bool counts = [] {
        HWND probe = CreateWindowExA(0, "EDIT", "\xD6\xD0", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        if (probe == nullptr) return true;
        SendMessageA(probe, EM_SETSEL, 0, -1);
        DWORD start = 0, end = 0;
        SendMessageA(probe, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        DestroyWindow(probe);
        return end == 1;
    }();
    return counts;
}

// One character's bytes at text[at]: 2 for a lead byte followed by its trail.
int32_t CharacterBytes(const std::string& text, size_t at) {
    return IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The control's position for a byte offset; an offset inside a character counts
// that whole character.
int32_t ControlPosition(const std::string& text, int32_t byteOffset) {
    if (!ControlCountsCharacters()) return byteOffset;
    int32_t characters = 0;
    for (size_t at = 0; at < text.size() && static_cast<int32_t>(at) < byteOffset; ++characters)
        at += static_cast<size_t>(CharacterBytes(text, at));
    return characters;
}

// The byte offset of a position of the control, at most the text's length.
int32_t ByteOffset(const std::string& text, int32_t position) {
    const auto size = static_cast<int32_t>(text.size());
    if (!ControlCountsCharacters()) return position < size ? position : size;
    size_t at = 0;
    for (int32_t characters = 0; at < text.size() && characters < position; ++characters)
        at += static_cast<size_t>(CharacterBytes(text, at));
    return static_cast<int32_t>(at);
}

struct ControlSelection {
    DWORD start;
    DWORD end;
};

ControlSelection ControlSelectionOf(HWND edit) {
    ControlSelection selection{0, 0};
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
                 reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

}  // namespace

std::string EditText::Text() const {
    const int length = GetWindowTextLengthA(edit_);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit_, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

int32_t EditText::Length() const { return GetWindowTextLengthA(edit_); }

void EditText::Set(const char* text) { SetWindowTextA(edit_, text != nullptr ? text : ""); }

void EditText::Append(const char* text) {
    // The byte length is at or past the control's end however it counts, and the
    // control clamps a position past its end to the end.
    const int length = GetWindowTextLengthA(edit_);
    SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
}

void EditText::ReplaceSelection(const char* text) {
    SendMessageA(edit_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
}

EditSelection EditText::Selection() const {
    const ControlSelection selection = ControlSelectionOf(edit_);
    if (!ControlCountsCharacters())
        return {static_cast<int32_t>(selection.start), static_cast<int32_t>(selection.end - selection.start)};
    const std::string text = Text();
    const int32_t start = ByteOffset(text, static_cast<int32_t>(selection.start));
    const int32_t end = ByteOffset(text, static_cast<int32_t>(selection.end));
    return {start, end - start};
}

std::string EditText::SelectedText() const {
    const std::string text = Text();
    const ControlSelection selection = ControlSelectionOf(edit_);
    const int32_t start = ByteOffset(text, static_cast<int32_t>(selection.start));
    const int32_t end = ByteOffset(text, static_cast<int32_t>(selection.end));
    return end > start ? text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)) : std::string();
}

void EditText::Select(int32_t start, int32_t length) {
    const std::string text = Text();
    const auto size = static_cast<int32_t>(text.size());
    start = start < 0 ? 0 : (start > size ? size : start);
    length = length < 0 ? 0 : (length > size - start ? size - start : length);
    const int32_t from = ControlPosition(text, start);
    const int32_t to = ControlPosition(text, start + length);
    SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
}

bool AppendToEditBox(HWND box, const char* text) {
    if (auto* unit = dynamic_cast<EditBoxUnit*>(CWnd::FromHandlePermanent(box))) {
        unit->AppendText(text);
        return true;
    }
    // A bare EDIT control, not made by the edit box type, takes the text the
    // same way; any other window is left alone.
    char name[8] = {};
    if (GetClassNameA(box, name, sizeof name) == 0 || lstrcmpiA(name, "EDIT") != 0) return false;
    EditText bare;
    bare.Attach(box);
    bare.Append(text);
    return true;
}

}  // namespace quillet
