// The button and the check box in a loaded window: their stored data, property
// writes and the styles they set, clicks through the runtime's loop, the mark,
// pictures, colours, fonts and the texts offered for replacement.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/events/property_access.h"
#include "runtime/units/font_data.h"
#include "runtime/units/private_messages.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "tests/runtime/units/unit_test_window.h"
#include "runtime/values/system_text.h"

namespace quillet {
namespace {

using namespace unittest;

// Property indexes as compiled code passes them.
namespace Button {
constexpr int32_t Picture = 8, ButtonType = 9, Caption = 10, HAlign = 11, VAlign = 12, Font = 13;
}
namespace Check {
constexpr int32_t Picture = 8, PushLike = 9, Flat = 10, Caption = 11, TextOnLeft = 12, HAlign = 13, VAlign = 14,
                  TextColor = 15, BackColor = 16, Font = 17, Checked = 18, DataSource = 19, DataColumn = 20;
}

constexpr uint32_t ButtonId = 0x16010001;
constexpr uint32_t CheckId = 0x16010002;

std::string ButtonData(const std::string& caption, uint32_t buttonType = 0, const std::string& picture = "",
                       uint32_t version = 1) {
    return Words({version, buttonType, 1, 1}) + Block(picture) + Block("") + Block(caption);
}

struct CheckBoxFields {
    uint32_t checked = 0;
    uint32_t textColor = 0;
    uint32_t backColor = DefaultColor;
    std::string picture;
    std::string font;
    std::string caption = "选项";
    std::string dataSource;
    std::string dataColumn;
};

std::string CheckBoxData(const CheckBoxFields& f, uint32_t version = 2) {
    std::string data = Words({version, 0, 0, 0, 0, 1, f.textColor, f.backColor, f.checked}) + Block(f.picture) +
                       Block(f.font) + Block(f.caption);
    if (version >= 2) data += Block(f.dataSource) + Block(f.dataColumn);
    return data;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

COLORREF Red(int32_t, int32_t) { return RGB(255, 0, 0); }

// What the handlers saw.
struct Seen {
    int32_t clicks = 0;
    std::vector<uint32_t> checkedInHandler;  // Checked as the click handler read it
    int32_t gotFocus = 0;
    bool focusedInGotFocus = false;          // the check box already had the focus
    int32_t lostFocus = 0;
    bool buttonFocusedInLostFocus = false;   // the focus had already gone on to the button
} seen;

HandlerResult OnCheckBoxClick(const uint32_t*, int32_t) {
    ++seen.clicks;
    seen.checkedInHandler.push_back(Read(CheckId, Check::Checked));
    return {0, 0, 0};
}
HandlerResult OnButtonClick(const uint32_t*, int32_t) {
    ++seen.clicks;
    return {0, 0, 0};
}
HandlerResult OnCheckBoxLostFocus(const uint32_t*, int32_t) {
    ++seen.lostFocus;
    seen.buttonFocusedInLostFocus = GetFocus() == Handle(ButtonId);
    return {0, 0, 0};
}
HandlerResult OnCheckBoxGotFocus(const uint32_t*, int32_t) {
    ++seen.gotFocus;
    seen.focusedInGotFocus = GetFocus() == Handle(CheckId);
    return {0, 0, 0};
}

class ButtonUnitTest : public UnitTest {
protected:
    void SetUp() override { seen = Seen{}; }

    // A window with a button (ButtonId) and a check box (CheckId).
    static void Load(const std::string& buttonData, const std::string& checkBoxData) {
        ASSERT_TRUE(LoadWindowOf(WindowWith({
            ShownRecord(ButtonId, ButtonType, {10, 10, 110, 40}, buttonData, {{0, testprogram::HandlerOffset(&OnButtonClick)}}),
            ShownRecord(CheckId, CheckBoxType, {10, 60, 190, 84}, checkBoxData,
                   {{0, testprogram::HandlerOffset(&OnCheckBoxClick)},
                    {CommonEvent::GotFocus, testprogram::HandlerOffset(&OnCheckBoxGotFocus)},
                    {CommonEvent::LostFocus, testprogram::HandlerOffset(&OnCheckBoxLostFocus)}}),
        })));
    }
    static void LoadDefaults() { Load(ButtonData("执行"), CheckBoxData({})); }

    static void Click(HWND control) {
        PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
        testprogram::Pump();
    }
};

TEST_F(ButtonUnitTest, TheToolsRunButtonSavesIn32Bytes) {
    LoadDefaults();
    const std::string saved = SavedOf(ButtonId, ButtonType);
    EXPECT_EQ(saved.size(), 32u);
    EXPECT_EQ(saved, ButtonData("执行"));
    EXPECT_EQ(quillet::ReadWindowText(Handle(ButtonId)), "执行");
    EXPECT_EQ(SavedOf(CheckId, CheckBoxType), CheckBoxData({}));
}

TEST_F(ButtonUnitTest, DataOfALaterVersionOrCutShortIsRefused) {
    LoadDefaults();
    HWND parent = Handle(0);
    auto create = [parent](uint32_t type, const std::string& data) {
        auto operation = OperationOf<CreateUnitOperation>(type, InterfaceNumber::CreateUnit);
        return operation(data.data(), static_cast<int32_t>(data.size()), 0, parent, 300, nullptr, 0, 0, 50, 20,
                         WindowId, 0x160100F0, 0, 0);
    };
    EXPECT_EQ(create(ButtonType, ButtonData("执行", 0, "", 2)), nullptr);
    EXPECT_EQ(create(CheckBoxType, CheckBoxData({}, 3)), nullptr);
    const std::string whole = ButtonData("执行");
    EXPECT_EQ(create(ButtonType, whole.substr(0, whole.size() - 1)), nullptr) << "the caption runs past the end";
    std::string huge = Words({1, 0, 1, 1, 0xFFFFFFF0u}) + Block("") + Block("x");
    EXPECT_EQ(create(ButtonType, huge), nullptr) << "a length word beyond the data";
    EXPECT_EQ(GetDlgItem(parent, 300), nullptr) << "no window is left behind";

    // A check box of version 1 has no binding names; it saves as version 2.
    CheckBoxFields old;
    old.checked = 1;
    auto* unit = static_cast<CWnd*>(create(CheckBoxType, CheckBoxData(old, 1)));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(SendMessageA(unit->m_hWnd, BM_GETCHECK, 0, 0), BST_CHECKED);
    auto save = OperationOf<SavePropertiesOperation>(CheckBoxType, InterfaceNumber::SaveProperties);
    HGLOBAL block = static_cast<HGLOBAL>(save(unit));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(testunits::TakenBytes(block), CheckBoxData(old, 2));
    DestroyWindow(unit->m_hWnd);
}

TEST_F(ButtonUnitTest, ButtonTypeAboveTheListMakesADefaultButton) {
    LoadDefaults();
    HWND button = Handle(ButtonId);
    auto isDefault = OperationOf<IsDefaultButtonOperation>(ButtonType, InterfaceNumber::IsDefaultButton);
    ASSERT_NE(isDefault, nullptr);
    EXPECT_EQ(isDefault(ObjectOf(ButtonId)), 0);

    Write(ButtonId, Button::ButtonType, 5);
    EXPECT_EQ(Read(ButtonId, Button::ButtonType), 1u);
    EXPECT_EQ(isDefault(ObjectOf(ButtonId)), 1);
    EXPECT_EQ(StyleOf(button) & 0x1F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(Handle(ButtonId), button) << "a style change, not a rebuild";

    Write(ButtonId, Button::ButtonType, static_cast<uint32_t>(-3));
    EXPECT_EQ(Read(ButtonId, Button::ButtonType), 0u);
    EXPECT_EQ(isDefault(ObjectOf(ButtonId)), 0);
    EXPECT_EQ(StyleOf(button) & 0x1F, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_EQ(isDefault(nullptr), 0);
    EXPECT_EQ(OperationOf<IsDefaultButtonOperation>(CheckBoxType, InterfaceNumber::IsDefaultButton), nullptr);
}

TEST_F(ButtonUnitTest, ADefaultButtonIsOneFromItsCreation) {
    Load(ButtonData("执行", 1), CheckBoxData({}));
    EXPECT_EQ(StyleOf(Handle(ButtonId)) & 0x1F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(Read(ButtonId, Button::ButtonType), 1u);
}

TEST_F(ButtonUnitTest, AlignmentsAndCheckBoxLooksAreStyleBits) {
    LoadDefaults();
    HWND button = Handle(ButtonId);
    HWND check = Handle(CheckId);
    EXPECT_EQ(StyleOf(button) & (BS_CENTER | BS_VCENTER | BS_MULTILINE),
              static_cast<DWORD>(BS_CENTER | BS_VCENTER | BS_MULTILINE));
    EXPECT_EQ(StyleOf(check) & 0x0F, static_cast<DWORD>(BS_AUTOCHECKBOX));

    Write(ButtonId, Button::HAlign, 7);
    EXPECT_EQ(Read(ButtonId, Button::HAlign), 2u);
    EXPECT_EQ(StyleOf(button) & BS_CENTER, static_cast<DWORD>(BS_RIGHT));
    Write(ButtonId, Button::HAlign, 0);
    EXPECT_EQ(StyleOf(button) & BS_CENTER, static_cast<DWORD>(BS_LEFT));
    Write(ButtonId, Button::VAlign, 2);
    EXPECT_EQ(StyleOf(button) & BS_VCENTER, static_cast<DWORD>(BS_BOTTOM));
    Write(ButtonId, Button::VAlign, 0);
    EXPECT_EQ(StyleOf(button) & BS_VCENTER, static_cast<DWORD>(BS_TOP));

    Write(CheckId, Check::PushLike, 1);
    Write(CheckId, Check::Flat, 1);
    Write(CheckId, Check::TextOnLeft, 1);
    Write(CheckId, Check::HAlign, 2);
    EXPECT_EQ(StyleOf(check) & (BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | BS_CENTER),
              static_cast<DWORD>(BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | BS_RIGHT));
    EXPECT_EQ(Read(CheckId, Check::PushLike), 1u);
    Write(CheckId, Check::PushLike, 0);
    Write(CheckId, Check::TextOnLeft, 0);
    EXPECT_EQ(StyleOf(check) & (BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT), static_cast<DWORD>(BS_FLAT));
    EXPECT_EQ(StyleOf(check) & 0x0F, static_cast<DWORD>(BS_AUTOCHECKBOX)) << "still a check box";
    EXPECT_EQ(Handle(CheckId), check);

    // What was written is what a rebuild starts from.
    const std::string saved = SavedOf(CheckId, CheckBoxType);
    ASSERT_GE(saved.size(), 24u);
    EXPECT_EQ(saved.substr(0, 24), Words({2, 0, 1, 0, 2, 1}));
}

TEST_F(ButtonUnitTest, AClickOnACheckBoxRaisesEventZeroAfterTheMarkChanged) {
    LoadDefaults();
    HWND check = Handle(CheckId);
    // The focus starts elsewhere, whatever the window gave it at its first show.
    SetFocus(Handle(ButtonId));
    testprogram::Pump();
    seen = Seen{};
    ASSERT_EQ(Read(CheckId, Check::Checked), 0u);
    Click(check);
    EXPECT_EQ(seen.clicks, 1);
    ASSERT_EQ(seen.checkedInHandler.size(), 1u);
    EXPECT_EQ(seen.checkedInHandler[0], 1u) << "the handler reads the new mark";
    EXPECT_EQ(seen.gotFocus, 1);
    EXPECT_TRUE(seen.focusedInGotFocus) << "GotFocus comes after the control took the focus";

    Click(check);
    ASSERT_EQ(seen.checkedInHandler.size(), 2u);
    EXPECT_EQ(seen.checkedInHandler[1], 0u);
    EXPECT_EQ(seen.gotFocus, 1) << "it kept the focus";

    EXPECT_EQ(seen.lostFocus, 0);
    Click(Handle(ButtonId));
    EXPECT_EQ(seen.clicks, 3) << "the push button's click too";
    EXPECT_EQ(seen.lostFocus, 1);
    EXPECT_TRUE(seen.buttonFocusedInLostFocus) << "LostFocus comes after the control let the focus go";
}

TEST_F(ButtonUnitTest, TheSpaceBarPressesTheFocusedButton) {
    LoadDefaults();
    HWND button = Handle(ButtonId);
    SetFocus(button);
    PostMessageA(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageA(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    testprogram::Pump();
    EXPECT_EQ(seen.clicks, 1);
}

TEST_F(ButtonUnitTest, EnterInTheWindowPressesOnlyADefaultButton) {
    LoadDefaults();
    auto enter = [](HWND focused) {
        SetFocus(focused);
        PostMessageA(focused, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        testprogram::Pump();
    };
    enter(Handle(ButtonId));
    enter(Handle(CheckId));
    EXPECT_EQ(seen.clicks, 0) << "no default button: Enter presses nothing";
    Write(ButtonId, Button::ButtonType, 1);
    enter(Handle(CheckId));
    EXPECT_EQ(seen.clicks, 1) << "the window presses its default button";
    EXPECT_EQ(SendMessageA(Handle(CheckId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ButtonUnitTest, OnlyCheckedOneSetsTheMarkAndNoWriteRaisesAnEvent) {
    LoadDefaults();
    HWND check = Handle(CheckId);
    auto set = OperationOf<SetPropertyOperation>(CheckBoxType, InterfaceNumber::SetProperty);
    auto setChecked = [&](uint32_t value) {
        PropertyValue written = {value, 0};
        uint32_t cleared = 99;
        EXPECT_EQ(set(ObjectOf(CheckId), Check::Checked - 8, &written, &cleared), 0);
        EXPECT_EQ(cleared, 0u);
    };
    setChecked(1);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Read(CheckId, Check::Checked), 1u);
    setChecked(2);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "2 is not 1: the mark goes";
    EXPECT_EQ(Read(CheckId, Check::Checked), 0u);

    Write(CheckId, Check::Checked, 1);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    Write(CheckId, Check::Checked, 0);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Reading asks the control, not the last write.
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Read(CheckId, Check::Checked), 1u);

    testprogram::Pump();
    EXPECT_EQ(seen.clicks, 0);
}

TEST_F(ButtonUnitTest, TheSameCaptionTwiceRaisesNothingAndKeepsTheText) {
    LoadDefaults();
    for (int round = 0; round < 2; ++round) {
        Write(ButtonId, Button::Caption, Word("确定(&O)"));
        Write(CheckId, Check::Caption, Word("自动换行"));
    }
    testprogram::Pump();
    EXPECT_EQ(quillet::ReadWindowText(Handle(ButtonId)), "确定(&O)");
    EXPECT_EQ(ReadText(ButtonId, Button::Caption), "确定(&O)");
    EXPECT_EQ(quillet::ReadWindowText(Handle(CheckId)), "自动换行");
    EXPECT_EQ(SendMessageA(Handle(CheckId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(seen.clicks, 0);

    Write(ButtonId, Button::Caption, 0);  // no text is the empty text
    EXPECT_EQ(quillet::ReadWindowText(Handle(ButtonId)), "");
}

TEST_F(ButtonUnitTest, AnUndecodablePictureIsDroppedAndTheCaptionShows) {
    Load(ButtonData("执行", 0, "GIF89a but not really a picture"), CheckBoxData({}));
    HWND button = Handle(ButtonId);
    EXPECT_EQ(StyleOf(button) & (BS_BITMAP | BS_ICON), 0u);
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(quillet::ReadWindowText(button), "执行");
    EXPECT_EQ(ReadBytes(ButtonId, Button::Picture), "");
    EXPECT_EQ(SavedOf(ButtonId, ButtonType), ButtonData("执行"));
}

TEST_F(ButtonUnitTest, APictureShowsInsteadOfTheCaption) {
    const std::string bitmap = BitmapFile(16, 12, &Red);
    Load(ButtonData("执行", 0, bitmap), CheckBoxData({}));
    HWND button = Handle(ButtonId);
    EXPECT_EQ(StyleOf(button) & (BS_BITMAP | BS_ICON), static_cast<DWORD>(BS_BITMAP));
    auto image = reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(image, nullptr);
    BITMAP shape{};
    ASSERT_NE(GetObjectA(image, sizeof shape, &shape), 0);
    EXPECT_EQ(shape.bmWidth, 16);
    EXPECT_EQ(shape.bmHeight, 12);
    EXPECT_EQ(ReadBytes(ButtonId, Button::Picture), bitmap);
}

// A 16 x 16 icon file: one 24-bit image, opaque (its mask all 0).
std::string IconFile() {
    constexpr int32_t Side = 16;
    const uint32_t colorBytes = Side * Side * 3;
    const uint32_t maskBytes = Side * 4;  // rows of 16 bits, padded to 32
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = Side;
    header.biHeight = Side * 2;  // colour and mask together
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = colorBytes + maskBytes;
    const uint32_t imageBytes = sizeof header + colorBytes + maskBytes;
    std::string file;
    auto word16 = [&file](uint16_t value) { file.append(reinterpret_cast<const char*>(&value), 2); };
    word16(0);  // reserved
    word16(1);  // icon
    word16(1);  // one image
    file += std::string{static_cast<char>(Side), static_cast<char>(Side), 0, 0};  // size, colours, reserved
    word16(1);  // planes
    word16(24);
    file += Words({imageBytes, 6 + 16});
    file.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (uint32_t i = 0; i < Side * Side; ++i) file += std::string{0, 0, static_cast<char>(0xFF)};  // red, as BGR
    file += std::string(maskBytes, '\0');
    return file;
}

TEST_F(ButtonUnitTest, AnIconShowsAsAnIcon) {
    Load(ButtonData("执行", 0, IconFile()), CheckBoxData({}));
    HWND button = Handle(ButtonId);
    EXPECT_EQ(StyleOf(button) & (BS_BITMAP | BS_ICON), static_cast<DWORD>(BS_ICON));
    auto icon = reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP shape{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof shape, &shape);
    EXPECT_EQ(shape.bmWidth, 16);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
}

TEST_F(ButtonUnitTest, WritingAPictureRebuildsTheUnitWithItsMarkAndCaption) {
    LoadDefaults();
    HWND before = Handle(CheckId);
    Click(before);
    ASSERT_EQ(SendMessageA(before, BM_GETCHECK, 0, 0), BST_CHECKED);
    const std::string bitmap = BitmapFile(8, 8, &Red);
    WriteBytes(CheckId, Check::Picture, bitmap);
    HWND after = Handle(CheckId);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before) << "made again from its saved properties";
    EXPECT_EQ(StyleOf(after) & (BS_BITMAP | BS_ICON), static_cast<DWORD>(BS_BITMAP));
    EXPECT_NE(SendMessageA(after, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageA(after, BM_GETCHECK, 0, 0), BST_CHECKED) << "the mark the user left";
    EXPECT_EQ(quillet::ReadWindowText(after), "选项");
    EXPECT_EQ(ReadBytes(CheckId, Check::Picture), bitmap);
    EXPECT_EQ(seen.clicks, 1) << "the rebuild raises nothing";

    // Without a picture again, the caption shows.
    Write(CheckId, Check::Picture, 0);
    EXPECT_EQ(StyleOf(Handle(CheckId)) & (BS_BITMAP | BS_ICON), 0u);
}

TEST_F(ButtonUnitTest, TheCheckBoxAnswersItsColourMessageWithItsColours) {
    CheckBoxFields colours;
    colours.textColor = RGB(0, 0, 255);
    colours.backColor = RGB(0, 255, 0);
    Load(ButtonData("执行"), CheckBoxData(colours));
    HWND check = Handle(CheckId);
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(Handle(0), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(check)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH described{};
    GetObjectA(brush, sizeof described, &described);
    EXPECT_EQ(described.lbColor, RGB(0, 255, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0));

    // The control paints its background with it: the far right of the caption area.
    RECT client;
    GetClientRect(check, &client);
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    SendMessageA(check, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(dc, client.right - 2, client.bottom / 2), RGB(0, 255, 0));
    SelectObject(dc, old);
    DeleteObject(canvas);

    Write(CheckId, Check::BackColor, DefaultColor);
    EXPECT_EQ(Read(CheckId, Check::BackColor), DefaultColor);
    brush = reinterpret_cast<HBRUSH>(
        SendMessageA(Handle(0), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(check)));
    GetObjectA(brush, sizeof described, &described);
    EXPECT_EQ(described.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    DeleteDC(dc);
}

TEST_F(ButtonUnitTest, FontsAreAppliedToTheControlAtEveryDpiAndReadBack) {
    LoadDefaults();
    HWND button = Handle(ButtonId);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), DefaultUnitFont(ScreenPixelsPerInchY()));
    LOGFONTW shape{};
    ASSERT_EQ(GetObjectW(DefaultUnitFont(ScreenPixelsPerInchY()), sizeof shape, &shape), static_cast<int>(sizeof shape));
    EXPECT_EQ(shape.lfCharSet, GB2312_CHARSET) << "Chinese glyphs whatever the system's language";
    EXPECT_EQ(ReadBytes(ButtonId, Button::Font), "") << "no block of its own";
    Write(ButtonId, Button::Font, 20, FontField::Size);
    Write(ButtonId, Button::Font, 1, FontField::Bold);
    auto font = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
    ASSERT_NE(font, DefaultUnitFont(ScreenPixelsPerInchY()));
    LOGFONTA described{};
    GetObjectA(font, sizeof described, &described);
    EXPECT_EQ(described.lfHeight, -MulDiv(20, ScreenPixelsPerInchY(), 72));
    EXPECT_EQ(described.lfWeight, 700);
    EXPECT_EQ(Read(ButtonId, Button::Font, FontField::Size), 20u);
    EXPECT_EQ(Read(ButtonId, Button::Font, FontField::Bold), 1u);
    EXPECT_EQ(SavedOf(ButtonId, ButtonType).size(), 32u + sizeof(FontData));
    // Sizes in points rounded once, for the window's DPI, as the system rounds them.
    for (int32_t points : {5, 7, 8, 9, 10, 11, 13, 20, 72}) {
        Write(ButtonId, Button::Font, static_cast<uint32_t>(points), FontField::Size);
        for (int32_t dpi : {120, 144, 168, 192, 240, 96}) {
            SendMessageW(button, UM_DPI_CHANGED, static_cast<WPARAM>(dpi), 0);
            LOGFONTW made{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof made, &made);
            EXPECT_EQ(made.lfHeight, -MulDiv(points, dpi, 72)) << points << " pt at " << dpi << " DPI";
        }
    }
}

TEST_F(ButtonUnitTest, BindingNamesAreStoredOnly) {
    LoadDefaults();
    Write(CheckId, Check::DataSource, Word("数据源1"));
    Write(CheckId, Check::DataColumn, Word("列"));
    EXPECT_EQ(ReadText(CheckId, Check::DataSource), "数据源1");
    EXPECT_EQ(ReadText(CheckId, Check::DataColumn), "列");
    EXPECT_TRUE(IsWindowEnabled(Handle(CheckId)));
    CheckBoxFields expected;
    expected.dataSource = "数据源1";
    expected.dataColumn = "列";
    EXPECT_EQ(SavedOf(CheckId, CheckBoxType), CheckBoxData(expected));
}

// ---- EnumTexts ----

TEST(ButtonTextsTest, CaptionFaceNameAndBindingNamesAreOfferedForReplacement) {
    testunits::TextOffers offers({{"选项", "新选项"}}, "黑体");
    FontData font = DefaultGuiFontData();
    std::strcpy(font.lfFaceName, "宋体");
    CheckBoxFields fields;
    fields.font.assign(reinterpret_cast<const char*>(&font), sizeof font);
    fields.dataSource = "源";
    fields.dataColumn = "列";
    const std::string data = CheckBoxData(fields, 2);
    int32_t length = static_cast<int32_t>(data.size());
    auto enumTexts = OperationOf<EnumTextsOperation>(CheckBoxType, InterfaceNumber::EnumTexts);
    HGLOBAL block = static_cast<HGLOBAL>(enumTexts(data.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offers.offered, (std::vector<testunits::OfferedText>{
                                  {"选项", 0}, {"宋体", EnumTextFlag::FontName}, {"源", 0}, {"列", 0}}));

    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);  // a replaced name leaves nothing of the old
    std::strcpy(font.lfFaceName, "黑体");
    fields.font.assign(reinterpret_cast<const char*>(&font), sizeof font);
    fields.caption = "新选项";
    const std::string expected = CheckBoxData(fields, 2);
    EXPECT_EQ(length, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), static_cast<size_t>(length)), expected);
    GlobalUnlock(block);
    GlobalFree(block);

    // The button offers its caption and face name only, and refuses a later version.
    offers.offered.clear();
    const std::string button = ButtonData("执行");
    length = static_cast<int32_t>(button.size());
    auto enumButton = OperationOf<EnumTextsOperation>(ButtonType, InterfaceNumber::EnumTexts);
    block = static_cast<HGLOBAL>(enumButton(button.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    GlobalFree(block);
    EXPECT_EQ(offers.offered, (std::vector<testunits::OfferedText>{{"执行", 0}})) << "no font block: no face name";
    const std::string later = ButtonData("执行", 0, "", 2);
    length = static_cast<int32_t>(later.size());
    EXPECT_EQ(enumButton(later.data(), &length, offers.Answer, offers.Context()), nullptr);
    EXPECT_EQ(length, static_cast<int32_t>(later.size()));
}

const char* LongFaceName(const char*, uint32_t flags, uintptr_t name) {
    return flags == EnumTextFlag::FontName ? reinterpret_cast<const char*>(name) : nullptr;
}

// The face name a replacement leaves in the font block.
std::string FaceNameAfter(const std::string& replacement) {
    FontData font = DefaultGuiFontData();
    // The button's words and empty picture (20 bytes), then the font block.
    const std::string data = ButtonData("执行").substr(0, 20) +
                             Block(std::string(reinterpret_cast<const char*>(&font), sizeof font)) + Block("执行");
    int32_t length = static_cast<int32_t>(data.size());
    auto enumTexts = OperationOf<EnumTextsOperation>(ButtonType, InterfaceNumber::EnumTexts);
    HGLOBAL block = static_cast<HGLOBAL>(enumTexts(data.data(), &length, &LongFaceName,
                                                   reinterpret_cast<uintptr_t>(replacement.c_str())));
    if (block == nullptr) return "<none>";
    std::memcpy(&font, static_cast<const char*>(GlobalLock(block)) + 24, sizeof font);
    GlobalUnlock(block);
    GlobalFree(block);
    return std::string(font.lfFaceName, sizeof font.lfFaceName);
}

TEST(ButtonTextsTest, ALongFaceNameIsCutBetweenCharacters) {
    const std::string chinese = FaceNameAfter("微软雅黑微软雅黑微软雅黑微软雅黑微软雅黑");
    EXPECT_EQ(chinese, std::string("微软雅黑微软雅黑微软雅黑微软雅") + std::string(2, '\0'))
        << "15 characters in 30 bytes; the 16th would need byte 31 and 32";
    EXPECT_EQ(FaceNameAfter(std::string(40, 'A')), std::string(31, 'A') + std::string(1, '\0'));
}

}  // namespace
}  // namespace quillet
