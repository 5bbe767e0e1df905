#pragma once
// The tab control unit: a SysTabControl32 with one header per page or, with
// HideTabs, a plain container of the class _VL_Tab whose page changes only when
// CurrentPage is written. Other units of the window lie on its pages (the tab's
// template record lists them); the runtime's page step (tab_pages.h) shows the
// units of the current page and hides the rest.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/tab_ctrl.h"
#include "runtime/units/property_data.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/unit_object.h"

namespace quillet {

// The tab control's own events.
namespace TabEvent {
constexpr int32_t Click = 0;         // a click on the headers (NM_CLICK)
constexpr int32_t PageChanging = 1;  // the user is leaving the page; a handler returning false refuses
constexpr int32_t PageChanged = 2;   // the user chose another page; its units are shown afterwards
}  // namespace TabEvent

inline constexpr wchar_t HeaderlessTabClass[] = L"_VL_Tab";

// Posted to the tab itself after a refused page change: the control's
// selection goes back to the page whose units are shown. (Wine's tab control
// moves the selection on a refused keyboard change all the same.)
constexpr UINT UM_TAB_KEEP_PAGE = 0x8066;

class TabUnit final : public UnitObject<CTabCtrl>, public PropertyDataSource {
public:
    TabUnit(UnitId windowId, UnitId unitId, const TabData& data);

    // A tab control from PropertyData; null when the data is refused or no
    // window can be made.
    static TabUnit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement);

    // Makes the window: with headers unless data.hideTabs. extraStyle holds the
    // runtime's bits (WS_DISABLED, WS_TABSTOP). False when no window was made.
    bool Create(uint32_t extraStyle, const RECT& area, HWND parent, uint32_t controlId);

    // Own properties by own index. SetProperty answers 1 when the window must be
    // made again from the saved properties; GetProperty 1 for a known index.
    AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
    int32_t GetProperty(int32_t ownIndex, PropertyValue* value);

    // The properties as they stand, the control's current page included.
    void WritePropertyData(PropertyDataWriter& writer) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int32_t PageCount() const { return static_cast<int32_t>(data_.pages.size()); }
    DWORD HeaderStyle() const;
    void InsertHeaders();
    void ChangeStyle(DWORD clear, DWORD set);
    AfterWrite WriteTabPosition(int32_t value);
    void WriteMultiLine(int32_t value);
    void WriteCurrentPage(int32_t value);
    void WriteDrawBackground(int32_t value);
    void Repaint();
    void ShowCurrentPage(bool moveFocus = true);
    bool StillLive(HWND self) const;

    // Messages.
    bool OnNotify(const NMHDR& header, LRESULT* answer);
    BOOL OnPageChanging();
    void OnPageChanged(bool moveFocus = true);
    LRESULT OnStepPage(bool forward);
    void OnKeepPage();
    bool PaintsBackground() const { return !headers_ && data_.drawBackground != 0; }
    LRESULT OnEraseBackground(HDC dc);

    TabData data_;              // the properties; currentPage is the page whose units are shown
    bool headers_ = true;       // the window is a SysTabControl32 (HideTabs was 0 when it was made)
    UnitFont font_;             // made from data_.font
    SolidBrush background_;     // without headers: made from data_.backColor
    std::string pageList_;      // the Pages bytes last read, kept until the runtime has copied them
};

}  // namespace quillet
