#pragma once
// CTabCtrl: the common tab control (SysTabControl32).
#include <windows.h>
#include <commctrl.h>

#include "framework/common_controls.h"
#include "framework/wnd.h"

class CTabCtrl : public CWnd {
public:
    // style: the caller's WS_* and TCS_* bits.
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        if (!AfxInitCommonControls(ICC_TAB_CLASSES)) return FALSE;
        return CreateEx(0, WC_TABCONTROLW, L"", style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    // A header with a caption only; the index it got, or -1.
    int InsertItem(int item, LPCWSTR caption) {
        TCITEMW header{};
        header.mask = TCIF_TEXT;
        header.pszText = const_cast<LPWSTR>(caption);
        return static_cast<int>(
            SendMessageW(m_hWnd, TCM_INSERTITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&header)));
    }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessageW(m_hWnd, TCM_DELETEALLITEMS, 0, 0)); }
    int GetItemCount() const { return static_cast<int>(SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0)); }
    // Selects without notifying; the previous selection, or -1.
    int SetCurSel(int item) { return static_cast<int>(SendMessageW(m_hWnd, TCM_SETCURSEL, static_cast<WPARAM>(item), 0)); }
};
