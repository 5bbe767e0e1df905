// The edit box unit: creation, the window procedure, the single-line look and
// the text paths that raise ContentChanged.
#include "runtime/units/edit/edit_unit.h"

#include <cstdio>

#include "runtime/events/event_dispatch.h"
#include "runtime/events/run_progress.h"
#include "runtime/units/edit/edit_input.h"
#include "runtime/units/edit/edit_spin.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/window_style.h"
#include "runtime/values/command_arg.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr DWORD AlignmentStyles[] = {ES_LEFT, ES_CENTER, ES_RIGHT};          // by Alignment
constexpr DWORD CaseStyles[] = {0, ES_LOWERCASE, ES_UPPERCASE};             // by CaseConversion
constexpr DWORD ScrollBarStyles[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};  // by ScrollBars

// The text whose height a single-line box must at least show, and the letter
// whose height its client band is.
constexpr wchar_t TallestSample[] = L"吴";
constexpr wchar_t LetterSample[] = L"W";

SIZE TextSize(HDC dc, const wchar_t* text) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size;
}

}  // namespace

EditBoxUnit::EditBoxUnit(UnitId windowId, UnitId unitId, const EditBoxData& data) : UnitObject(windowId, unitId) {
    state_.fields = data.fields;
    state_.font = data.font;
    state_.dataSource = data.dataSource;
    state_.dataColumn = data.dataColumn;
}

EditBoxUnit::~EditBoxUnit() = default;

// ---- creation ----

