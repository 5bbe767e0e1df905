#include "runtime/units/tab/tab_unit.h"

#include "runtime/events/tab_pages.h"
#include "runtime/template/window_table.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/units/window_class.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

void RegisterHeaderlessClass() {
    static bool registered = false;
    if (!registered) registered = RegisterPlainWindowClass(HeaderlessTabClass, UnitClassStyle);
}

}  // namespace

TabUnit::TabUnit(UnitId windowId, UnitId unitId, const TabData& data) : UnitObject(windowId, unitId), data_(data) {}

TabUnit* TabUnit::CreateUnit(const void* data, int32_t length, const UnitPlacement& placement) {
    TabData tabData;
    if (!ReadTabData(data, length, &tabData)) return nullptr;
    auto* unit = new TabUnit(placement.windowId, placement.unitId, tabData);
    if (!unit->Create(placement.extraStyle, placement.area, placement.parent, placement.controlId)) {
        delete unit;
        return nullptr;
    }
    return unit;
}

bool TabUnit::Create(uint32_t extraStyle, const RECT& area, HWND parent, uint32_t controlId) {
    headers_ = data_.hideTabs == 0;
    data_.currentPage = ClampPage(data_.currentPage, PageCount());
    if (headers_) {
        if (!CTabCtrl::Create(extraStyle | WS_CHILD | HeaderStyle(), area, parent, controlId)) return false;
    } else {
        RegisterHeaderlessClass();
        // A container that paints nothing is drawn after its siblings, so they show through it.
        const DWORD exStyle = data_.drawBackground != 0 ? 0 : WS_EX_TRANSPARENT;
        if (!CreateEx(exStyle, HeaderlessTabClass, L"", extraStyle | WS_CHILD | WS_CLIPSIBLINGS, area.left, area.top,
                      area.right - area.left, area.bottom - area.top, parent,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId))))
            return false;
    }
    font_.Make(data_.font, WindowDpi(WindowId()), m_hWnd);
    background_.Make(ColorOf(data_.backColor));
    if (headers_) {
        InsertHeaders();
        SetCurSel(data_.currentPage);
    }
    return true;
}

DWORD TabUnit::HeaderStyle() const {
    DWORD style = data_.multiLine != 0 ? TCS_MULTILINE : 0;
    switch (data_.tabPosition) {
    case TabSide::Bottom: return style | TCS_BOTTOM;
    case TabSide::Left: return style | TCS_VERTICAL;
    case TabSide::Right: return style | TCS_VERTICAL | TCS_RIGHT;
    default: return style;
    }
}

void TabUnit::InsertHeaders() {
    for (int32_t page = 0; page < PageCount(); ++page)
        InsertItem(page, WideArgument(data_.pages[static_cast<size_t>(page)]).Get());
}

void TabUnit::ChangeStyle(DWORD clear, DWORD set) {
    const DWORD old = static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE));
    const DWORD style = (old & ~clear) | set;
    if (style == old) return;
    SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

AfterWrite TabUnit::SetProperty(int32_t ownIndex, const PropertyValue& value) {
    const auto number = static_cast<int32_t>(value.first);
    switch (ownIndex) {
    case TabProperty::TabPosition: return WriteTabPosition(number);
    case TabProperty::MultiLine: WriteMultiLine(number); return AfterWrite::Done;
    case TabProperty::Font:
        data_.font = BytesFromValue(value);
        font_.Make(data_.font, WindowDpi(WindowId()), m_hWnd);
        return AfterWrite::Done;
    case TabProperty::Pages:
        // The headers are inserted when the window is made again.
        data_.pages = ReadPageListValue(reinterpret_cast<const void*>(static_cast<uintptr_t>(value.first)),
                                        value.second);
        return AfterWrite::RebuildWindow;
    case TabProperty::CurrentPage: WriteCurrentPage(number); return AfterWrite::Done;
    case TabProperty::HideTabs: data_.hideTabs = number != 0 ? 1 : 0; return AfterWrite::Done;
    case TabProperty::DrawBackground: WriteDrawBackground(number); return AfterWrite::Done;
    case TabProperty::BackColor:
        data_.backColor = value.first;
        background_.Make(ColorOf(data_.backColor));
        Repaint();
        return AfterWrite::Done;
    default: return AfterWrite::Done;
    }
}

