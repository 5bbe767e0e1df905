#pragma once
// What the label tests share: the label's PropertyData written by hand, a
// window holding one label, and the label's pixels rendered into memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/units/unit_type.h"
#include "tests/runtime/units/unit_test_window.h"
#include "tests/support/canvas.h"

namespace labeltest {

// Property indexes as compiled code passes them.
namespace Index {
constexpr int32_t Caption = 8, Effect = 9, BorderStyle = 10, BorderWidth = 11, BorderColor1 = 12, BorderColor2 = 13,
                  BorderColor3 = 14, Font = 15, TextColor = 16, BackColor = 17, BackPicture = 18, PictureMode = 19,
                  GradientMode = 20, GradientColor1 = 21, GradientColor2 = 22, GradientColor3 = 23, HAlign = 24,
                  WordWrap = 25, VAlign = 26, DataSource = 27, DataColumn = 28;
}

constexpr uint32_t LabelId = 0x16010001;
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// The fields of the label's PropertyData, defaults as a new label has them.
struct LabelFields {
    uint32_t effect = 0;
    uint32_t borderWidth = 8;
    uint32_t borderStyle = 0;
    uint32_t borderColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    uint32_t textColor = 0;
    uint32_t backColor = quillet::DefaultColor;
    uint32_t pictureMode = 1;
    uint32_t gradientMode = 0;
    uint32_t gradientColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    uint32_t hAlign = 0;
    uint32_t vAlign = 1;
    uint32_t wordWrap = 0;
    std::string font;
    std::string picture;
    std::string caption;
    std::string dataSource;
    std::string dataColumn;
};
std::string LabelData(const LabelFields& fields, uint32_t version = 2);

// The label's client area as painted.
using testunits::Pixels;
// Rendered with WM_PRINTCLIENT into a 32-bit memory bitmap.
Pixels Render(HWND label);
// Read back from the window's own device context.
Pixels ReadWindow(HWND label);

// A window with one label (LabelId) at (10, 10) of the given size.
class LabelTest : public unittest::UnitTest {
protected:
    static HWND LoadLabel(const LabelFields& fields, int32_t width, int32_t height,
                          std::vector<quillet::EventBinding> bindings = {});
};

}  // namespace labeltest