DWORD EditBoxUnit::CreationStyle(uint32_t extraStyle) const {
    const EditBoxFields& f = state_.fields;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | extraStyle;
    if (f.hideSelection == 0) style |= ES_NOHIDESEL;
    if (f.multiLine != 0) {
        // Without a horizontal scroll bar the lines wrap.
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ScrollBarStyles[f.scrollBars];
        if ((ScrollBarStyles[f.scrollBars] & WS_HSCROLL) != 0) style |= ES_AUTOHSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    style |= AlignmentStyles[f.alignment] | CaseStyles[f.caseConversion];
    if (f.inputMode == EditInputMode::ReadOnly) style |= ES_READONLY;
    if (f.inputMode == EditInputMode::Password) style |= ES_PASSWORD;
    return style;
}

bool EditBoxUnit::Create(const std::string& content, uint32_t extraStyle, HWND parent, uint32_t controlId,
                         const RECT& area) {
    const EditBoxFields& f = state_.fields;
    state_.background.Make(ColorOf(f.backColor));
    state_.changeGuard = true;  // the control may report its first text as a change
    const BOOL made =
        CEdit::Create(CreationStyle(extraStyle), area, parent, controlId, WideFromText(content.data(), content.size()).c_str());
    state_.changeGuard = false;
    if (!made) return false;
    state_.text.Attach(m_hWnd);
    state_.text.AllowHolding(ControlKeepsText());
    ApplyFont();
    LimitText(f.maxLength);
    if (f.inputMode == EditInputMode::Password) ApplyPasswordChar();
    if (IsSingleLine() && f.spinMode != 0) CreateSpin(controlId, (extraStyle & WS_DISABLED) != 0);
    state_.text.Select(f.selStart, f.selLength);
    ApplyBorderStyle(m_hWnd, f.borderStyle);
    // Other boxes stay as they were: the system shows them as no drop target.
    if (EventBound(WindowId(), UnitIdOf(), EditBoxEvent::FileDropped)) DragAcceptFiles(m_hWnd, TRUE);
    return true;
}

// The font first reaches the window (the old one is deleted only then); a
// single-line box too low for the font's tallest characters grows to show them.
void EditBoxUnit::ApplyFont() {
    state_.unitFont.Make(state_.font, WindowDpi(WindowId()), m_hWnd);
    HDC dc = GetDC(m_hWnd);
    const HGDIOBJ previous = SelectObject(dc, state_.unitFont.Handle());
    const SIZE tallest = TextSize(dc, TallestSample);
    state_.letterHeight = TextSize(dc, LetterSample).cy;
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);
    if (!IsSingleLine()) return;
    RECT area;
    GetWindowRect(m_hWnd, &area);
    const int32_t least = tallest.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    if (area.bottom - area.top < least)
        SetWindowPos(m_hWnd, nullptr, 0, 0, area.right - area.left, least, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RecomputeFrame();
}

void EditBoxUnit::RecomputeFrame() {
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Without a spin adjuster the box works on, with SpinMode 0.
void EditBoxUnit::CreateSpin(uint32_t controlId, bool disabled) {
    auto spin = std::make_unique<EditSpinAdjuster>(*this, state_.fields.spinMode == 1);
    const RECT none{0, 0, 0, 0};
    if (!spin->Create(WS_CHILD | WS_CLIPSIBLINGS, none, GetParent(m_hWnd), controlId + SpinAdjusterIdOffset)) {
        state_.fields.spinMode = 0;
        return;
    }
    state_.spin = std::move(spin);
    ApplySpinBorder();
    if (disabled) EnableWindow(state_.spin->m_hWnd, FALSE);
    ApplySpinRange();
    state_.spin->PlaceBeside(m_hWnd);
}

// ---- messages ----

LRESULT EditBoxUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The control never sees a drop, so held text need not reach it first.
    if (message == WM_DROPFILES) return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    // The text is the run's: the user reads, selects, copies and scrolls, and
    // what would edit it is refused, whether the user's keys or another
    // program's WM_SETTEXT or EM_REPLACESEL.
    const bool changeFromElsewhere = state_.text.ChangeFromElsewhere(message);
    if (TextBelongsToRun()) {
        if (EditsText(message, wParam) || changeFromElsewhere) {
            MessageBeep(MB_OK);
            return 0;
        }
        if (message == WM_CONTEXTMENU) return OnContextMenuDuringRun(wParam, lParam);
    }
    // Text held back reaches the control before anything there could see it.
    state_.text.BeforeMessage(message);
    switch (message) {
    case WM_CHAR:
        // Refused characters are dropped without a sound.
        if (!AcceptsCharacter(state_.fields.inputMode, static_cast<uint32_t>(wParam))) return 0;
        break;
    case WM_NCCALCSIZE:
        if (IsSingleLine()) return OnNcCalcSize(message, wParam, lParam);
        break;
    case WM_NCHITTEST:
        if (IsSingleLine()) return OnNcHitTest(message, wParam, lParam);
        break;
    case WM_NCPAINT:
        if (IsSingleLine()) return OnNcPaint(message, wParam, lParam);
        break;
    case WM_ERASEBKGND:
        if (IsSingleLine()) return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        break;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
        OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return answer;
    }
    case WM_SHOWWINDOW:
        // Also for a box whose parent is hidden, where no position change follows.
        if (lParam == 0 && state_.spin != nullptr) state_.spin->FollowVisibility(wParam != 0);
        break;
    case UM_DPI_CHANGED:
        ApplyFont();
        return 0;
    case UM_UNITS_CREATED:
        // The runtime has put the box into its container and ordered it among
        // its siblings, which moves no window and so reports nothing.
        if (state_.spin != nullptr) state_.spin->PlaceBeside(m_hWnd);
        break;
    case WM_ENABLE:
        if (state_.spin != nullptr && state_.spin->m_hWnd != nullptr) EnableWindow(state_.spin->m_hWnd, wParam != 0);
        break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_REFLECT_BASE + WM_COMMAND: return OnReflectedCommand(message, wParam, lParam);
    case WM_REFLECT_BASE + WM_CTLCOLOREDIT:
    case WM_REFLECT_BASE + WM_CTLCOLORSTATIC:  // read-only and disabled boxes ask with this one
        return OnControlColor(reinterpret_cast<HDC>(wParam));
    default: break;
    }
    return UnitObject::WindowProc(message, wParam, lParam);
}

// A run's handler has read or written the text: from then on until the run
// ends (its output all in the box) the text is the run's. A box the run
// leaves alone stays the user's.
void EditBoxUnit::NoteTextUsedByRun() {
    if (RunUnderWay(WindowId())) state_.runOfText = RunNumber();
}

