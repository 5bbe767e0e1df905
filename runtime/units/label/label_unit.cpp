#include "runtime/units/label/label_unit.h"

#include <algorithm>

#include "runtime/units/label/label_type.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/window_class.h"
#include "runtime/units/window_style.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

uint32_t TextWord(const std::string& text) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str()));
}

}  // namespace

LabelUnit::LabelUnit(const LabelData& data, UnitId windowId, UnitId unitId)
    : UnitObject(windowId, unitId), data_(data) {}

LabelUnit* LabelUnit::CreateUnit(const void* data, int32_t length, const UnitPlacement& placement) {
    LabelData read;
    if (!ReadLabelData(data, length, &read) || !RegisterPlainWindowClass(LabelClassName, UnitClassStyle))
        return nullptr;
    auto* unit = new LabelUnit(read, placement.windowId, placement.unitId);
    const RECT& area = placement.area;
    if (!unit->CreateEx(0, LabelClassName, WideArgument(read.caption).Get(),
                        placement.extraStyle | WS_CHILD | WS_CLIPSIBLINGS, area.left, area.top,
                        area.right - area.left, area.bottom - area.top, placement.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(placement.controlId)))) {
        delete unit;  // a failed creation leaves the object to its creator
        return nullptr;
    }
    unit->font_.Make(read.font, WindowDpi(placement.windowId));
    ApplyBorderStyle(unit->m_hWnd, read.borderStyle);
    return unit;
}

LRESULT LabelUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam)); return 0;
    case UM_LABEL_RELAY: return OnRelay(wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.Handle());  // what the caption is drawn with
    case UM_DPI_CHANGED:
        font_.Make(data_.font, static_cast<int32_t>(wParam));
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    default: return UnitObject::WindowProc(message, wParam, lParam);
    }
}

LRESULT LabelUnit::OnRelay(WPARAM wParam, LPARAM lParam) {
    uint32_t result = 0;
    if (!RaiseEvent(0, {static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)}, &result)) return 0;
    return static_cast<LRESULT>(result);
}

void LabelUnit::OnPaint() {
    // BeginPaint validates the update area: take it first.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    const int updateKind = GetUpdateRgn(m_hWnd, update, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (dc != nullptr && updateKind != NULLREGION && updateKind != ERROR) Paint(dc, update);
    EndPaint(m_hWnd, &paint);
    DeleteObject(update);
}

void LabelUnit::OnPrintClient(HDC dc) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    HRGN whole = CreateRectRgnIndirect(&client);
    if (dc != nullptr) Paint(dc, whole);
    DeleteObject(whole);
}

AfterWrite LabelUnit::SetProperty(int32_t ownIndex, const PropertyValue& value) {
    int32_t number = static_cast<int32_t>(value.first);
    const int32_t lastChoice = LastChoiceOf(LabelOwnProperties, ownIndex);
    if (lastChoice >= 0) number = ClampPick(number, lastChoice);
    switch (ownIndex) {
    case LabelProperty::Caption:
        data_.caption = TextFromValue(value);
        WriteWindowText(m_hWnd, data_.caption);
        break;
    case LabelProperty::Effect: data_.effect = number; break;
    case LabelProperty::BorderStyle:
        data_.borderStyle = number;
        ApplyBorderStyle(m_hWnd, number);
        break;
    case LabelProperty::BorderWidth: data_.borderWidth = std::max(number, LeastBorderWidth); break;
    case LabelProperty::BorderColor1: data_.borderColors[0] = value.first; break;
    case LabelProperty::BorderColor2: data_.borderColors[1] = value.first; break;
    case LabelProperty::BorderColor3: data_.borderColors[2] = value.first; break;
    case LabelProperty::Font:
        data_.font = BytesFromValue(value);
        font_.Make(data_.font, WindowDpi(WindowId()));
        break;
    case LabelProperty::TextColor: data_.textColor = value.first; break;
    case LabelProperty::BackColor: data_.backColor = value.first; break;
    case LabelProperty::BackPicture:
        data_.backPicture = BytesFromValue(value);
        picture_.reset();
        break;
    case LabelProperty::PictureMode: data_.pictureMode = number; break;
    case LabelProperty::GradientMode: data_.gradientMode = number; break;
    case LabelProperty::GradientColor1: data_.gradientColors[0] = value.first; break;
    case LabelProperty::GradientColor2: data_.gradientColors[1] = value.first; break;
    case LabelProperty::GradientColor3: data_.gradientColors[2] = value.first; break;
    case LabelProperty::HAlign: data_.hAlign = number; break;
    case LabelProperty::WordWrap: data_.wordWrap = number; break;
    case LabelProperty::VAlign: data_.vAlign = number; break;
    case LabelProperty::DataSource: data_.dataSource = TextFromValue(value); break;
    case LabelProperty::DataColumn: data_.dataColumn = TextFromValue(value); break;
    default: return AfterWrite::Done;
    }
    // Everything is painted anew over what is there: no erasing, no flicker.
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return AfterWrite::Done;
}

int32_t LabelUnit::GetProperty(int32_t ownIndex, PropertyValue* value) {
    auto word = [value](uint32_t w) { value->first = w; };
    auto number = [value](int32_t n) { value->first = static_cast<uint32_t>(n); };
    auto text = [value](const std::string& t) { *value = {TextWord(t), static_cast<uint32_t>(t.size())}; };
    switch (ownIndex) {
    case LabelProperty::Caption: text(data_.caption); break;
    case LabelProperty::Effect: number(data_.effect); break;
    case LabelProperty::BorderStyle: number(data_.borderStyle); break;
    case LabelProperty::BorderWidth: number(data_.borderWidth); break;
    case LabelProperty::BorderColor1: word(data_.borderColors[0]); break;
    case LabelProperty::BorderColor2: word(data_.borderColors[1]); break;
    case LabelProperty::BorderColor3: word(data_.borderColors[2]); break;
    case LabelProperty::Font: *value = BytesValue(data_.font); break;
    case LabelProperty::TextColor: word(data_.textColor); break;
    case LabelProperty::BackColor: word(data_.backColor); break;
    case LabelProperty::BackPicture: *value = BytesValue(data_.backPicture); break;
    case LabelProperty::PictureMode: number(data_.pictureMode); break;
    case LabelProperty::GradientMode: number(data_.gradientMode); break;
    case LabelProperty::GradientColor1: word(data_.gradientColors[0]); break;
    case LabelProperty::GradientColor2: word(data_.gradientColors[1]); break;
    case LabelProperty::GradientColor3: word(data_.gradientColors[2]); break;
    case LabelProperty::HAlign: number(data_.hAlign); break;
    case LabelProperty::WordWrap: number(data_.wordWrap); break;
    case LabelProperty::VAlign: number(data_.vAlign); break;
    case LabelProperty::DataSource: text(data_.dataSource); break;
    case LabelProperty::DataColumn: text(data_.dataColumn); break;
    default: return 0;
    }
    return 1;
}

void LabelUnit::WritePropertyData(PropertyDataWriter& writer) { WriteLabelData(data_, writer); }

}  // namespace quillet
