// The window's frame, class, owner and placement as its properties make them.
#include <gtest/gtest.h>

#include <string>

#include "runtime/app/runtime_app.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/events/property_access.h"
#include "tests/runtime/units/window/window_test_program.h"
#include "runtime/values/system_text.h"

namespace windowtest {
namespace {

using quillet::WindowOptions;

constexpr int32_t Caption = 8, BorderStyle = 9, ControlBox = 15, MaxButton = 16, WindowState = 18, Closable = 19;
constexpr int32_t Icon = 20, AlwaysOnTop = 29;

// An icon file with one 16 x 16 image of 32 bits per pixel, all of one colour.
std::string IconFile() {
    const int size = 16;
    BITMAPINFOHEADER image{};
    image.biSize = sizeof image;
    image.biWidth = size;
    image.biHeight = 2 * size;  // colour and mask
    image.biPlanes = 1;
    image.biBitCount = 32;
    std::string pixels;
    for (int i = 0; i < size * size; ++i) pixels += std::string("\x20\x40\xC0\xFF", 4);
    const std::string mask(static_cast<size_t>(size) * 4, '\0');  // rows of 16 bits, padded to 32
    const std::string bytes = std::string(reinterpret_cast<const char*>(&image), sizeof image) + pixels + mask;
    std::string file = std::string("\0\0\1\0\1\0", 6);
    file += std::string("\x10\x10\0\0\1\0\x20\0", 8);
    file += Words({static_cast<uint32_t>(bytes.size()), 6 + 16});
    return file + bytes;
}

// Writes a byte property through the runtime, as compiled code does with a byte set.
void WriteBytes(int32_t index, const std::string& bytes) {
    void* byteSet = quillet::NewByteSet(bytes.data(), static_cast<int32_t>(bytes.size()));
    Write(WindowRecord, index, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(byteSet)));
    quillet::FreeBlock(byteSet);
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class WindowFrameTest : public WindowTest {
protected:
    void SetUp() override { EventLog().clear(); }

    static WindowOptions Placed() {
        WindowOptions options;
        options.windowState = 0;
        return options;
    }
    static LONG Style() { return GetWindowLongA(WindowHandle(), GWL_STYLE); }
    static LONG ExStyle() { return GetWindowLongA(WindowHandle(), GWL_EXSTYLE); }
    // From the top of the window to the top of its client area: frame and caption bar.
    static LONG FrameTop() {
        POINT origin{0, 0};
        ClientToScreen(WindowHandle(), &origin);
        RECT area;
        GetWindowRect(WindowHandle(), &area);
        return origin.y - area.top;
    }
    static std::string ClassOf(HWND window) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        return name;
    }
};

TEST_F(WindowFrameTest, FixedWindowWithoutTitleOrControlBoxHasNoCaptionBarUntilATitleIsWritten) {
    WindowOptions options = Placed();
    options.borderStyle = 2;
    options.controlBox = 0;
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(options, {100, 100, 400, 300})}));

    // The system gave the overlapped window a caption at creation; the frame took it away.
    EXPECT_NE(Style() & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(Style() & WS_DLGFRAME, 0);
    EXPECT_EQ(Style() & WS_SYSMENU, 0);
    const LONG bare = FrameTop();
    EXPECT_LT(bare, GetSystemMetrics(SM_CYCAPTION));

    WriteText(WindowRecord, Caption, "标题");
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(Style() & WS_SYSMENU, 0);
    EXPECT_GE(FrameTop(), bare + GetSystemMetrics(SM_CYCAPTION) - 1);
    EXPECT_EQ(quillet::ReadWindowText(WindowHandle()), "标题");

    // An empty title takes the caption bar away again; a control box brings it back.
    WriteText(WindowRecord, Caption, "");
    EXPECT_NE(Style() & WS_CAPTION, WS_CAPTION);
    Write(WindowRecord, ControlBox, 1);
    EXPECT_EQ(Style() & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
}

TEST_F(WindowFrameTest, BorderStylesGiveTheirFrames) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(Placed(), {100, 100, 400, 300})}));
    EXPECT_EQ(Style() & WS_THICKFRAME, 0);  // 2, the default: fixed

    Write(WindowRecord, BorderStyle, 3);
    EXPECT_NE(Style() & WS_THICKFRAME, 0);
    EXPECT_NE(ExStyle() & WS_EX_TOOLWINDOW, 0);

    Write(WindowRecord, BorderStyle, 6);
    EXPECT_EQ(Style() & WS_THICKFRAME, 0);
    EXPECT_EQ(ExStyle() & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(ExStyle() & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);

    Write(WindowRecord, BorderStyle, 0);
    EXPECT_EQ(Style() & (WS_DLGFRAME | WS_BORDER | WS_THICKFRAME | WS_SYSMENU), 0);
    EXPECT_EQ(ExStyle() & WS_EX_CLIENTEDGE, 0);

    // Beyond the last choice: the last choice.
    Write(WindowRecord, BorderStyle, 40);
    EXPECT_EQ(Read(WindowRecord, BorderStyle), 6u);
}

