#pragma once
// Texts between the tests and the windows in the program's own encoding (GBK,
// with four-byte codes for the rest), whatever the system's code page: the
// tests compare bytes, and the system's ANSI calls would read them in its code
// page (under 932 or 1252 every Chinese caption reads wrongly).
#include <windows.h>

#include <cwchar>
#include <string>

#include "runtime/values/text_encoding.h"

inline std::string ProgramText(const wchar_t* wide) {
    return wide != nullptr ? quillet::TextFromWide(wide, std::wcslen(wide)) : std::string();
}

inline std::wstring WideOf(const std::string& text) { return quillet::WideFromText(text.data(), text.size()); }

// A window's text, and setting it, in the program's encoding.
inline std::string WindowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return quillet::TextFromWide(text.data(), text.size());
}

inline void SetWindowTextOf(HWND window, const std::string& text) { SetWindowTextW(window, WideOf(text).c_str()); }
