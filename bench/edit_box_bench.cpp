// What an edit box's text paths cost under Wine: appending a line (the
// AppendText command's path) to a visible and to a hidden box, small and big,
// writing and reading Content and SelStart of a big text, and handing a big
// text to a shown box in pieces against one SetWindowTextA. Run by hand:
//   scripts/with-display scripts/wine-run build/bench/edit_box_bench.exe
// Each line gives the median over three rounds of the time per operation.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/edit/edit_unit.h"

namespace {

using namespace quillet;

// <chrono> does not build with the GBK execution character set: the performance counter instead.
double Microseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// prepare runs before each round, outside the time.
template <typename Prepare, typename Operation>
double Measure(const char* what, int count, Prepare prepare, Operation operation) {
    std::vector<double> rounds;
    for (int round = 0; round < 3; ++round) {
        prepare();
        const double started = Microseconds();
        for (int i = 0; i < count; ++i) operation();
        rounds.push_back((Microseconds() - started) / count);
    }
    std::sort(rounds.begin(), rounds.end());
    std::printf("%-62s %11.1f us\n", what, rounds[1]);
    return rounds[1];
}

// A framework window, so that the box's notifications come back to it.
HWND MakeFrame() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuilletEditBench";
    AfxRegisterClass(&wc);
    auto* frame = new CWnd;
    frame->CreateEx(0, L"QuilletEditBench", L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 460,
                    nullptr, nullptr);
    return frame->m_hWnd;
}

EditBoxUnit* MakeBox(HWND frame, bool visible, uint8_t scrollBars = 2) {
    EditBoxData data;
    data.fields.multiLine = 1;
    data.fields.scrollBars = scrollBars;
    PropertyDataWriter writer;
    WriteEditBoxData(data, writer);
    const UnitPlacement placement = {0, frame, 100, nullptr, RECT{8, 8, 8 + 776, 8 + 426}, 1, 2};
    EditBoxUnit* box =
        EditBoxUnit::CreateUnit(writer.Data().data(), static_cast<int32_t>(writer.Data().size()), placement);
    if (visible) ShowWindow(box->m_hWnd, SW_SHOW);
    return box;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "第" + std::to_string(i) + "行 a line of some forty bytes\r\n";
    return text;
}

void SetContent(EditBoxUnit* box, const std::string& text) {
    const PropertyValue value{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str())),
                              static_cast<uint32_t>(text.size())};
    box->SetProperty(EditBoxProperty::Content, value);
}

// Appends text[from, end) at the control's end, as a handover piece goes.
void ReplaceAtEnd(HWND edit, const std::string& text, size_t from, size_t end) {
    const std::string piece(text, from, end - from);
    SendMessageA(edit, EM_SETSEL, INT_MAX, INT_MAX);
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(piece.c_str()));
    ValidateRect(edit, nullptr);
}

// A shown box with both scroll bars, as the tool's main box: the whole text in
// one SetWindowTextA, and in pieces cut at line ends. Each EM_REPLACESEL has a
// cost of its own whatever its size: under Wine the control redraws its
// scroll bars each time, and each redraw looks the display configuration up
// some twenty times, three wineserver round trips a look.
void MeasureHandover(HWND frame) {
    EditBoxUnit* box = MakeBox(frame, true, 3);
    const HWND edit = box->m_hWnd;
    const std::string text = Lines(30000);
    const std::string line = "第1行 a line of some forty bytes\r\n";
    Measure("EM_REPLACESEL of a line, shown box, empty", 20, [&] { SetWindowTextA(edit, ""); },
            [&] { ReplaceAtEnd(edit, line, 0, line.size()); });
    char what[128];
    std::snprintf(what, sizeof what, "EM_REPLACESEL of a line, shown box holding %u KB",
                  static_cast<unsigned>(text.size() / 1024));
    Measure(what, 20, [&] { SetWindowTextA(edit, text.c_str()); }, [&] { ReplaceAtEnd(edit, line, 0, line.size()); });
    std::snprintf(what, sizeof what, "SetWindowTextA of %u KB, shown box, from empty",
                  static_cast<unsigned>(text.size() / 1024));
    const double whole = Measure(what, 1, [&] { SetWindowTextA(edit, ""); }, [&] {
        SetWindowTextA(edit, text.c_str());
        UpdateWindow(edit);
    });
    for (size_t pieceKb : {16, 64, 128, 256}) {
        std::snprintf(what, sizeof what, "the same in pieces of %u KB", static_cast<unsigned>(pieceKb));
        const double pieces = Measure(what, 1, [&] { SetWindowTextA(edit, ""); }, [&] {
            for (size_t from = 0; from < text.size();) {
                const size_t cut = text.find('\n', std::min(text.size(), from + pieceKb * 1024));
                const size_t end = cut == std::string::npos ? text.size() : cut + 1;
                ReplaceAtEnd(edit, text, from, end);
                from = end;
            }
            InvalidateRect(edit, nullptr, TRUE);
            UpdateWindow(edit);
        });
        std::printf("%-62s %11.2f x\n", "  against one SetWindowTextA", pieces / whole);
    }
    Pump();
    DestroyWindow(edit);
}

}  // namespace

int main() {
    HWND frame = MakeFrame();
    const std::string line = "第1行 a line of some forty bytes\r\n";
    const std::string big = Lines(30000);  // about 1.2 MB
    const std::string huge = Lines(100000);
    for (bool visible : {true, false}) {
        EditBoxUnit* box = MakeBox(frame, visible);
        const char* shown = visible ? "visible" : "hidden";
        char what[128];
        std::snprintf(what, sizeof what, "append a line, %s box, from empty", shown);
        Measure(what, visible ? 40 : 400, [&] { SetContent(box, ""); }, [&] { box->AppendText(line.c_str()); });
        std::snprintf(what, sizeof what, "append a line, %s box holding %u KB", shown,
                      static_cast<unsigned>(big.size() / 1024));
        Measure(what, visible ? 20 : 100, [&] { SetContent(box, big.c_str()); }, [&] { box->AppendText(line.c_str()); });
        std::snprintf(what, sizeof what, "write Content of %u KB (100,000 lines), %s box",
                      static_cast<unsigned>(huge.size() / 1024), shown);
        Measure(what, 1, [] {}, [&] { SetContent(box, huge); });
        PropertyValue value{};
        std::snprintf(what, sizeof what, "read Content of that, %s box", shown);
        Measure(what, 3, [] {}, [&] { box->GetProperty(EditBoxProperty::Content, &value); });
        std::snprintf(what, sizeof what, "read SelStart at its end (bytes counted), %s box", shown);
        Measure(what, 3, [&] { box->SetProperty(EditBoxProperty::SelStart, {static_cast<uint32_t>(-1), 0}); },
                [&] { box->GetProperty(EditBoxProperty::SelStart, &value); });
        Pump();
        DestroyWindow(box->m_hWnd);
    }
    MeasureHandover(frame);
    DestroyWindow(frame);
    return 0;
}
