#pragma once
// The texts the crash probe (tests/app/crash_probe.cpp) puts into the tool's
// boxes and writes into the main box before it crashes, for the tests that
// read them back from the rescue file: characters beyond GBK, and a large one.
#include <windows.h>

#include <string>

namespace rescuedtexts {

// The main box's text, about 1.7 MB in UTF-16: lines with 😀, 𠮷 and Chinese,
// each ended by CR LF, with one space and no tab or blank line, so that a
// cleanup run with the page's first options only takes the spaces out
// (Cleaned).
inline std::wstring MainText() {
    std::wstring text;
    for (int line = 1; line <= 50000; ++line) text += L"第" + std::to_wstring(line) + L"行 😀𠮷文字abc\r\n";
    return text;
}

// The main text after such a cleanup run.
inline std::wstring Cleaned(std::wstring text) {
    std::erase(text, L' ');
    return text;
}

// The numbering page's prefix box (single-line).
inline const std::wstring PrefixText = L"前缀😀";

// What the probe writes into the main box as a tool run would, after keeping
// the box's text for undo, before it crashes.
inline std::wstring RunOutput() {
    std::wstring text;
    for (int line = 1; line <= 2000; ++line) text += L"输出" + std::to_wstring(line) + L"😀\r\n";
    return text;
}

// UTF-8, as the rescue file holds every text.
inline std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace rescuedtexts
