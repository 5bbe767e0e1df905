#include "runtime/units/button/button_unit.h"

#include <iterator>
#include <memory>
#include <span>

#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/picture.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_shape.h"
#include "runtime/units/window_style.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

// By HAlign and VAlign 0..2.
constexpr DWORD HorizontalBits[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr DWORD VerticalBits[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
constexpr DWORD HorizontalMask = BS_LEFT | BS_RIGHT | BS_CENTER;
constexpr DWORD VerticalMask = BS_TOP | BS_BOTTOM | BS_VCENTER;

// The control's type lies in the low bits of its style.
constexpr DWORD ButtonTypeBits = 0x1F;

int32_t Number(const PropertyValue& value) { return static_cast<int32_t>(value.first); }

DWORD CreationStyle(const ButtonData& data, uint32_t extraStyle) {
    DWORD style = extraStyle | WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE;
    style |= HorizontalBits[data.hAlign] | VerticalBits[data.vAlign];
    if (data.kind == ButtonKind::PushButton) {
        style |= data.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    } else {
        style |= BS_AUTOCHECKBOX;
        if (data.pushLike != 0) style |= BS_PUSHLIKE;
        if (data.flat != 0) style |= BS_FLAT;
        if (data.textOnLeft != 0) style |= BS_LEFTTEXT;
    }
    return style;
}

// Each kind's own properties, by own index.
constexpr ButtonField PushButtonFields[] = {
    ButtonField::Picture, ButtonField::ButtonType, ButtonField::Caption,
    ButtonField::HAlign,  ButtonField::VAlign,     ButtonField::Font,
};
static_assert(std::size(PushButtonFields) == std::size(ButtonOwnProperties), "one field per own property");

constexpr ButtonField CheckBoxFields[] = {
    ButtonField::Picture,   ButtonField::PushLike,  ButtonField::Flat,       ButtonField::Caption,
    ButtonField::TextOnLeft, ButtonField::HAlign,   ButtonField::VAlign,     ButtonField::TextColor,
    ButtonField::BackColor, ButtonField::Font,      ButtonField::Checked,    ButtonField::DataSource,
    ButtonField::DataColumn,
};
static_assert(std::size(CheckBoxFields) == std::size(CheckBoxOwnProperties), "one field per own property");

std::span<const ButtonField> FieldsOf(ButtonKind kind) {
    if (kind == ButtonKind::PushButton) return PushButtonFields;
    return CheckBoxFields;
}

std::span<const OwnProperty> OwnPropertiesOf(ButtonKind kind) {
    if (kind == ButtonKind::PushButton) return ButtonOwnProperties;
    return CheckBoxOwnProperties;
}

bool IsOwnIndex(std::span<const ButtonField> fields, int32_t ownIndex) {
    return ownIndex >= 0 && ownIndex < static_cast<int32_t>(fields.size());
}

}  // namespace

ButtonUnit::ButtonUnit(const ButtonData& data, UnitId windowId, UnitId unitId)
    : UnitObject(windowId, unitId), data_(data) {}

ButtonUnit::~ButtonUnit() {
    if (image_ == nullptr) return;
    if (imageType_ == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(image_));
    else
        DeleteObject(image_);
}

ButtonUnit* ButtonUnit::CreateOfKind(ButtonKind kind, const void* data, int32_t length,
                                     const UnitPlacement& placement) {
    ButtonData read;
    if (!ReadButtonData(kind, data, length, &read)) return nullptr;
    auto* unit = new ButtonUnit(read, placement.windowId, placement.unitId);
    if (!unit->MakeWindow(placement)) {
        delete unit;  // a failed creation leaves the object to its creator
        return nullptr;
    }
    return unit;
}

bool ButtonUnit::MakeWindow(const UnitPlacement& placement) {
    if (data_.kind == ButtonKind::CheckBox) background_.Make(ColorOf(data_.backColor));
    DWORD style = CreationStyle(data_, placement.extraStyle);
    MakeImage(&style);
    if (!CButton::Create(WideArgument(data_.caption).Get(), style, placement.area, placement.parent, placement.controlId))
        return false;
    font_.Make(data_.font, WindowDpi(WindowId()), m_hWnd);
    if (image_ != nullptr) SetImage(imageType_, image_);
    if (data_.kind == ButtonKind::CheckBox) SetCheck(data_.checked == 1 ? BST_CHECKED : BST_UNCHECKED);
    return true;
}

// The picture rendered against the colour behind the control. A picture that
// cannot be decoded or rendered is dropped, and the caption shows instead.
void ButtonUnit::MakeImage(DWORD* style) {
    if (data_.picture.empty()) return;
    const std::unique_ptr<Picture> picture =
        DecodePicture(data_.picture.data(), static_cast<uint32_t>(data_.picture.size()));
    if (picture != nullptr) {
        const COLORREF background =
            data_.kind == ButtonKind::CheckBox ? ColorOf(data_.backColor) : GetSysColor(COLOR_BTNFACE);
        const SIZE size = picture->Size();
        imageType_ = picture->IsIcon() ? IMAGE_ICON : IMAGE_BITMAP;
        image_ = imageType_ == IMAGE_ICON
                     ? static_cast<HANDLE>(picture->ToIcon(background, size.cx, size.cy))
                     : static_cast<HANDLE>(picture->ToBitmap(background, size.cx, size.cy));
    }
    if (image_ == nullptr) {
        data_.picture.clear();
        return;
    }
    *style |= imageType_ == IMAGE_ICON ? BS_ICON : BS_BITMAP;
}

LRESULT ButtonUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_BASE + WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) return OnClicked();
        break;
    case UM_DPI_CHANGED: font_.Make(data_.font, static_cast<int32_t>(wParam), m_hWnd); return 0;
    case WM_REFLECT_BASE + WM_CTLCOLORSTATIC:
    case WM_REFLECT_BASE + WM_CTLCOLORBTN:
        // The push button paints with the system colours: its parent answers.
        if (data_.kind == ButtonKind::CheckBox) return OnColor(reinterpret_cast<HDC>(wParam));
        break;
    default: break;
    }
    return UnitObject::WindowProc(message, wParam, lParam);
}

