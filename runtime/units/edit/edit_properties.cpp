// The edit box's own properties: what a write does and what a read reports.
#include <windows.h>

#include "runtime/units/edit/edit_input.h"
#include "runtime/units/edit/edit_spin.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/edit/edit_unit.h"
#include "runtime/units/unit_shape.h"
#include "runtime/units/window_style.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

using P = int32_t;  // own property index

// The properties that read or change the text or the place in it.
bool IsTextProperty(P ownIndex) {
    return ownIndex == EditBoxProperty::Content || ownIndex == EditBoxProperty::SelStart ||
           ownIndex == EditBoxProperty::SelLength || ownIndex == EditBoxProperty::SelText;
}

int32_t Int(const PropertyValue& value) { return static_cast<int32_t>(value.first); }

int32_t Pick(const PropertyValue& value, P ownIndex) {
    return ClampPick(Int(value), LastChoiceOf(EditBoxOwnProperties, ownIndex));
}

void Report(PropertyValue* value, int32_t number) { *value = {static_cast<uint32_t>(number), 0}; }

void ReportText(PropertyValue* value, const std::string& text) {
    *value = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str())), static_cast<uint32_t>(text.size())};
}

// Spin adjusters of boxes with these borders draw a thin edge of their own.
bool SpinHasStaticEdge(int32_t borderStyle) {
    return borderStyle == UnitBorder::None || borderStyle == UnitBorder::Sunken ||
           borderStyle == UnitBorder::ThinSunken;
}

// The password character is one byte of the runtime's encoding: the euro
// sign at 0x80, a lone lead byte shows as '?', as the converter reads it.
wchar_t PasswordCharacter(int32_t byte) {
    const char single = static_cast<char>(byte);
    return static_cast<wchar_t>(CharacterAt(&single, 1, 0).codePoint);
}

}  // namespace

// Properties that only take effect at window creation: a change is stored and
// the window rebuilt.
AfterWrite EditBoxUnit::Rebuilds(int32_t* field, int32_t value) {
    if (*field == value) return AfterWrite::Done;
    *field = value;
    return AfterWrite::RebuildWindow;
}

AfterWrite EditBoxUnit::SetProperty(int32_t ownIndex, const PropertyValue& value) {
    if (IsTextProperty(ownIndex)) NoteTextUsedByRun();
    EditBoxFields& f = state_.fields;
    switch (ownIndex) {
    case EditBoxProperty::Content: WriteContent(TextFromValue(value).c_str()); return AfterWrite::Done;
    case EditBoxProperty::BorderStyle:
        f.borderStyle = Pick(value, ownIndex);
        ApplyBorderStyle(m_hWnd, f.borderStyle);
        ApplySpinBorder();
        return AfterWrite::Done;
    case EditBoxProperty::TextColor:
        f.textColor = value.first;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return AfterWrite::Done;
    case EditBoxProperty::BackColor:
        f.backColor = value.first;
        state_.background.Make(ColorOf(f.backColor));
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
        return AfterWrite::Done;
    case EditBoxProperty::Font:
        state_.font = BytesFromValue(value);
        ApplyFont();
        return AfterWrite::Done;
    case EditBoxProperty::HideSelection: return Rebuilds(&f.hideSelection, Int(value) != 0 ? 1 : 0);
    case EditBoxProperty::MaxLength:
        f.maxLength = Int(value) < 0 ? 0 : Int(value);
        state_.text.AllowHolding(ControlKeepsText());
        LimitText(f.maxLength);
        return AfterWrite::Done;
    case EditBoxProperty::MultiLine: return Rebuilds(&f.multiLine, Int(value) != 0 ? 1 : 0);
    case EditBoxProperty::ScrollBars: return Rebuilds(&f.scrollBars, Pick(value, ownIndex));
    case EditBoxProperty::Alignment: return Rebuilds(&f.alignment, Pick(value, ownIndex));
    case EditBoxProperty::CaseConversion: return Rebuilds(&f.caseConversion, Pick(value, ownIndex));
    case EditBoxProperty::SpinMode: return Rebuilds(&f.spinMode, Pick(value, ownIndex));
    case EditBoxProperty::InputMode:
        f.inputMode = Pick(value, ownIndex);
        ApplyInputMode();
        return AfterWrite::Done;
    case EditBoxProperty::PasswordChar:
        f.passwordChar = static_cast<unsigned char>(TextFromValue(value).c_str()[0]);
        if (f.inputMode == EditInputMode::Password) ApplyPasswordChar();
        return AfterWrite::Done;
    case EditBoxProperty::SpinLower:
    case EditBoxProperty::SpinUpper:
        (ownIndex == EditBoxProperty::SpinLower ? f.spinLower : f.spinUpper) = Int(value);
        ApplySpinRange();
        return AfterWrite::Done;
    case EditBoxProperty::SelStart: WriteSelStart(Int(value)); return AfterWrite::Done;
    case EditBoxProperty::SelLength: WriteSelLength(Int(value)); return AfterWrite::Done;
    case EditBoxProperty::SelText: state_.text.ReplaceSelection(TextFromValue(value).c_str()); return AfterWrite::Done;
    // No type of this system is a data source: the names are kept for the
    // property data, and nothing binds.
    case EditBoxProperty::DataSource: state_.dataSource = TextFromValue(value); return AfterWrite::Done;
    case EditBoxProperty::DataColumn: state_.dataColumn = TextFromValue(value); return AfterWrite::Done;
    // CanUndo is the control's to tell: a write changes nothing.
    default: return AfterWrite::Done;
    }
}