int32_t TabUnit::GetProperty(int32_t ownIndex, PropertyValue* value) {
    switch (ownIndex) {
    case TabProperty::TabPosition: value->first = static_cast<uint32_t>(data_.tabPosition); return 1;
    case TabProperty::MultiLine: value->first = static_cast<uint32_t>(data_.multiLine); return 1;
    case TabProperty::Font: *value = BytesValue(data_.font); return 1;
    case TabProperty::Pages:
        pageList_ = WritePageList(data_.pages);
        *value = BytesValue(pageList_);
        return 1;
    case TabProperty::CurrentPage:
        value->first = static_cast<uint32_t>(headers_ ? GetCurSel() : data_.currentPage);
        return 1;
    case TabProperty::HideTabs: value->first = static_cast<uint32_t>(data_.hideTabs); return 1;
    case TabProperty::DrawBackground: value->first = static_cast<uint32_t>(data_.drawBackground); return 1;
    case TabProperty::BackColor: value->first = data_.backColor; return 1;
    default: return 0;
    }
}

void TabUnit::WritePropertyData(PropertyDataWriter& writer) {
    TabData data = data_;
    if (headers_ && GetCurSel() >= 0) data.currentPage = GetCurSel();
    WriteTabData(data, writer);
}

// Bottom after left must not leave the vertical bit (that would be the right
// side); the right side is taken only by a control made with it. The left side
// sets TCS_MULTILINE with TCS_VERTICAL: the control works with side headers
// only in rows (TCS_VERTICAL is valid only with TCS_MULTILINE, and a control
// made with TCS_VERTICAL adds it itself). At the top or bottom the headers wrap
// as MultiLine says.
AfterWrite TabUnit::WriteTabPosition(int32_t value) {
    data_.tabPosition = ClampPick(value, LastChoiceOf(TabOwnProperties, TabProperty::TabPosition));
    if (!headers_) return AfterWrite::Done;
    const DWORD rows = data_.multiLine != 0 ? TCS_MULTILINE : 0;
    switch (data_.tabPosition) {
    case TabSide::Top: ChangeStyle(TCS_VERTICAL | TCS_BOTTOM | TCS_MULTILINE, rows); return AfterWrite::Done;
    case TabSide::Bottom: ChangeStyle(TCS_VERTICAL | TCS_MULTILINE, TCS_BOTTOM | rows); return AfterWrite::Done;
    case TabSide::Left: ChangeStyle(TCS_RIGHT, TCS_VERTICAL | TCS_MULTILINE); return AfterWrite::Done;
    default: {
        const DWORD right = TCS_VERTICAL | TCS_RIGHT;
        return (static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)) & right) == right ? AfterWrite::Done
                                                                                     : AfterWrite::RebuildWindow;
    }
    }
}

void TabUnit::WriteMultiLine(int32_t value) {
    data_.multiLine = value != 0 ? 1 : 0;
    const bool atSide = (GetWindowLongW(m_hWnd, GWL_STYLE) & TCS_VERTICAL) != 0;
    if (headers_ && !atSide)
        ChangeStyle(data_.multiLine != 0 ? 0 : TCS_MULTILINE, data_.multiLine != 0 ? TCS_MULTILINE : 0);
}

void TabUnit::WriteCurrentPage(int32_t value) {
    data_.currentPage = ClampPage(value, PageCount());
    if (headers_) SetCurSel(data_.currentPage);
    ShowCurrentPage();
}

void TabUnit::WriteDrawBackground(int32_t value) {
    data_.drawBackground = value != 0 ? 1 : 0;
    if (!headers_) {
        // The container becomes what it would have been made as.
        const LONG exStyle = GetWindowLongW(m_hWnd, GWL_EXSTYLE);
        SetWindowLongW(m_hWnd, GWL_EXSTYLE,
                       data_.drawBackground != 0 ? exStyle & ~WS_EX_TRANSPARENT : exStyle | WS_EX_TRANSPARENT);
    }
    Repaint();
}

