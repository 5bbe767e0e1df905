// How fast the text converter takes a big text to UTF-16 and back, against the
// platform's own code page 936 conversion of the same text in the same run.
// Run by hand:
//   scripts/wine-run build/bench/text_encoding_bench.exe
// Each line: the median of five runs of each, in ms, and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/values/text_encoding.h"

namespace {

using quillet::TextFromWide;
using quillet::WideFromText;

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Median(Work work) {
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const double started = Milliseconds();
        work();
        times.push_back(Milliseconds() - started);
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

// Lines of ASCII and GBK words, as the tool benchmark's texts; about 13 MB.
std::string BookText(const char* extra) {
    std::string text;
    const char* words[] = {"hello ", "中国", "的", "world\t", "\xA1\xA1", "文本助手", "quillet ", extra};
    for (int line = 0; text.size() < 13u * 1024 * 1024; ++line) {
        for (int w = 0; w < 6; ++w) text += words[(line * 7 + w * 3) % 8];
        text += "\r\n";
    }
    return text;
}

void Compare(const char* what, const std::string& text) {
    std::wstring wide;
    const double ours = Median([&] { wide = WideFromText(text.data(), text.size()); });
    std::wstring platformWide(text.size(), L'\0');
    const double platform = Median([&] {
        platformWide.resize(static_cast<size_t>(MultiByteToWideChar(
            936, 0, text.data(), static_cast<int>(text.size()), platformWide.data(), static_cast<int>(text.size()))));
    });
    std::printf("%-28s to UTF-16   %8.1f ms  code page 936 %8.1f ms  ratio %5.2f\n", what, ours, platform,
                ours / platform);

    std::string back;
    const double oursBack = Median([&] { back = TextFromWide(wide.data(), wide.size()); });
    std::string platformBack(text.size() + 16, '\0');
    const double platformTime = Median([&] {
        platformBack.resize(static_cast<size_t>(
            WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), platformBack.data(),
                                static_cast<int>(text.size() + 16), nullptr, nullptr)));
    });
    std::printf("%-28s from UTF-16 %8.1f ms  code page 936 %8.1f ms  ratio %5.2f%s\n", what, oursBack, platformTime,
                oursBack / platformTime, back == text ? "" : "  (did not come back!)");
}

}  // namespace

int main() {
    Compare("GBK and ASCII", BookText("中文"));
    // A character GBK lacks in every line: the platform narrows it to '?'.
    Compare("with emoji and extension B", BookText("\x94\x39\xFC\x36\x95\x34\xB2\x35"));
    return 0;
}