int32_t EditBoxUnit::GetProperty(int32_t ownIndex, PropertyValue* value) {
    if (IsTextProperty(ownIndex)) NoteTextUsedByRun();
    const EditBoxFields& f = state_.fields;
    switch (ownIndex) {
    // The runtime copies the text before anything can change it.
    case EditBoxProperty::Content: ReportText(value, state_.text.TextView()); return 1;
    case EditBoxProperty::BorderStyle: Report(value, f.borderStyle); return 1;
    case EditBoxProperty::TextColor: Report(value, static_cast<int32_t>(f.textColor)); return 1;
    case EditBoxProperty::BackColor: Report(value, static_cast<int32_t>(f.backColor)); return 1;
    case EditBoxProperty::Font: *value = BytesValue(state_.font); return 1;
    case EditBoxProperty::HideSelection: Report(value, f.hideSelection); return 1;
    case EditBoxProperty::MaxLength: Report(value, f.maxLength); return 1;
    case EditBoxProperty::MultiLine: Report(value, f.multiLine); return 1;
    case EditBoxProperty::ScrollBars: Report(value, f.scrollBars); return 1;
    case EditBoxProperty::Alignment: Report(value, f.alignment); return 1;
    case EditBoxProperty::InputMode: Report(value, f.inputMode); return 1;
    case EditBoxProperty::PasswordChar:
        ReportText(value, ReadBack(std::string(f.passwordChar != 0 ? 1 : 0, static_cast<char>(f.passwordChar))));
        return 1;
    case EditBoxProperty::CaseConversion: Report(value, f.caseConversion); return 1;
    case EditBoxProperty::SpinMode: Report(value, f.spinMode); return 1;
    case EditBoxProperty::SpinLower: Report(value, f.spinLower); return 1;
    case EditBoxProperty::SpinUpper: Report(value, f.spinUpper); return 1;
    case EditBoxProperty::SelStart: Report(value, state_.text.Selection().start); return 1;
    case EditBoxProperty::SelLength: Report(value, state_.text.Selection().length); return 1;
    case EditBoxProperty::SelText: ReportText(value, ReadBack(state_.text.SelectedText())); return 1;
    case EditBoxProperty::DataSource: ReportText(value, state_.dataSource); return 1;
    case EditBoxProperty::DataColumn: ReportText(value, state_.dataColumn); return 1;
    // The runtime's own writes leave the control nothing to undo; any edit
    // since (keys, paste, the box's menu, an input method) gives it one. Asked
    // of what the box shows: no held text is handed over for it.
    case EditBoxProperty::CanUndo: Report(value, SendMessageW(m_hWnd, EM_CANUNDO, 0, 0) != 0 ? 1 : 0); return 1;
    default: return 0;
    }
}

const std::string& EditBoxUnit::ReadBack(std::string text) {
    state_.readBack = std::move(text);
    return state_.readBack;
}

bool EditBoxUnit::WantsKey(int32_t keyCode) const {
    return keyCode == VK_RETURN && state_.fields.multiLine == 1 && state_.fields.inputMode != EditInputMode::ReadOnly;
}

// The text and the selection as they are now, so that both survive a rebuild.
void EditBoxUnit::WritePropertyData(PropertyDataWriter& writer) {
    EditBoxData data;
    data.fields = state_.fields;
    const EditSelection selection = state_.text.Selection();
    data.fields.selStart = selection.start;
    data.fields.selLength = selection.length;
    data.font = state_.font;
    data.content = state_.text.Text();
    data.dataSource = state_.dataSource;
    data.dataColumn = state_.dataColumn;
    WriteEditBoxData(data, writer);
}

void EditBoxUnit::ApplyInputMode() {
    const int32_t mode = state_.fields.inputMode;
    SetPasswordChar(mode == EditInputMode::Password ? PasswordCharacter(state_.fields.passwordChar) : 0);
    SendMessageW(m_hWnd, EM_SETREADONLY, mode == EditInputMode::ReadOnly ? TRUE : FALSE, 0);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void EditBoxUnit::ApplyPasswordChar() {
    SetPasswordChar(PasswordCharacter(state_.fields.passwordChar));
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// The full 32-bit range, lower end first, whichever order the two were given in.
void EditBoxUnit::ApplySpinRange() {
    if (state_.spin == nullptr) return;
    const int32_t a = state_.fields.spinLower, b = state_.fields.spinUpper;
    state_.spin->SetRange32(a < b ? a : b, a < b ? b : a);
}

void EditBoxUnit::ApplySpinBorder() {
    if (state_.spin == nullptr || state_.spin->m_hWnd == nullptr) return;
    HWND spin = state_.spin->m_hWnd;
    const LONG exStyle = GetWindowLongW(spin, GWL_EXSTYLE);
    const LONG wanted = SpinHasStaticEdge(state_.fields.borderStyle) ? (exStyle | WS_EX_STATICEDGE)
                                                                     : (exStyle & ~WS_EX_STATICEDGE);
    if (wanted == exStyle) return;
    SetWindowLongW(spin, GWL_EXSTYLE, wanted);
    SetWindowPos(spin, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// -1 puts the caret at the end; other negatives at the start.
void EditBoxUnit::WriteSelStart(int32_t start) {
    if (start == -1) start = state_.text.Length();
    state_.text.Select(start < 0 ? 0 : start, 0);
}

// -1 selects everything; other negatives select nothing from the current start.
void EditBoxUnit::WriteSelLength(int32_t length) {
    if (length == -1) {
        state_.text.Select(0, state_.text.Length());
        return;
    }
    state_.text.Select(state_.text.Selection().start, length < 0 ? 0 : length);
}

int32_t EditBoxWantsKey(void* unit, int32_t keyCode) {
    return unit != nullptr && AsUnit<EditBoxUnit>(unit)->WantsKey(keyCode) ? 1 : 0;
}

}  // namespace quillet
