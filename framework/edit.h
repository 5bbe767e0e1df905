#pragma once
// CEdit: the system EDIT control.
#include "framework/wnd.h"

class CEdit : public CWnd {
public:
    // style: the caller's WS_* and ES_* bits (WS_CHILD among them for a child).
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, LPCSTR text = "") {
        return CreateEx(0, "EDIT", text, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    // A Unicode control: what is pasted or typed into it keeps every character
    // (an ANSI control narrows it to the code page as it arrives).
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, LPCWSTR text) {
        return CreateEx(0, L"EDIT", text, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    // Selects bytes start..end (end -1: to the end; start -1: no selection) and,
    // unless noScroll, scrolls the caret into view.
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
        if (!noScroll) SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) {
        SendMessageA(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
    }
    void LimitText(int maxBytes) { SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(maxBytes), 0); }
    void SetPasswordChar(char ch) { SendMessageA(m_hWnd, EM_SETPASSWORDCHAR, static_cast<BYTE>(ch), 0); }
};
