#pragma once
// CButton: the system BUTTON control (push buttons, check boxes).
#include "framework/wnd.h"

class CButton : public CWnd {
public:
    // style: the caller's WS_* and BS_* bits.
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, L"BUTTON", caption, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    int GetCheck() const { return static_cast<int>(SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
    // type: IMAGE_BITMAP or IMAGE_ICON; gives back the previous image.
    HANDLE SetImage(UINT type, HANDLE image) {
        return reinterpret_cast<HANDLE>(SendMessageW(m_hWnd, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
    }
};
