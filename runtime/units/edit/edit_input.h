#pragma once
// What an edit box's InputMode does to input: the keystroke filter of the
// numeric modes and the normalisation of the text when the focus leaves; and
// which of the user's messages edit a box at all.
#include <windows.h>

#include <cstdint>
#include <string>

namespace quillet {

namespace EditInputMode {
enum : int32_t {
    Normal, ReadOnly, Password, IntegerText, DecimalText, Byte, Short, Int, Long, Float, Double, DateTime,
};
}  // namespace EditInputMode

// Whether a typed character (WM_CHAR) gets into a box of the mode; control
// characters (below 32) always do.
bool AcceptsCharacter(int32_t inputMode, uint32_t character);

// Whether a message by which the user works the control edits its text:
// typed characters (control characters only when the control edits with them:
// Backspace, Tab, line breaks, Ctrl+V, Ctrl+X, Ctrl+Z), input-method text,
// Delete and Shift+Delete (cut), Shift+Insert (paste), Alt+Backspace (undo),
// and the cut, paste, clear and undo commands. Moving, selecting (Ctrl+A),
// copying (Ctrl+C) and scrolling do not; nor does the context menu, whose edit
// commands a read-only control greys out.
bool EditsText(UINT message, WPARAM wParam);

// Modes 5 to 11 rewrite the text when the focus leaves.
bool NormalisesOnFocusLoss(int32_t inputMode);

// The text a box of the mode shows for what the user left in it: numbers
// clamped to the mode's range and written as the runtime writes them, date-times
// in the runtime's date-time text, and the value 0 (or a date-time that does not
// parse) as the empty text. Other modes give the text unchanged.
std::string NormalisedText(int32_t inputMode, const std::string& text);

// The integer at the start of a text: white space, a sign, then digits, held at
// the 64-bit limits; 0 when there is no number.
int64_t LeadingInteger(const std::string& text);

// A date-time text (2024-05-01, 2024/5/1 8:30:05, 2024年5月1日8时30分, or what the
// system's date parser reads) as an OLE Automation date; false when it does not parse.
bool ParseDateTime(const std::string& text, double* oleDate);

}  // namespace quillet