// Without headers the container may paint nothing: what lies behind it is
// painted again as well.
void TabUnit::Repaint() {
    HWND parent = GetParent(m_hWnd);
    if (headers_ || parent == nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    RECT area;
    GetWindowRect(m_hWnd, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// With headers the step asks the control for its page and gives the focus to
// the page's first unit (unless told to leave it); without, it takes the
// stored page, leaves the focus alone and has the parent repaint where hidden
// units were.
void TabUnit::ShowCurrentPage(bool moveFocus) {
    WindowTemplate* window = ProgramWindows().Find(WindowId());
    if (window == nullptr || window->working.IsEmpty()) return;
    const int32_t index = window->working.IndexOf(UnitIdOf());
    if (index <= 0 || window->working.RecordAt(index).Object() != static_cast<CWnd*>(this)) return;
    if (headers_) {
        ShowTabPage(*window, index, true, -1, moveFocus);
    } else {
        ShowTabPage(*window, index, true, data_.currentPage);
    }
}

// Whether this object still stands for the window self: a handler may close
// the window or have the tab made again, and then this object is gone.
bool TabUnit::StillLive(HWND self) const {
    return IsWindow(self) && CWnd::FromHandlePermanent(self) == this;
}

bool TabUnit::OnNotify(const NMHDR& header, LRESULT* answer) {
    switch (header.code) {
    case NM_CLICK:
        RaiseEvent(TabEvent::Click);
        *answer = 0;
        return true;
    case TCN_SELCHANGING: *answer = OnPageChanging(); return true;
    case TCN_SELCHANGE:
        OnPageChanged();
        *answer = 0;
        return true;
    default: return false;
    }
}

// TRUE refuses the change. A control that is gone by now must not go on
// changing pages either.
BOOL TabUnit::OnPageChanging() {
    HWND self = m_hWnd;
    const bool refused = HandlerRefused(WindowId(), UnitIdOf(), TabEvent::PageChanging);
    if (!StillLive(self)) return TRUE;
    if (refused) PostMessageW(self, UM_TAB_KEEP_PAGE, 0, 0);
    return refused ? TRUE : FALSE;
}

void TabUnit::OnPageChanged(bool moveFocus) {
    HWND self = m_hWnd;
    data_.currentPage = ClampPage(GetCurSel(), PageCount());
    RaiseEvent(TabEvent::PageChanged);
    if (StillLive(self)) ShowCurrentPage(moveFocus);
}

// A step from the window's keys changes the page through the same events as a
// click on a header; the focus is the window's to place. Without headers the
// pages change only when CurrentPage is written.
LRESULT TabUnit::OnStepPage(bool forward) {
    const int32_t count = PageCount();
    if (!headers_ || count < 2) return 0;
    const int32_t page = (ClampPage(GetCurSel(), count) + (forward ? 1 : count - 1)) % count;
    if (OnPageChanging() != FALSE) return 1;
    SetCurSel(page);
    OnPageChanged(false);
    return 1;
}

void TabUnit::OnKeepPage() {
    if (headers_ && GetCurSel() != data_.currentPage) SetCurSel(data_.currentPage);
}

LRESULT TabUnit::OnEraseBackground(HDC dc) {
    RECT box;
    GetClipBox(dc, &box);
    FillRect(dc, &box, background_.Handle());
    return TRUE;
}

LRESULT TabUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_BASE + WM_NOTIFY: {
        LRESULT answer = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), &answer)) return answer;
        break;
    }
    case UM_WINDOW_SHOWN: ShowCurrentPage(); return 0;
    case UM_TAB_KEEP_PAGE: OnKeepPage(); return 0;
    case UM_DPI_CHANGED: font_.Make(data_.font, static_cast<int32_t>(wParam), m_hWnd); return 0;
    case UM_STEP_PAGE: return OnStepPage(wParam != 0);
    case WM_ERASEBKGND:
        if (PaintsBackground()) return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        break;
    default: break;
    }
    return UnitObject::WindowProc(message, wParam, lParam);
}

}  // namespace quillet