TEST_F(WindowFrameTest, MaximiseBoxFollowsMaxButtonNotTheTabStopFlag) {
    quillet::RecordDescription record = WindowRecordOf(Placed(), {100, 100, 400, 300});
    record.flags |= 4;  // tab stop: WS_TABSTOP is WS_MAXIMIZEBOX on a top-level window
    ASSERT_TRUE(LoadWindowOf({record}));
    EXPECT_EQ(Style() & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(Style() & WS_MINIMIZEBOX, 0);
    Write(WindowRecord, MaxButton, 1);
    EXPECT_NE(Style() & WS_MAXIMIZEBOX, 0);
}

TEST_F(WindowFrameTest, WindowStateThreeFillsTheWorkAreaOfItsMonitor) {
    WindowOptions options = Placed();
    options.borderStyle = 1;
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(options, {100, 100, 400, 300})}));
    EXPECT_EQ(Read(WindowRecord, WindowState), 0u);

    Write(WindowRecord, WindowState, 3);
    testprogram::Pump();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(WindowHandle(), MONITOR_DEFAULTTONEAREST), &monitor));
    RECT area;
    GetWindowRect(WindowHandle(), &area);
    EXPECT_EQ(area.left, monitor.rcWork.left);
    EXPECT_EQ(area.top, monitor.rcWork.top);
    EXPECT_EQ(area.right, monitor.rcWork.right);
    EXPECT_EQ(area.bottom, monitor.rcWork.bottom);
    EXPECT_TRUE(IsZoomed(WindowHandle()));
    EXPECT_EQ(Read(WindowRecord, WindowState), 3u);

    Write(WindowRecord, WindowState, 2);
    EXPECT_TRUE(IsIconic(WindowHandle()));
    EXPECT_EQ(Read(WindowRecord, WindowState), 2u);

    Write(WindowRecord, WindowState, 0);
    EXPECT_FALSE(IsIconic(WindowHandle()));
    EXPECT_FALSE(IsZoomed(WindowHandle()));
    EXPECT_EQ(Read(WindowRecord, WindowState), 0u);
}

TEST_F(WindowFrameTest, WindowStateOneCentresOnTheScreenAtCreationAndWhenWritten) {
    WindowOptions options;  // WindowState 1 by default
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(options, {10, 10, 311, 211})}));  // 301 x 201
    RECT area;
    GetWindowRect(WindowHandle(), &area);
    EXPECT_EQ(area.left, (GetSystemMetrics(SM_CXSCREEN) - 301) / 2);
    EXPECT_EQ(area.top, (GetSystemMetrics(SM_CYSCREEN) - 201) / 2);
    EXPECT_EQ(area.right - area.left, 301);
    // Centred reads as normal.
    EXPECT_EQ(Read(WindowRecord, WindowState), 0u);

    SetWindowPos(WindowHandle(), nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Write(WindowRecord, WindowState, 1);
    GetWindowRect(WindowHandle(), &area);
    EXPECT_EQ(area.left, (GetSystemMetrics(SM_CXSCREEN) - 301) / 2);
    EXPECT_EQ(area.bottom - area.top, 201);
}

