#pragma once
// The unit object of the button and the check box: the BUTTON control with the
// unit's properties, its font, picture and (check box) background brush. A click
// (BN_CLICKED: mouse, space bar) raises event 0.
#include <windows.h>

#include <cstdint>
#include <span>

#include "framework/button.h"
#include "runtime/units/button/button_data.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/unit_object.h"

namespace quillet {

// Where and for whom a unit is created: CreateUnit's arguments.
struct ButtonPlacement {
    uint32_t extraStyle;  // WS_DISABLED, WS_TABSTOP from the template
    HWND parent;
    uint32_t controlId;
    RECT area;            // in the parent's client coordinates
    UnitId windowId;
    UnitId unitId;
};

class ButtonUnit final : public UnitObject<CButton>, public PropertyDataSource {
public:
    // A unit from PropertyData; null when the data is refused or the control
    // cannot be made.
    static ButtonUnit* Create(ButtonKind kind, const void* data, int32_t length, const ButtonPlacement& placement);

    // 1 when the window must be made again from the saved properties.
    int32_t Write(ButtonField field, const PropertyValue& value);
    void Read(ButtonField field, PropertyValue* value);
    bool IsDefaultButton() const;
    void WritePropertyData(PropertyDataWriter& writer) override;

    ~ButtonUnit() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ButtonUnit(const ButtonData& data, UnitId windowId, UnitId unitId);

    bool MakeWindow(const ButtonPlacement& placement);
    void MakeImage(DWORD* style);
    LRESULT OnClicked();
    LRESULT OnColor(HDC dc);
    void SetStyleBits(DWORD bits, bool on);
    void SetAlignment(DWORD mask, DWORD bits);
    void SetCaption(const std::string& caption);
    void Repaint();
    int32_t CurrentCheck() const;

    ButtonData data_;                 // the properties as last written (Checked: as last written or read)
    UnitFont font_;                   // made from data_.font
    SolidBrush background_;           // check box: made from data_.backColor
    HANDLE image_ = nullptr;          // the rendered picture handed to the control; null for none
    UINT imageType_ = IMAGE_BITMAP;   // IMAGE_BITMAP or IMAGE_ICON, for its release
};

// The type operations both kinds share; `fields` maps a kind's own property
// indexes to the fields, `pickLimits` its pick properties to their last choices.
void* CreateButtonUnit(ButtonKind kind, const void* data, int32_t length, uint32_t extraStyle, void* parent,
                       uint32_t controlId, int32_t left, int32_t top, int32_t width, int32_t height,
                       UnitId windowId, UnitId unitId);
int32_t SetButtonUnitProperty(void* unit, std::span<const ButtonField> fields, std::span<const PickLimit> pickLimits,
                              int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord);
int32_t GetButtonUnitProperty(void* unit, std::span<const ButtonField> fields, int32_t ownIndex,
                              PropertyValue* value);
int32_t IsDefaultButtonUnit(void* unit);

}  // namespace quillet
