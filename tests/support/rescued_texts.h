#pragma once
// The texts the crash probe (tests/app/crash_probe.cpp) puts into the tool's
// boxes and writes into the main box before it crashes, and how tests read
// them back from a rescue file: characters beyond GBK, and a large text.
#include <windows.h>

#include <map>
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

// A rescue file's texts by title: after the UTF-8 byte-order mark, each
// section is "==== title ====" CR LF, the text, CR LF, and the next one
// begins after an empty line. Empty when the file is not of that form.
inline std::map<std::string, std::string> Sections(const std::string& file) {
    std::map<std::string, std::string> sections;
    if (file.rfind("\xEF\xBB\xBF", 0) != 0) return {};
    for (size_t at = 3; at < file.size();) {
        const size_t titleEnd = file.find(" ====\r\n", at);
        if (file.compare(at, 5, "==== ") != 0 || titleEnd == std::string::npos) return {};
        const size_t textStart = titleEnd + 7;
        const size_t next = file.find("\r\n\r\n==== ", textStart);
        const size_t textEnd = next != std::string::npos ? next : file.size() - 2;
        if (textEnd < textStart || file.compare(textEnd, 2, "\r\n") != 0) return {};
        sections[file.substr(at + 5, titleEnd - at - 5)] = file.substr(textStart, textEnd - textStart);
        at = next != std::string::npos ? next + 4 : file.size();
    }
    return sections;
}

}  // namespace rescuedtexts
