#pragma once
// The unit object of the button and the check box: the BUTTON control with the
// unit's properties, its font, picture and (check box) background brush. A click
// (BN_CLICKED: mouse, space bar) raises event 0.
#include <windows.h>

#include <cstdint>

#include "framework/button.h"
#include "runtime/units/button/button_data.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/unit_object.h"

namespace quillet {

class ButtonUnit final : public UnitObject<CButton>, public PropertyDataSource {
public:
    // A unit of the kind from PropertyData; null when the data is refused or
    // the control cannot be made.
    template <ButtonKind Kind>
    static ButtonUnit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement) {
        return CreateOfKind(Kind, data, length, placement);
    }

    // Own properties by the kind's own indexes (pick values are clamped to
    // their range). SetProperty answers 1 when the window must be made again
    // from the saved properties, GetProperty 1 for a known index.
    AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
    int32_t GetProperty(int32_t ownIndex, PropertyValue* value);
    bool IsDefaultButton() const;
    void WritePropertyData(PropertyDataWriter& writer) override;

    ~ButtonUnit() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ButtonUnit(const ButtonData& data, UnitId windowId, UnitId unitId);

    static ButtonUnit* CreateOfKind(ButtonKind kind, const void* data, int32_t length, const UnitPlacement& placement);
    bool MakeWindow(const UnitPlacement& placement);
    AfterWrite WriteField(ButtonField field, const PropertyValue& value);
    void ReadField(ButtonField field, PropertyValue* value);
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

// Interface 10 of the push button: 1 when the unit is the default button.
int32_t IsDefaultButtonUnit(void* unit);

}  // namespace quillet
