// A save of a large text against the plainest write of the same bytes, in the
// same run. Run by hand:
//   scripts/wine-run build/bench/safe_write_bench.exe [MB] [ROUNDS] [FOLDER] [utf8]
// Each round saves a text of MB megabytes (13 by default: a million lines of
// the tool benchmark's text) over a file as the save command does: encoded in
// the file's form (GBK with LF breaks, or UTF-8 with CR LF and a mark), then
// through WriteFileSafely (a temporary file written, flushed, closed, read
// back and compared, then ReplaceFileW with a backup name); and writes the
// encoded bytes over another file once with CreateFileW, WriteFile,
// FlushFileBuffers and CloseHandle. Which goes first alternates. Prints each
// round and the medians, in ms, and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_text.h"
#include "runtime/values/cycle_clock.h"
#include "runtime/values/safe_write.h"
#include "runtime/values/text_file.h"

namespace {

using quillet::Milliseconds;

bool PlainWrite(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

quillet::TextFileForm form;  // the saved file's

// The text as the box holds it, saved: encoded, then written safely.
bool Save(const std::wstring& path, const std::string& text) {
    std::string bytes;
    quillet::MissingCharacter missing{};
    if (!quillet::WriteTextFile(text.data(), text.size(), form, &bytes, &missing)) return false;
    const quillet::SafeWriteRequest request{path.c_str(), bytes.data(), bytes.size(), nullptr, false, nullptr};
    return quillet::WriteFileSafely(request).failure == quillet::WriteFailure::None;
}

std::string Encoded(const std::string& text) {
    std::string bytes;
    quillet::MissingCharacter missing{};
    quillet::WriteTextFile(text.data(), text.size(), form, &bytes, &missing);
    return bytes;
}

template <typename Write>
double Timed(Write write, const std::wstring& path, const std::string& bytes) {
    const double started = Milliseconds();
    if (!write(path, bytes)) {
        std::printf("a write failed\n");
        std::exit(1);
    }
    return Milliseconds() - started;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 13;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::wstring folder;
    if (argc > 3) {
        const std::string given = argv[3];
        folder.assign(given.begin(), given.end());
    } else {
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        folder = std::wstring(temporary) + L"quillet-safe-write-bench";
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring safeFile = folder + L"\\safe.txt", plainFile = folder + L"\\plain.txt";

    const bool utf8 = argc > 4 && std::string(argv[4]) == "utf8";
    form = utf8 ? quillet::TextFileForm{quillet::TextFileKind::Utf8Mark, quillet::LineBreak::CrLf, true}
                : quillet::TextFileForm{quillet::TextFileKind::Gbk, quillet::LineBreak::Lf, true};
    std::string text = bench::GeneratedText(1000000);
    text.resize(static_cast<size_t>(megabytes) << 20, 'x');
    std::string other = text;
    std::reverse(other.begin(), other.end());  // CR LF turns LF CR: each round still changes every line
    const std::string encodedText = Encoded(text), encodedOther = Encoded(other);
    if (!PlainWrite(safeFile, encodedOther) || !PlainWrite(plainFile, encodedOther)) return 1;

    std::vector<double> safe, plain, ratios;
    for (int round = 0; round < rounds; ++round) {
        const std::string& saved = round % 2 == 0 ? text : other;  // each round changes the file
        const std::string& bytes = round % 2 == 0 ? encodedText : encodedOther;
        double safeMs, plainMs;
        if (round % 2 == 0) {
            safeMs = Timed(Save, safeFile, saved);
            plainMs = Timed(PlainWrite, plainFile, bytes);
        } else {
            plainMs = Timed(PlainWrite, plainFile, bytes);
            safeMs = Timed(Save, safeFile, saved);
        }
        safe.push_back(safeMs);
        plain.push_back(plainMs);
        ratios.push_back(safeMs / plainMs);
        std::printf("round %d: %d MB  save %8.1f ms  plain write %8.1f ms  ratio %5.2f\n", round + 1,
                    megabytes, safeMs, plainMs, safeMs / plainMs);
    }
    std::printf("median of %d rounds (%s): save %8.1f ms  plain write %8.1f ms  ratio %5.2f\n", rounds,
                utf8 ? "UTF-8 with its mark, CR LF" : "GBK, LF",
                Median(safe), Median(plain), Median(ratios));
    DeleteFileW(safeFile.c_str());
    DeleteFileW(plainFile.c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