LRESULT ButtonUnit::OnClicked() {
    // The handler may destroy the unit: nothing of it is touched afterwards.
    RaiseEvent(0);
    return 0;
}

LRESULT ButtonUnit::OnColor(HDC dc) {
    SetTextColor(dc, data_.textColor);
    SetBkColor(dc, ColorOf(data_.backColor));
    return reinterpret_cast<LRESULT>(background_.Handle());
}

AfterWrite ButtonUnit::SetProperty(int32_t ownIndex, const PropertyValue& value) {
    const std::span<const ButtonField> fields = FieldsOf(data_.kind);
    if (!IsOwnIndex(fields, ownIndex)) return AfterWrite::Done;
    PropertyValue written = value;
    const int32_t lastChoice = LastChoiceOf(OwnPropertiesOf(data_.kind), ownIndex);
    if (lastChoice >= 0) written.first = static_cast<uint32_t>(ClampPick(static_cast<int32_t>(written.first), lastChoice));
    return WriteField(fields[static_cast<size_t>(ownIndex)], written);
}

int32_t ButtonUnit::GetProperty(int32_t ownIndex, PropertyValue* value) {
    const std::span<const ButtonField> fields = FieldsOf(data_.kind);
    if (!IsOwnIndex(fields, ownIndex)) return 0;
    ReadField(fields[static_cast<size_t>(ownIndex)], value);
    return 1;
}

