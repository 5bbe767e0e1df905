#pragma once
// Runtime texts where they meet the system. The runtime's texts are bytes in
// its own encoding (text_encoding.h) on every system; the system's ANSI calls
// would read them in whatever code page the system has, so every text crosses
// as UTF-16 through the wide calls, converted here and nowhere else.
#include <windows.h>

#include <string>

namespace quillet {

// A text as a wide call takes it: null stays null (an argument left out),
// anything else is the converted text with its ending 0.
class WideArgument {
public:
    explicit WideArgument(const char* text);
    explicit WideArgument(const std::string& text);
    const wchar_t* Get() const { return given_ ? wide_.c_str() : nullptr; }

private:
    bool given_;          // a text was given, if only an empty one
    std::wstring wide_;   // its UTF-16 units
};

// A window's text (its caption) as a runtime text.
std::string ReadWindowText(HWND window);

// Sets a window's text; the same text again changes nothing, and the window is
// spared a repaint.
void WriteWindowText(HWND window, const std::string& text);

// A message box of runtime texts (null: none): the system's answer (IDOK,
// IDCANCEL, ...), 0 when no box could be shown.
int ShowMessageBox(HWND owner, const char* text, const char* title, UINT style);

}  // namespace quillet
