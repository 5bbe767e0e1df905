#pragma once
// The tool's window as the benchmarks drive it, in their own process: a unit's
// live window, a check box set as a handler sets it, and a click handled as
// the runtime's loop handles it.
#include <windows.h>

#include "app/unit_ids.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/services/compiled_code.h"
#include "runtime/template/window_table.h"

namespace bench {

inline HWND Handle(quillet::app::UnitId unit) {
    quillet::WindowTemplate* window = quillet::ProgramWindows().Find(quillet::app::MainWindow);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = window->working.IndexOf(unit);
    if (index < 0) return nullptr;
    auto* object = static_cast<CWnd*>(window->working.RecordAt(index).Object());
    return object != nullptr ? object->m_hWnd : nullptr;
}

inline void SetChecked(quillet::app::UnitId box, bool checked) {
    quillet::compiled::WriteInt(quillet::app::MainWindow, box, quillet::app::Property::Checked, checked ? 1 : 0);
    quillet::ProcessPendingEvents();
}

// The run happens inside, and its result reaches the box piece by piece afterwards.
inline void Click(quillet::app::UnitId button) {
    HWND handle = Handle(button);
    PostMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    quillet::ProcessPendingEventsAndOutput();
}

}  // namespace bench
