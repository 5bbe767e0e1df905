// The window at 100 % to 200 %, as Windows tells a program that follows each
// display's scale (WM_DPICHANGED): every unit at its design place × DPI / 96,
// every caption inside its unit, and the program's sizes still in design
// pixels, so that its resize rules hold at any scale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <string>

#include "app/template_description.h"
#include "runtime/units/font_data.h"
#include "tests/app/tool_window.h"
#include "tests/support/program_text.h"

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

// Where a unit stands in its parent, in pixels.
RECT PlacedArea(HWND unit) {
    RECT area;
    GetWindowRect(unit, &area);
    if ((GetWindowLongW(unit, GWL_STYLE) & WS_CHILD) != 0)
        MapWindowPoints(nullptr, GetParent(unit), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// The window moved to a display of that scale: Windows suggests the same size there.
void ChangeDpi(int32_t dpi) {
    HWND window = Handle(WindowRecord);
    RECT area;
    GetWindowRect(window, &area);
    const Design design = DesignOf(WindowRecord);
    RECT suggested{area.left, area.top, area.left + MulDiv(design.width, dpi, 96),
                   area.top + MulDiv(design.height, dpi, 96)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();

}

// How much room a caption takes in the unit's font, wrapped at `width`.
SIZE CaptionSize(HWND unit, const std::wstring& caption, int32_t width) {
    HDC dc = GetDC(unit);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(unit, WM_GETFONT, 0, 0)));
    RECT room{0, 0, width, 0};
    DrawTextW(dc, caption.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(unit, dc);
    return {room.right, room.bottom};
}

std::wstring ClassOf(HWND unit) {
    wchar_t name[32] = {};
    GetClassNameW(unit, name, 32);
    return name;
}

// Every caption fits its unit's client area; a check box keeps room for its box.
void ExpectCaptionsFit(int32_t dpi) {
    for (const quillet::RecordDescription& record : quillet::app::MainWindowDescription().records) {
        HWND unit = record.id == 0 ? nullptr : Handle(record.id);
        if (unit == nullptr || !IsWindowVisible(unit)) continue;
        RECT client;
        GetClientRect(unit, &client);
        const std::wstring kind = ClassOf(unit);
        if (kind == WC_TABCONTROLW) {
            const int pages = static_cast<int>(SendMessageW(unit, TCM_GETITEMCOUNT, 0, 0));
            for (int page = 0; page < pages; ++page) {
                wchar_t text[64] = {};
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = 64;
                SendMessageW(unit, TCM_GETITEMW, page, reinterpret_cast<LPARAM>(&item));
                RECT header{};
                SendMessageW(unit, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&header));
                EXPECT_LE(CaptionSize(unit, text, 1000).cx, header.right - header.left) << dpi << ": page " << page;
            }
            continue;
        }
        const std::wstring caption = WideOf(WindowTextOf(unit));
        if (caption.empty() || kind == L"Edit") continue;
        const bool checkBox = (GetWindowLongW(unit, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && kind == L"Button";
        const int32_t room = client.right - (checkBox ? MulDiv(16, dpi, 96) + 4 : 0);
        const SIZE taken = CaptionSize(unit, caption, room);
        EXPECT_LE(taken.cx, room) << dpi << ": " << WindowTextOf(unit);
        EXPECT_LE(taken.cy, client.bottom) << dpi << ": " << WindowTextOf(unit) << " is cut";
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
    ASSERT_EQ(designed[WindowRecord], (Design{designed[WindowRecord].left, designed[WindowRecord].top, 800, 600}));

    for (int32_t dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        ChangeDpi(dpi);
        for (const auto& [unit, design] : designed) {
            // The window itself stays where it was on the screen, whose pixels
            // Windows does not scale; its size is a design size.
            const Design now = DesignOf(unit);
            EXPECT_TRUE(unit == WindowRecord ? now.width == design.width && now.height == design.height
                                             : now == design)
                << std::hex << unit << ": the program's sizes stay design sizes";
            HWND handle = Handle(unit);
            const RECT area = PlacedArea(handle);
            const auto scaled = [dpi](LONG pixels, int32_t value) {
                return std::abs(pixels - MulDiv(value, dpi, 96)) <= 1;
            };
            EXPECT_TRUE(scaled(area.right - area.left, design.width) && scaled(area.bottom - area.top, design.height))
                << std::hex << unit << std::dec << ": " << area.right - area.left << " x " << area.bottom - area.top;
            if (unit == WindowRecord) continue;  // placed on the screen by the system
            EXPECT_TRUE(scaled(area.left, design.left) && scaled(area.top, design.top))
                << std::hex << unit << std::dec << ": at " << area.left << ", " << area.top;
        }
        for (int32_t page = 0; page < 3; ++page) {
            ShowPage(page);
            ExpectCaptionsFit(dpi);
        }
        ShowPage(0);
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
