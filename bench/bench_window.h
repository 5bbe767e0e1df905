#pragma once
// The tool's window as the benchmarks drive it, in their own process: a unit's
// live window, a check box set as a handler sets it, and a click handled as
// the runtime's loop handles it; texts and pages set as handlers set them, and
// the options of the numbering and replace tools the benchmarks run with.
#include <windows.h>

#include <string>

#include "app/unit_ids.h"
#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/services/compiled_code.h"
#include "runtime/template/window_table.h"

namespace bench {

namespace Unit = quillet::app::Unit;
namespace Property = quillet::app::Property;
constexpr int32_t TabCurrentPage = 12;

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

// The text written as a handler writes it; read back from the control, so
// that the control holds it (a box may keep written text back for a while).
inline void SetText(quillet::app::UnitId box, const std::string& text) {
    quillet::compiled::WriteText(quillet::app::MainWindow, box, Property::EditContent, text.c_str());
    quillet::ProcessPendingEvents();
    SendMessageA(Handle(box), WM_GETTEXTLENGTH, 0, 0);
}

inline void ShowPage(int32_t page) {
    quillet::compiled::WriteInt(quillet::app::MainWindow, Unit::TabControl, TabCurrentPage, page);
    quillet::ProcessPendingEvents();
}

// Numbering from 1 with the suffix "、", zero fill, blank lines skipped.
inline void PrepareNumbering() {
    SetText(Unit::PrefixBox, "");
    SetText(Unit::StartNumberBox, "1");
    SetText(Unit::SuffixBox, "、");
    SetChecked(Unit::ZeroFillBox, true);
    SetChecked(Unit::SkipBlankBox, true);
}

// Three pairs to replace.
inline void PrepareReplace() {
    SetText(Unit::SubjectBox, "的,hello,中国");
    SetText(Unit::PredicateBox, "之,HELLO,中华");
}

}  // namespace bench