bool EditBoxUnit::TextBelongsToRun() const {
    return (state_.runOfText != 0 && state_.runOfText == RunNumber() && RunUnderWay(WindowId())) ||
           state_.text.HeldBytes() > 0;
}

// The menu shows with its edit commands greyed out: only copying and
// selecting are left, so it acts on what the box shows, as a click does.
LRESULT EditBoxUnit::OnContextMenuDuringRun(WPARAM wParam, LPARAM lParam) {
    state_.text.BeforeMessage(WM_COPY);
    const bool readOnly = (GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0;
    HWND self = m_hWnd;
    if (!readOnly) SendMessageW(self, EM_SETREADONLY, TRUE, 0);
    const LRESULT answer = UnitObject::WindowProc(WM_CONTEXTMENU, wParam, lParam);
    if (!readOnly && IsWindow(self)) SendMessageW(self, EM_SETREADONLY, FALSE, 0);
    return answer;
}

// The client area shrinks to one line of text, centred in the box.
LRESULT EditBoxUnit::OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
    auto* client = reinterpret_cast<RECT*>(lParam);  // the first rectangle of NCCALCSIZE_PARAMS too
    const LONG height = client->bottom - client->top;
    if (state_.letterHeight > 0 && state_.letterHeight < height) {
        client->top += (height - state_.letterHeight) / 2;
        client->bottom = client->top + state_.letterHeight;
    }
    return answer;
}

LRESULT EditBoxUnit::OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = UnitObject::WindowProc(message, wParam, lParam);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(m_hWnd, &client);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return PtInRect(&client, at) ? answer : HTBORDER;
}

// The band around the client line takes the background colour; the frame is
// drawn over it as usual.
LRESULT EditBoxUnit::OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam) {
    HDC dc = GetWindowDC(m_hWnd);
    if (dc != nullptr) {
        RECT window, client;
        GetWindowRect(m_hWnd, &window);
        GetClientRect(m_hWnd, &client);
        MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -window.left, -window.top);
        OffsetRect(&window, -window.left, -window.top);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        FillRect(dc, &window, state_.background.Handle());
        ReleaseDC(m_hWnd, dc);
    }
    return UnitObject::WindowProc(message, wParam, lParam);
}

LRESULT EditBoxUnit::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    FillRect(dc, &client, state_.background.Handle());
    return 1;
}

LRESULT EditBoxUnit::OnControlColor(HDC dc) {
    SetTextColor(dc, ColorOf(state_.fields.textColor));
    SetBkColor(dc, ColorOf(state_.fields.backColor));
    return reinterpret_cast<LRESULT>(state_.background.Handle());
}

LRESULT EditBoxUnit::OnReflectedCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (HIWORD(wParam)) {
    case EN_CHANGE:
        state_.text.NoteControlChanged();
        // Held text was reported when it was appended.
        if (!state_.changeGuard && !state_.text.HandingOver()) RaiseContentChanged();
        return 0;
    case EN_KILLFOCUS:
        // LostFocus follows once the control has left the focus (UnitObject).
        NormaliseOnFocusLoss();
        return 0;
    default:
        return UnitObject::WindowProc(message, wParam, lParam);  // the parent's to handle
    }
}

// Moved, sized, re-parented, re-ordered, shown or hidden: the spin adjuster follows.
void EditBoxUnit::OnWindowPosChanged(const WINDOWPOS& position) {
    if (state_.spin == nullptr) return;
    state_.spin->PlaceBeside(m_hWnd);
    if ((position.flags & SWP_SHOWWINDOW) != 0) state_.spin->FollowVisibility(true);
    if ((position.flags & SWP_HIDEWINDOW) != 0) state_.spin->FollowVisibility(false);
}

void EditBoxUnit::OnDestroy() {
    state_.text.Detach();
    if (state_.spin != nullptr) state_.spin->DestroyWindow();
}

