#include "runtime/units/window_class.h"

#include "framework/wnd.h"

namespace quillet {

bool RegisterPlainWindowClass(const wchar_t* name, UINT classStyle) {
    WNDCLASSW windowClass{};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = name;
    return AfxRegisterClass(&windowClass) != FALSE;
}

}  // namespace quillet
