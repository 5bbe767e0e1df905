#pragma once
// The one place where an edit box's text is read or changed: the Content and
// SelText properties, the selection, normalisation, spin stepping and the
// AppendText command all come through here, so that how the text reaches the
// control (at once, or gathered for a big append) is decided in one spot.
//
// Positions and lengths count bytes of the GBK text, as everywhere in the
// runtime; the control may count characters (Wine's EDIT does), and the
// conversion happens here.
#include <windows.h>

#include <cstdint>
#include <string>

namespace quillet {

struct EditSelection {
    int32_t start;   // bytes before the selection
    int32_t length;  // bytes selected
};

class EditText {
public:
    void Attach(HWND edit) { edit_ = edit; }

    std::string Text() const;
    int32_t Length() const;  // bytes
    // The whole text; the control's change notification follows (single-line
    // controls send one, multi-line ones do not).
    void Set(const char* text);
    // Inserts at the end, whatever the selection was, and scrolls there; kept
    // out of the control's undo buffer.
    void Append(const char* text);
    // Replaces the selection, or inserts at the caret.
    void ReplaceSelection(const char* text);

    EditSelection Selection() const;
    std::string SelectedText() const;
    // Clamped to the text; scrolls the caret into view.
    void Select(int32_t start, int32_t length);

private:
    HWND edit_ = nullptr;  // the EDIT control; null before creation
};

// What the AppendText command does with each of its texts, given the window of
// the unit it names: appends to the edit box unit, or to a bare EDIT control.
// False, changing nothing, for any other window.
bool AppendToEditBox(HWND box, const char* text);

}  // namespace quillet
