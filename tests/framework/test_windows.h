#pragma once
// Windows for the framework tests: a class registered as the units register
// theirs (default window procedure), and objects that record what reaches them.
#include <windows.h>

#include <vector>

#include "framework/wnd.h"

inline const wchar_t* TestWindowClass() {
    static const wchar_t* const name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = L"QuilletFrameworkTest";
        AfxRegisterClass(&wc);
        return L"QuilletFrameworkTest";
    }();
    return name;
}

// An object of Base that deletes itself in its final clean-up (PostNcDestroy)
// and says so in *deleted.
template <typename Base>
class SelfDeleting : public Base {
public:
    explicit SelfDeleting(bool* deleted) : deleted_(deleted) { *deleted_ = false; }
    ~SelfDeleting() override { *deleted_ = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool* deleted_;
};

// A top-level window of the test class without any object.
inline HWND PlainWindow(HWND parent = nullptr) {
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExW(0, TestWindowClass(), L"plain", style, 0, 0, 200, 100, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Records every message with whether the object was already mapped to its window.
class RecordingWnd : public CWnd {
public:
    struct Seen {
        UINT message;
        WPARAM wParam;
        bool mapped;   // FromHandlePermanent(the window) was this object
    };
    std::vector<Seen> seen;
    int postNcDestroyCalls = 0;
    bool failCreate = false;   // answer WM_CREATE with -1

    bool Saw(UINT message) const {
        for (const Seen& s : seen)
            if (s.message == message) return true;
        return false;
    }
    bool SawCommand(WORD code) const {
        for (const Seen& s : seen)
            if (s.message == WM_COMMAND && HIWORD(s.wParam) == code) return true;
        return false;
    }
    int Count(UINT message) const {
        int n = 0;
        for (const Seen& s : seen) n += s.message == message;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, wParam, m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this});
        if (message == WM_CREATE && failCreate) return -1;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
};
