// How long the text commands take on book-sized texts (about 10 MB), including
// inputs that make a naive search quadratic. Run by hand:
//   scripts/wine-run build/bench/text_commands_bench.exe
// Each line gives the median of five runs of one call through the call-command slot.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/services/support_entries.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"

namespace quillet {
namespace {

constexpr int32_t Megabytes = 10;
constexpr int32_t TextBytes = Megabytes * 1024 * 1024;

CommandArg TextRecord(const std::string& text) {
    return CommandArg{Word(text.c_str()), 0, DataType::Text};
}
CommandArg IntRecord(int32_t value) { return CommandArg{static_cast<uint32_t>(value), 0, DataType::Int}; }
constexpr CommandArg LeftOut{0, 0, 0};

enum class ResultKind { Int, Text, TextArray };

// <chrono> does not build with the GBK execution character set: the performance counter instead.
double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Calls the command five times and prints the median time and what it gave.
void Measure(const char* what, CommandFunction command, std::vector<CommandArg> args, ResultKind kind) {
    std::vector<double> times;
    std::string outcome;
    for (int run = 0; run < 5; ++run) {
        const double started = Milliseconds();
        const CommandArg result =
            SupportEntries().CallCommand(command, static_cast<int32_t>(args.size()), args.data());
        times.push_back(Milliseconds() - started);
        void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(result.low));
        switch (kind) {
        case ResultKind::Int: outcome = "result " + std::to_string(static_cast<int32_t>(result.low)); break;
        case ResultKind::Text:
            outcome = std::to_string(block != nullptr ? std::char_traits<char>::length(static_cast<char*>(block)) : 0) +
                      " bytes";
            FreeBlock(block);
            break;
        case ResultKind::TextArray:
            outcome = std::to_string(ArrayElementCount(block)) + " elements";
            FreeArray(DataType::Text, block);
            break;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("%-58s %9.2f ms   %s\n", what, times[2], outcome.c_str());
}

// Lines of Chinese text with ASCII words, commas, spaces and full-width spaces.
std::string BookText() {
    const std::string line = "\xA1\xA1\xA1\xA1\xB5\xDA\xD2\xBB\xD5\xC2 Chapter one\xA3\xAC\xCE\xD2\xC3\xC7"
                             "\xD7\xDF\xD4\xDA\xC2\xB7\xC9\xCF, the road is long \xA3\xAC\xCC\xEC\xC6\xF8"
                             "\xBA\xDC\xBA\xC3\xA1\xA3  \r\n";
    std::string text;
    text.reserve(TextBytes + line.size());
    while (text.size() < static_cast<size_t>(TextBytes)) text += line;
    return text;
}

void Run() {
    std::printf("Text commands on %d MB texts\n", Megabytes);
    const std::string book = BookText();
    const std::string comma = "\xA3\xAC";   // the full-width comma
    const std::string absent = "\xC3\xBB\xD3\xD0\xB5\xC4\xB4\xCA";
    Measure("TextLength of the book", commands::TextLength, {TextRecord(book)}, ResultKind::Int);
    Measure("LeftText 10 bytes of the book", commands::LeftText, {TextRecord(book), IntRecord(10)}, ResultKind::Text);
    Measure("RightText half of the book", commands::RightText, {TextRecord(book), IntRecord(TextBytes / 2)},
            ResultKind::Text);
    Measure("FindText of a word that is not there", commands::FindText,
            {TextRecord(book), TextRecord(absent), LeftOut, LeftOut}, ResultKind::Int);
    Measure("FindText ignoring case of a word that is not there", commands::FindText,
            {TextRecord(book), TextRecord("road is short"), LeftOut, IntRecord(1)}, ResultKind::Int);
    Measure("ReplaceSubtext full-width comma by comma", commands::ReplaceSubtext,
            {TextRecord(book), TextRecord(comma), TextRecord(","), LeftOut, LeftOut, IntRecord(1)}, ResultKind::Text);
    Measure("ReplaceSubtext e by three bytes (the result grows)", commands::ReplaceSubtext,
            {TextRecord(book), TextRecord("e"), TextRecord("EEE"), LeftOut, LeftOut, IntRecord(1)}, ResultKind::Text);
    Measure("ReplaceSubtext ignoring case, road by way", commands::ReplaceSubtext,
            {TextRecord(book), TextRecord("ROAD"), TextRecord("way"), LeftOut, LeftOut, LeftOut}, ResultKind::Text);
    Measure("SplitText at CR LF", commands::SplitText, {TextRecord(book), TextRecord("\r\n"), LeftOut},
            ResultKind::TextArray);
    Measure("TrimBothEnds of the book", commands::TrimBothEnds, {TextRecord(book)}, ResultKind::Text);
    Measure("RemoveAllSpaces of the book", commands::RemoveAllSpaces, {TextRecord(book)}, ResultKind::Text);

    // Inputs that make a search which restarts at every character quadratic.
    const std::string letters(TextBytes, 'a');
    const std::string almost = std::string(4000, 'a') + "b";
    Measure("FindText a{4000}b in a{10M}", commands::FindText,
            {TextRecord(letters), TextRecord(almost), LeftOut, LeftOut}, ResultKind::Int);
    Measure("ReplaceSubtext a{4000}b in a{10M}", commands::ReplaceSubtext,
            {TextRecord(letters), TextRecord(almost), TextRecord("x"), LeftOut, LeftOut, IntRecord(1)},
            ResultKind::Text);
    Measure("ReplaceSubtext aa by a in a{10M}", commands::ReplaceSubtext,
            {TextRecord(letters), TextRecord("aa"), TextRecord("a"), LeftOut, LeftOut, IntRecord(1)}, ResultKind::Text);
    const std::string leads = "x" + std::string(TextBytes, '\xB0');
    const std::string leadsAtTrail = std::string(4001, '\xB0') + "y";   // would begin on a trail byte
    Measure("FindText B0{4001}y in xB0{10M} (trail-byte candidates)", commands::FindText,
            {TextRecord(leads), TextRecord(leadsAtTrail), LeftOut, LeftOut}, ResultKind::Int);
    Measure("SplitText at a in a{10M} (empty pieces)", commands::SplitText,
            {TextRecord(letters), TextRecord("a"), LeftOut}, ResultKind::TextArray);
}

}  // namespace
}  // namespace quillet

int main() {
    quillet::Run();
    return 0;
}
