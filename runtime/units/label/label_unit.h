#pragma once
// The label unit object: a window of class _VL_Label that paints itself
// completely (background colour, picture or gradient, gradient frame, caption
// with its effect) and relays message 0x8075 to its event 0.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/wnd.h"
#include "runtime/units/label/label_data.h"
#include "runtime/units/picture.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/unit_object.h"

namespace quillet {

inline constexpr wchar_t LabelClassName[] = L"_VL_Label";

// Sent to a label by other code (a worker thread, say) to run its event-0
// handler on the label's thread: wParam and lParam are the two arguments, and
// the answer is the handler's value (0 when it returned none).
constexpr UINT UM_LABEL_RELAY = 0x8075;

class LabelUnit final : public UnitObject<CWnd>, public PropertyDataSource {
public:
    // A label from PropertyData; null when the data is refused or no window can be made.
    static LabelUnit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement);

    // Own properties by own index (pick values are clamped to their range).
    // No write needs the window made again: SetProperty always answers 0.
    // GetProperty answers 1 for a known index.
    AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
    int32_t GetProperty(int32_t ownIndex, PropertyValue* value);
    void WritePropertyData(PropertyDataWriter& writer) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LabelUnit(const LabelData& data, UnitId windowId, UnitId unitId);

    LRESULT OnRelay(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnPrintClient(HDC dc);

    // Painting (label_paint.cpp). update: the area to paint, client coordinates.
    void Paint(HDC dc, HRGN update);
    bool PaintGradientFrame(HDC dc, const RECT& client);
    bool PaintBackPicture(HDC dc, const RECT& area, HRGN background);
    bool PaintGradientBackground(HDC dc, const RECT& area);
    void PaintCaption(HDC dc, const RECT& area);
    const Picture* BackPicture();

    LabelData data_;                   // the properties as last written
    UnitFont font_;                    // made from data_.font
    std::unique_ptr<Picture> picture_; // data_.backPicture decoded at the first painting; null before
};

}  // namespace quillet
