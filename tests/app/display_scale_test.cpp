// The window at 100 % to 200 %, as Windows tells a program that follows each
// display's scale (WM_DPICHANGED): every unit at its design place × DPI / 96,
// every caption inside its unit, and the program's sizes still in design
// pixels, so that its resize rules hold at any scale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>

#include "app/template_description.h"
#include "runtime/units/font_data.h"
#include "runtime/units/window_style.h"
#include "tests/app/tool_window.h"
#include "runtime/values/system_text.h"
#include "runtime/values/text_encoding.h"

namespace {

using namespace tool;
using quillet::app::WindowRecord;

struct Design {
    int32_t left, top, width, height;
    bool operator==(const Design&) const = default;
};

Design DesignOf(UnitId unit) {
    return {Int(unit, Property::Left), Int(unit, Property::Top), Int(unit, Property::Width),
            Int(unit, Property::Height)};
}

// The window moved to a display of that scale: Windows suggests the same size there.
void ChangeDpi(int32_t dpi) {
    RECT area;
    GetWindowRect(Handle(WindowRecord), &area);
    const Design design = DesignOf(WindowRecord);
    RECT suggested{area.left, area.top, area.left + MulDiv(design.width, dpi, 96),
                   area.top + MulDiv(design.height, dpi, 96)};
    SendMessageW(Handle(WindowRecord), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
}

// The room a caption takes in the unit's font, wrapped at `width`.
SIZE CaptionSize(HWND unit, const std::wstring& caption, int32_t width) {
    HDC dc = GetDC(unit);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(unit, WM_GETFONT, 0, 0)));
    RECT room{0, 0, width, 0};
    DrawTextW(dc, caption.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(unit, dc);
    return {room.right, room.bottom};
}

// Every caption of the page shown fits its unit (a check box keeps room for
// its box), and every tab header its page's name.
void ExpectCaptionsFit(int32_t dpi) {
    HWND tab = Handle(Unit::TabControl);
    for (int page = 0; page < static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)); ++page) {
        wchar_t name[64] = {};
        TCITEMW item{TCIF_TEXT, 0, 0, name, 64, 0, 0};
        RECT header{};
        SendMessageW(tab, TCM_GETITEMW, page, reinterpret_cast<LPARAM>(&item));
        SendMessageW(tab, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&header));
        EXPECT_LE(CaptionSize(tab, name, 1000).cx, header.right - header.left) << dpi << ": page " << page;
    }
    for (const quillet::RecordDescription& record : quillet::app::MainWindowDescription().records) {
        HWND unit = record.id == 0 ? nullptr : Handle(record.id);
        wchar_t kind[16] = {};
        if (unit == nullptr || !IsWindowVisible(unit) || !GetClassNameW(unit, kind, 16) || !lstrcmpW(kind, L"Edit"))
            continue;
        RECT client;
        GetClientRect(unit, &client);
        const bool checkBox = (GetWindowLongW(unit, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        const int32_t room = client.right - (checkBox ? MulDiv(16, dpi, 96) + 4 : 0);
        const std::string caption = quillet::ReadWindowText(unit);
        const SIZE taken = CaptionSize(unit, quillet::WideFromText(caption.c_str()), room);
        EXPECT_TRUE(taken.cx <= room && taken.cy <= client.bottom) << dpi << ": " << caption << " is cut";
    }
}

class DisplayScaleTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { ChangeDpi(quillet::ScreenPixelsPerInchY()); }
};

TEST_F(DisplayScaleTest, EveryUnitStandsAtItsDesignPlaceTimesTheScaleWithItsCaptionInside) {
    std::map<UnitId, Design> designed;
    for (const quillet::RecordDescription& record : quillet::app::MainWindowDescription().records)
        if (Handle(record.id) != nullptr) designed[record.id] = DesignOf(record.id);
    ASSERT_EQ(designed[WindowRecord].width, 800);
    ASSERT_EQ(designed[WindowRecord].height, 600);
    for (int32_t dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        ChangeDpi(dpi);
        const auto scaled = [dpi](LONG pixels, int32_t value) {
            return std::abs(pixels - MulDiv(value, dpi, 96)) <= 1;
        };
        for (const auto& [unit, design] : designed) {
            // The window stays where it was on the screen, whose pixels are not
            // scaled; every other place and every size is a design value.
            const Design now = DesignOf(unit);
            const bool window = unit == WindowRecord;
            EXPECT_TRUE(window ? now.width == design.width && now.height == design.height : now == design)
                << std::hex << unit << ": the program's sizes stay design sizes";
            const RECT area = quillet::PlacedRectangle(Handle(unit));
            EXPECT_TRUE(scaled(area.right - area.left, design.width) && scaled(area.bottom - area.top, design.height) &&
                        (window || (scaled(area.left, design.left) && scaled(area.top, design.top))))
                << std::hex << unit << std::dec << ": " << area.right - area.left << " x " << area.bottom - area.top
                << " at " << area.left << ", " << area.top;
        }
        for (int32_t page : {0, 1, 2}) {
            ShowPage(page);
            ExpectCaptionsFit(dpi);
        }
    }
}

// A resize at 150 % lays the units out by the same rules in design pixels.
TEST_F(DisplayScaleTest, TheResizeRulesHoldInDesignPixels) {
    ChangeDpi(144);
    SetInt(WindowRecord, Property::Width, 1000);
    SetInt(WindowRecord, Property::Height, 700);
    EXPECT_EQ(Int(Unit::MainBox, Property::Width), 1000 - 30);
    EXPECT_EQ(Int(Unit::MainBox, Property::Height), 700 - 172);
    EXPECT_EQ(Int(Unit::CleanupButton, Property::Left), 1000 - 105);
    EXPECT_EQ(Int(Unit::AboutLabel, Property::Top), 700 - 65);
    RECT window;
    GetWindowRect(Handle(WindowRecord), &window);
    EXPECT_EQ(window.right - window.left, 1500);
    SetInt(WindowRecord, Property::Width, 500);
    EXPECT_EQ(Int(WindowRecord, Property::Width), 800) << "no smaller than the design, at any scale";
    SetInt(WindowRecord, Property::Height, 600);
}

}  // namespace
