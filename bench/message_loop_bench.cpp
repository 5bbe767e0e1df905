// What the framework and the runtime's loops add per message. Run by hand:
//   scripts/with-display scripts/wine-run build/bench/message_loop_bench.exe
// Each line gives the median over five rounds of the time per operation.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/button.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"

namespace {

// <chrono> does not build with the GBK execution character set: the performance counter instead.
double Microseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Operation>
void Measure(const char* what, int count, Operation operation) {
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        const double started = Microseconds();
        for (int i = 0; i < count; ++i) operation();
        rounds.push_back((Microseconds() - started) / count);
    }
    std::sort(rounds.begin(), rounds.end());
    std::printf("%-58s %9.2f us\n", what, rounds[2]);
}

const wchar_t* BenchClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilletBench";
    AfxRegisterClass(&wc);
    return L"QuilletBench";
}

// Answers its reflected clicks.
class ClickCounter : public CButton {
public:
    int clicks = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_REFLECT_BASE + WM_COMMAND) {
            ++clicks;
            return 0;
        }
        return CButton::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

int main() {
    const wchar_t* cls = BenchClass();
    const HWND plain = CreateWindowExW(0, cls, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    CWnd framed;
    framed.CreateEx(0, cls, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr);
    ClickCounter button;
    button.Create(L"b", WS_CHILD, RECT{0, 0, 50, 20}, framed.m_hWnd, 100);

    Measure("SendMessage to a window without an object", 100000,
            [&] { SendMessageA(plain, WM_USER + 1, 0, 0); });
    Measure("SendMessage to a window with a CWnd", 100000, [&] { SendMessageA(framed.m_hWnd, WM_USER + 1, 0, 0); });
    Measure("WM_COMMAND from a control, reflected to its object", 100000, [&] {
        SendMessageA(framed.m_hWnd, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    });
    Measure("CreateWindowEx + DestroyWindow, child without object", 2000, [&] {
        DestroyWindow(CreateWindowExW(0, cls, L"", WS_CHILD, 0, 0, 10, 10, plain, nullptr, GetModuleHandleW(nullptr),
                                      nullptr));
    });
    Measure("CWnd::CreateEx + DestroyWindow, child", 2000, [&] {
        CWnd child;
        child.CreateEx(0, cls, L"", WS_CHILD, 0, 0, 10, 10, plain, nullptr);
        child.DestroyWindow();
    });
    Measure("ProcessEvents (service 2018) with an empty queue", 20000, [] { quillet::ProcessPendingEvents(); });
    Measure("ProcessEvents with one posted message", 20000, [&] {
        PostMessageA(plain, WM_USER + 2, 0, 0);
        quillet::ProcessPendingEvents();
    });
    std::printf("(%d reflected clicks counted)\n", button.clicks);
    DestroyWindow(plain);
    return 0;
}
