#pragma once
// What the crash probe (tests/app/crash_probe.cpp) writes into the tool's
// boxes, and a rescue file read back (rescue_file.h tells its form).
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

namespace rescuedtexts {

inline std::wstring Lines(int count, const wchar_t* head, const wchar_t* tail) {
    std::wstring text;
    for (int line = 1; line <= count; ++line) text += head + std::to_wstring(line) + tail;
    return text;
}
// About 90,000 UTF-16 units, more than the rescue's 64K-unit buffers hold at
// once, with 😀, 𠮷 and Chinese (whose glyphs cost the box a time to take).
inline std::wstring MainText() { return Lines(5000, L"第", L"行 😀𠮷文字abc\r\n"); }
inline const std::wstring PrefixText = L"前缀😀\xD800x";  // a surrogate half alone, as a broken paste leaves it
// What the probe writes into the main box as a run would, before it crashes.
inline std::wstring RunOutput() { return Lines(2000, L"输出", L"😀\r\n"); }

inline std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// The texts by title; empty when the file is not of the form.
inline std::map<std::string, std::string> Sections(const std::string& file) {
    std::map<std::string, std::string> sections;
    if (file.rfind("\xEF\xBB\xBF==== ", 0) != 0) return {};
    for (size_t at = 3; at < file.size();) {
        const size_t titleEnd = file.find(" ====\r\n", at), next = file.find("\r\n\r\n==== ", titleEnd);
        const size_t end = std::min(next, file.size() - 2);
        if (file.compare(at, 5, "==== ") != 0 || titleEnd > end || file.compare(end, 2, "\r\n") != 0) return {};
        sections[file.substr(at + 5, titleEnd - at - 5)] = file.substr(titleEnd + 7, end - titleEnd - 7);
        at = end + 4;
    }
    return sections;
}

}  // namespace rescuedtexts