// Only the first file of a drop: the box holds one text. The path crosses in
// UTF-16 and through the converter, so a name with characters GBK lacks
// still names the file.
LRESULT EditBoxUnit::OnDropFiles(HDROP drop) {
    const UINT units = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units) + 1, L'\0');
    const UINT copied = units > 0 ? DragQueryFileW(drop, 0, wide.data(), units + 1) : 0;
    DragFinish(drop);
    if (copied == 0) return 0;
    char* path = CopyText(TextFromWide(wide.data(), copied).c_str());
    // The handler may close the window, and this object goes with it.
    RaiseEvent(EditBoxEvent::FileDropped, {Word(path)});
    FreeBlock(path);
    return 0;
}

// ---- the text ----

void EditBoxUnit::SetTextGuarded(const char* text) {
    state_.changeGuard = true;
    state_.text.Set(text);
    state_.changeGuard = false;
}

// Single-line and multi-line boxes alike: one ContentChanged per write, even
// when the text stays the same.
void EditBoxUnit::WriteContent(const char* text) {
    NoteTextUsedByRun();
    SetTextGuarded(text);
    RaiseContentChanged();
}

void EditBoxUnit::RaiseContentChanged() { RaiseEvent(EditBoxEvent::ContentChanged); }

// Only a text that changes is replaced, with the caret back where the selection
// started. ContentChanged is raised here, once, since a multi-line control does
// not report a new window text.
void EditBoxUnit::NormaliseOnFocusLoss() {
    const int32_t mode = state_.fields.inputMode;
    if (!NormalisesOnFocusLoss(mode)) return;
    const std::string current = state_.text.Text();
    const std::string normal = NormalisedText(mode, current);
    if (normal == current) return;
    const int32_t start = state_.text.Selection().start;
    SetTextGuarded(normal.c_str());
    state_.text.Select(start, 0);
    RaiseContentChanged();
}

// Text that waits on this side is reported as the control reports an
// insertion: once, at once. Whether the window survived is asked only when a
// handler may have run.
bool EditBoxUnit::AppendText(const char* text) {
    NoteTextUsedByRun();
    HWND self = m_hWnd;
    if (state_.text.Append(text)) return !RaiseUnitEventCalledHandler(WindowId(), UnitIdOf(), EditBoxEvent::ContentChanged) || IsWindow(self);
    return IsWindow(self);
}

// A multi-line control keeps every byte it is given, unless a length limit
// cuts the text or a case conversion changes it.
bool EditBoxUnit::ControlKeepsText() const {
    const EditBoxFields& f = state_.fields;
    return f.multiLine != 0 && f.maxLength == 0 && f.caseConversion == 0;
}

void EditBoxUnit::SpinStep(int32_t delta) {
    if (state_.spin == nullptr || delta == 0 || !IsWindowEnabled(m_hWnd) || !IsWindowVisible(m_hWnd)) return;
    if (!state_.spin->Automatic()) {
        RaiseEvent(EditBoxEvent::SpinAdjusted, {delta > 0 ? 1u : static_cast<uint32_t>(-1)});
        return;
    }
    int lower = 0, upper = 0;
    state_.spin->GetRange32(lower, upper);
    const int64_t value = SteppedValue(LeadingInteger(state_.text.Text()), delta, lower, upper);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
    // The control's own change notification raises ContentChanged (a spin
    // adjuster belongs to single-line boxes only). Its handler may close the
    // window, and this object goes with it.
    HWND self = m_hWnd;
    state_.text.Set(digits);
    if (!IsWindow(self)) return;
    state_.text.Select(0, state_.text.Length());
    SetFocus(m_hWnd);
}

EditBoxUnit* EditBoxUnit::CreateUnit(const void* data, int32_t length, const UnitPlacement& placement) {
    EditBoxData stored;
    if (!ReadEditBoxData(data, length, &stored)) return nullptr;
    auto* unit = new EditBoxUnit(placement.windowId, placement.unitId, stored);
    if (!unit->Create(stored.content, placement.extraStyle, placement.parent, placement.controlId, placement.area)) {
        delete unit;
        return nullptr;
    }
    return unit;
}

}  // namespace quillet
