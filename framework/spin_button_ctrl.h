#pragma once
// CSpinButtonCtrl: the common up-down control (msctls_updown32).
#include <windows.h>
#include <commctrl.h>

#include "framework/common_controls.h"
#include "framework/wnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    // style: the caller's WS_* and UDS_* bits; exStyle e.g. WS_EX_STATICEDGE.
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0) {
        if (!AfxInitCommonControls(ICC_UPDOWN_CLASS)) return FALSE;
        return CreateEx(exStyle, UPDOWN_CLASSW, L"", style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    // The 16-bit range of UDM_SETRANGE: values outside -32768..32767 are cut to 16 bits.
    void SetRange(int lower, int upper) {
        SendMessageW(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
    }
    void GetRange(int& lower, int& upper) const {
        const DWORD range = static_cast<DWORD>(SendMessageW(m_hWnd, UDM_GETRANGE, 0, 0));
        lower = static_cast<short>(HIWORD(range));
        upper = static_cast<short>(LOWORD(range));
    }
    // The full 32-bit range (UDM_SETRANGE32).
    void SetRange32(int lower, int upper) {
        SendMessageW(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    }
    void GetRange32(int& lower, int& upper) const {
        SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    }
};
