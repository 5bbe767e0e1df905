#pragma once
// What the crash probe (tests/app/crash_probe.cpp) writes into the tool's
// boxes, for its test to find in the rescue file.
#include <iterator>
#include <string>

#include "runtime/errors/rescue_file.h"

namespace rescuedtexts {

inline std::wstring Lines(int count, const wchar_t* head, const wchar_t* tail) {
    std::wstring text;
    for (int line = 1; line <= count; ++line) text += head + std::to_wstring(line) + tail;
    return text;
}

// With 😀, 𠮷 and Chinese (whose glyphs cost the box a time to take), and
// longer than the rescue's scratch room, so that it goes out in parts.
constexpr int MainLines = 5000;
constexpr wchar_t MainHead[] = L"第", MainTail[] = L"行 😀𠮷文字abc\r\n";
static_assert(MainLines * (std::size(MainHead) - 1 + 1 + std::size(MainTail) - 1) > quillet::RescueScratchUnits,
              "each line holds at least its head, a digit and its tail");
inline std::wstring MainText() { return Lines(MainLines, MainHead, MainTail); }
inline const std::wstring PrefixText = L"前缀😀\xD800x";  // a surrogate half alone, as a broken paste leaves it
// What the probe writes into the main box as a run would, before it crashes.
inline std::wstring RunOutput() { return Lines(2000, L"输出", L"😀\r\n"); }

}  // namespace rescuedtexts
