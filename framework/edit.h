#pragma once
// CEdit: the system EDIT control, as a Unicode window: what is pasted or typed
// into it keeps every character (an ANSI control narrows it to the code page
// as it arrives).
#include "framework/wnd.h"

class CEdit : public CWnd {
public:
    // style: the caller's WS_* and ES_* bits (WS_CHILD among them for a child).
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, LPCWSTR text = L"") {
        return CreateEx(0, L"EDIT", text, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    // Selects UTF-16 units start..end (end -1: to the end; start -1: no
    // selection) and, unless noScroll, scrolls the caret into view.
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
        if (!noScroll) SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE) {
        SendMessageW(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
    }
    void LimitText(int maxUnits) { SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(maxUnits), 0); }
    void SetPasswordChar(wchar_t ch) { SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, ch, 0); }
};
