#include "runtime/values/system_text.h"

#include "runtime/values/text_encoding.h"

namespace quillet {

WideArgument::WideArgument(const char* text) : given_(text != nullptr), wide_(WideFromText(text)) {}

WideArgument::WideArgument(const std::string& text)
    : given_(true), wide_(WideFromText(text.data(), text.size())) {}

namespace {

std::wstring WideWindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

}  // namespace

std::string ReadWindowText(HWND window) {
    const std::wstring wide = WideWindowText(window);
    return TextFromWide(wide.data(), wide.size());
}

int ShowMessageBox(HWND owner, const char* text, const char* title, UINT style) {
    return MessageBoxW(owner, WideArgument(text).Get(), WideArgument(title).Get(), style);
}

void WriteWindowText(HWND window, const std::string& text) {
    const std::wstring wide = WideFromText(text.data(), text.size());
    if (wide != WideWindowText(window)) SetWindowTextW(window, wide.c_str());
}

}  // namespace quillet
