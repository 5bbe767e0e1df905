// The safe write of a large text against the plainest write of the same bytes,
// in the same run. Run by hand:
//   scripts/wine-run build/bench/safe_write_bench.exe [MB] [ROUNDS] [FOLDER]
// Each round replaces a file of MB megabytes (13 by default: a million lines of
// the tool benchmark's text) with new bytes through WriteFileSafely (a
// temporary file written, flushed, closed, read back and compared, then
// ReplaceFileW with a backup name), and writes the same bytes over another file
// once with CreateFileW, WriteFile, FlushFileBuffers and CloseHandle; which goes
// first alternates. Prints each round and the medians, in ms, and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_text.h"
#include "runtime/values/cycle_clock.h"
#include "runtime/values/safe_write.h"

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

bool SafeWrite(const std::wstring& path, const std::string& bytes) {
    const quillet::SafeWriteRequest request{path.c_str(), bytes.data(), bytes.size(), nullptr, false, nullptr};
    return quillet::WriteFileSafely(request).failure == quillet::WriteFailure::None;
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

    std::string text = bench::GeneratedText(1000000);
    text.resize(static_cast<size_t>(megabytes) << 20, 'x');
    std::string other = text;
    std::reverse(other.begin(), other.end());
    if (!PlainWrite(safeFile, other) || !PlainWrite(plainFile, other)) return 1;

    std::vector<double> safe, plain, ratios;
    for (int round = 0; round < rounds; ++round) {
        const std::string& bytes = round % 2 == 0 ? text : other;  // each round changes the file
        double safeMs, plainMs;
        if (round % 2 == 0) {
            safeMs = Timed(SafeWrite, safeFile, bytes);
            plainMs = Timed(PlainWrite, plainFile, bytes);
        } else {
            plainMs = Timed(PlainWrite, plainFile, bytes);
            safeMs = Timed(SafeWrite, safeFile, bytes);
        }
        safe.push_back(safeMs);
        plain.push_back(plainMs);
        ratios.push_back(safeMs / plainMs);
        std::printf("round %d: %d MB  safe write %8.1f ms  plain write %8.1f ms  ratio %5.2f\n", round + 1,
                    megabytes, safeMs, plainMs, safeMs / plainMs);
    }
    std::printf("median of %d rounds: safe write %8.1f ms  plain write %8.1f ms  ratio %5.2f\n", rounds,
                Median(safe), Median(plain), Median(ratios));
    DeleteFileW(safeFile.c_str());
    DeleteFileW(plainFile.c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