TEST_F(WindowFrameTest, ClassIsWTWindowUnlessNamed) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(Placed(), {100, 100, 400, 300})}));
    EXPECT_EQ(ClassOf(WindowHandle()), "WTWindow");

    WindowOptions named = Placed();
    named.className = "QuilletOwnWindowClass";
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(named, {100, 100, 400, 300})}));
    EXPECT_EQ(ClassOf(WindowHandle()), "QuilletOwnWindowClass");
    EXPECT_EQ(GetClassLongA(WindowHandle(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
              static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
}

TEST_F(WindowFrameTest, OnlyAWindowThatIsNotStandAloneIsOwnedByTheHiddenOwner) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(Placed(), {100, 100, 400, 300})}));
    EXPECT_EQ(GetWindow(WindowHandle(), GW_OWNER), nullptr);

    WindowOptions owned = Placed();
    owned.standAlone = 0;
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(owned, {100, 100, 400, 300})}));
    EXPECT_EQ(GetWindow(WindowHandle(), GW_OWNER), quillet::App().hiddenOwner.m_hWnd);
    EXPECT_EQ(GetWindowLongA(WindowHandle(), GWL_STYLE) & WS_POPUP, 0);
}

TEST_F(WindowFrameTest, ClosableZeroTakesTheCloseCommandAwayAndAltF4WithIt) {
    WindowOptions options = Placed();
    options.closable = 0;
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(options, {100, 100, 400, 300}, {Noting(12)})}));
    HMENU menu = GetSystemMenu(WindowHandle(), FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));

    SendMessageA(WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    testprogram::Pump();
    EXPECT_NE(WindowHandle(), nullptr);
    EXPECT_TRUE(EventLog().empty());

    Write(WindowRecord, Closable, 1);
    menu = GetSystemMenu(WindowHandle(), FALSE);
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    SendMessageA(WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    testprogram::Pump();
    EXPECT_EQ(WindowHandle(), nullptr);
}

TEST_F(WindowFrameTest, IconBytesGiveALargeAndASmallIcon) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(Placed(), {100, 100, 400, 300})}));
    const auto programIcon = SendMessageA(WindowHandle(), WM_GETICON, ICON_BIG, 0);
    const std::string file = IconFile();
    WriteBytes(Icon, file);
    auto large = reinterpret_cast<HICON>(SendMessageA(WindowHandle(), WM_GETICON, ICON_BIG, 0));
    auto small = reinterpret_cast<HICON>(SendMessageA(WindowHandle(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(IconWidth(large), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(small), GetSystemMetrics(SM_CXSMICON));

    const quillet::PropertyWords read = quillet::ReadUnitProperty(WindowId, WindowRecord, Icon, -1);
    void* readBack = reinterpret_cast<void*>(static_cast<uintptr_t>(read.low));
    ASSERT_NE(readBack, nullptr);
    EXPECT_EQ(std::string(quillet::ByteSetBytes(readBack), static_cast<size_t>(quillet::ByteSetLength(readBack))), file);
    quillet::FreeBlock(readBack);

    // Bytes that make no icon: the program's icon again.
    WriteBytes(Icon, "no icon");
    EXPECT_EQ(SendMessageA(WindowHandle(), WM_GETICON, ICON_BIG, 0), programIcon);
}

TEST_F(WindowFrameTest, AlwaysOnTopTakesEffectAtOnce) {
    ASSERT_TRUE(LoadWindowOf({WindowRecordOf(Placed(), {100, 100, 400, 300})}));
    EXPECT_EQ(ExStyle() & WS_EX_TOPMOST, 0);
    Write(WindowRecord, AlwaysOnTop, 1);
    EXPECT_NE(ExStyle() & WS_EX_TOPMOST, 0);
    Write(WindowRecord, AlwaysOnTop, 0);
    EXPECT_EQ(ExStyle() & WS_EX_TOPMOST, 0);
}

}  // namespace
}  // namespace windowtest