AfterWrite ButtonUnit::WriteField(ButtonField field, const PropertyValue& value) {
    switch (field) {
    case ButtonField::Picture:
        data_.picture = BytesFromValue(value);
        return AfterWrite::RebuildWindow;
    case ButtonField::ButtonType:
        data_.buttonType = Number(value);
        SetStyleBits(BS_DEFPUSHBUTTON, data_.buttonType == 1);
        break;
    case ButtonField::Caption: SetCaption(TextFromValue(value)); break;
    case ButtonField::HAlign:
        data_.hAlign = Number(value);
        SetAlignment(HorizontalMask, HorizontalBits[data_.hAlign]);
        break;
    case ButtonField::VAlign:
        data_.vAlign = Number(value);
        SetAlignment(VerticalMask, VerticalBits[data_.vAlign]);
        break;
    case ButtonField::Font:
        data_.font = BytesFromValue(value);
        font_.Make(data_.font, WindowDpi(WindowId()), m_hWnd);
        break;
    case ButtonField::PushLike:
        data_.pushLike = Number(value);
        SetStyleBits(BS_PUSHLIKE, data_.pushLike != 0);
        break;
    case ButtonField::Flat:
        data_.flat = Number(value);
        SetStyleBits(BS_FLAT, data_.flat != 0);
        break;
    case ButtonField::TextOnLeft:
        data_.textOnLeft = Number(value);
        SetStyleBits(BS_LEFTTEXT, data_.textOnLeft != 0);
        break;
    case ButtonField::TextColor:
        data_.textColor = value.first;
        Repaint();
        break;
    case ButtonField::BackColor:
        data_.backColor = value.first;
        background_.Make(ColorOf(data_.backColor));
        Repaint();
        break;
    case ButtonField::Checked:
        // Only 1 sets the mark; the control reports no click for it.
        data_.checked = Number(value);
        SetCheck(data_.checked == 1 ? BST_CHECKED : BST_UNCHECKED);
        break;
    case ButtonField::DataSource: data_.dataSource = TextFromValue(value); break;
    case ButtonField::DataColumn: data_.dataColumn = TextFromValue(value); break;
    }
    return AfterWrite::Done;
}

void ButtonUnit::ReadField(ButtonField field, PropertyValue* value) {
    auto number = [value](int32_t n) { value->first = static_cast<uint32_t>(n); };
    auto text = [value](const std::string& t) {
        *value = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(t.c_str())), static_cast<uint32_t>(t.size())};
    };
    switch (field) {
    case ButtonField::Picture: *value = BytesValue(data_.picture); break;
    case ButtonField::ButtonType: number(data_.buttonType); break;
    case ButtonField::Caption: text(data_.caption); break;
    case ButtonField::HAlign: number(data_.hAlign); break;
    case ButtonField::VAlign: number(data_.vAlign); break;
    case ButtonField::Font: *value = BytesValue(data_.font); break;
    case ButtonField::PushLike: number(data_.pushLike); break;
    case ButtonField::Flat: number(data_.flat); break;
    case ButtonField::TextOnLeft: number(data_.textOnLeft); break;
    case ButtonField::TextColor: value->first = data_.textColor; break;
    case ButtonField::BackColor: value->first = data_.backColor; break;
    case ButtonField::Checked:
        // The user may have changed the mark since it was written.
        data_.checked = CurrentCheck();
        number(data_.checked);
        break;
    case ButtonField::DataSource: text(data_.dataSource); break;
    case ButtonField::DataColumn: text(data_.dataColumn); break;
    }
}

bool ButtonUnit::IsDefaultButton() const {
    return (static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)) & ButtonTypeBits) == BS_DEFPUSHBUTTON;
}

void ButtonUnit::WritePropertyData(PropertyDataWriter& writer) {
    if (data_.kind == ButtonKind::PushButton) {
        WriteButtonData(data_, writer);
        return;
    }
    ButtonData current = data_;
    current.checked = CurrentCheck();  // a rebuilt check box keeps the mark the user left
    WriteButtonData(current, writer);
}

int32_t ButtonUnit::CurrentCheck() const {
    return m_hWnd != nullptr ? GetCheck() : data_.checked;
}

void ButtonUnit::SetStyleBits(DWORD bits, bool on) {
    ChangeWindowStyle(m_hWnd, bits, on ? bits : 0);
    Repaint();
}

void ButtonUnit::SetAlignment(DWORD mask, DWORD bits) {
    ChangeWindowStyle(m_hWnd, mask, bits);
    Repaint();
}

void ButtonUnit::SetCaption(const std::string& caption) {
    data_.caption = caption;
    WriteWindowText(m_hWnd, caption);
}

void ButtonUnit::Repaint() { InvalidateRect(m_hWnd, nullptr, TRUE); }

int32_t IsDefaultButtonUnit(void* unit) {
    return unit != nullptr && AsUnit<ButtonUnit>(unit)->IsDefaultButton() ? 1 : 0;
}

}  // namespace quillet
