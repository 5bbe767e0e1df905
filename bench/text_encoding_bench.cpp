// How fast the text converter takes a big text to UTF-16 and back, against the
// platform's own code page 936 conversion of the same text in the same run.
// Run by hand:
//   scripts/wine-run build/bench/text_encoding_bench.exe
// Each line: the median of five runs of each, in ms, and their ratio. Then a
// file of the same text read (ReadTextFile) and written (WriteTextFile) in each
// encoding and line break, against a plain copy of its bytes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/values/text_encoding.h"
#include "runtime/values/text_file.h"

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

// gbk: a text of GBK characters alone; other: one with characters GBK lacks in every line.
void ReadAndWrite(const std::string& gbk, const std::string& other) {
    const double copy = Median([&] { std::string bytes(gbk); });
    std::printf("\nFiles of %.1f MB of text, plain copy %.1f ms; read and write in ms and MB/s of text:\n",
                static_cast<double>(gbk.size()) / 1e6, copy);
    using quillet::LineBreak;
    using quillet::TextFileKind;
    const struct {
        const char* name;
        quillet::TextFileForm form;
    } forms[] = {{"GBK, CR LF", {TextFileKind::Gbk, LineBreak::CrLf, true}},
                 {"GBK, LF", {TextFileKind::Gbk, LineBreak::Lf, true}},
                 {"GB18030, CR LF", {TextFileKind::Gb18030, LineBreak::CrLf, true}},
                 {"UTF-8, CR LF", {TextFileKind::Utf8, LineBreak::CrLf, true}},
                 {"UTF-16 LE, CR LF", {TextFileKind::Utf16Le, LineBreak::CrLf, true}}};
    for (const auto& f : forms) {
        const std::string& text = f.form.kind == TextFileKind::Gbk ? gbk : other;
        const auto rate = [&](double ms) { return static_cast<double>(text.size()) / 1e3 / ms; };
        std::string bytes, back;
        quillet::MissingCharacter missing;
        const double write = Median([&] {
            bytes = std::string();  // grown from empty, as a save does
            quillet::WriteTextFile(text.data(), text.size(), f.form, &bytes, &missing);
        });
        quillet::TextFileForm form;
        quillet::FileTextCounts counts;
        const double read = Median([&] {
            back = std::string();
            quillet::ReadTextFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &back, &form, &counts);
        });
        std::printf("%-18s read %7.1f ms %6.0f MB/s   write %7.1f ms %6.0f MB/s%s\n", f.name, read, rate(read), write,
                    rate(write), back == text && form.kind == f.form.kind ? "" : "  (did not come back!)");
    }
}

}  // namespace

int main() {
    Compare("GBK and ASCII", BookText("中文"));
    // A character GBK lacks in every line: the platform narrows it to '?'.
    Compare("with emoji and extension B", BookText("\x94\x39\xFC\x36\x95\x34\xB2\x35"));
    ReadAndWrite(BookText("中文"), BookText("\x94\x39\xFC\x36\x95\x34\xB2\x35"));
    return 0;
}
