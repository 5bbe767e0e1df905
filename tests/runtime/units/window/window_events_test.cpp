// The window's events: the two-stage close, the end of the session,
// activation and the focus it remembers, show and hide, moves and resizes,
// menu commands, the tray icon, the cursor of the unit under the mouse and the
// stacking of docked units.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app/runtime_app.h"
#include "runtime/events/window_loader.h"
#include "runtime/template/window_table.h"
#include "runtime/units/window/window_unit.h"
#include "tests/runtime/units/window/window_test_program.h"

namespace windowtest {
namespace {

using quillet::WindowOptions;
using Log = std::vector<std::string>;

// A second window, loaded modal by the tests.
constexpr uint32_t ModalWindowId = 0x52010002;

quillet::HandlerResult CloseModalWindow(const uint32_t*, int32_t) {
    if (quillet::WindowTemplate* modal = quillet::ProgramWindows().Find(ModalWindowId))
        SendMessageA(quillet::LiveWindowOf(*modal), WM_CLOSE, 0, 0);
    return {0, 0, 0};
}

class WindowEventsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        EventLog().clear();
    }
    void TearDown() override {
        if (other_ != nullptr) DestroyWindow(other_);
        WindowTest::TearDown();
    }

    static WindowOptions Placed() {
        WindowOptions options;
        options.windowState = 0;
        options.borderStyle = 1;
        return options;
    }
    static bool LoadWith(std::vector<quillet::EventBinding> bindings,
                         std::vector<quillet::RecordDescription> units = {}) {
        std::vector<quillet::RecordDescription> records = {WindowRecordOf(Placed(), {100, 100, 500, 400}, bindings)};
        records.insert(records.end(), units.begin(), units.end());
        return LoadWindowOf(records);
    }
    // The main window, loaded, and the second window, not yet, as the program's template.
    static bool LoadMainBesideModal(std::vector<quillet::EventBinding> mainBindings,
                                    std::vector<quillet::EventBinding> modalBindings) {
        quillet::WindowDescription main, modal;
        main.id = WindowId;
        main.records = {WindowRecordOf(Placed(), {100, 100, 500, 400}, std::move(mainBindings))};
        modal.id = ModalWindowId;
        modal.records = {WindowRecordOf(Placed(), {150, 150, 450, 350}, std::move(modalBindings))};
        modal.records[0].id = 0x06010100;
        return testprogram::UseTemplate({main, modal}) && testprogram::Load(WindowId) == 1;
    }
    static std::string Window(int32_t event) { return Noted(event, WindowRecord); }
    // The window's own events in the log, in order.
    static Log Only(std::initializer_list<int32_t> events) {
        Log kept;
        for (const std::string& line : EventLog())
            for (int32_t event : events)
                if (line == Window(event)) kept.push_back(line);
        return kept;
    }
    static void Close() {
        PostMessageA(WindowHandle(), WM_CLOSE, 0, 0);
        testprogram::Pump();
    }
    // A top-level window of the test that takes the activation away.
    HWND OtherWindow() {
        if (other_ == nullptr)
            other_ = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);
        return other_;
    }

    HWND other_ = nullptr;
};

TEST_F(WindowEventsTest, CloseRequestThatReturnsFalseKeepsTheWindowAndSkipsClosing) {
    ASSERT_TRUE(LoadWith({Refusing(12), Noting(1), Noting(2)}));
    Close();
    EXPECT_NE(WindowHandle(), nullptr);
    EXPECT_EQ(Only({12, 1, 2}), (Log{Window(12)}));
}

TEST_F(WindowEventsTest, ClosingThatReturnsFalseKeepsTheWindowAfterTheRequestAgreed) {
    ASSERT_TRUE(LoadWith({Agreeing(12), Refusing(1), Noting(2)}));
    Close();
    EXPECT_NE(WindowHandle(), nullptr);
    EXPECT_EQ(Only({12, 1, 2}), (Log{Window(12), Window(1)}));
}

TEST_F(WindowEventsTest, WithoutRefusalTheWindowClosesAfterBothStages) {
    ASSERT_TRUE(LoadWith({Noting(12), Noting(1), Noting(2)}));
    Close();
    EXPECT_EQ(WindowHandle(), nullptr);
    EXPECT_EQ(Only({12, 1, 2}), (Log{Window(12), Window(1), Window(2)}));
}

TEST_F(WindowEventsTest, EndOfSessionIsRefusedWhenClosingReturnsFalse) {
    ASSERT_TRUE(LoadWith({Refusing(1)}));
    EXPECT_EQ(SendMessageA(WindowHandle(), WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_EQ(Only({1}), (Log{Window(1)}));

    ASSERT_TRUE(LoadWith({Noting(1)}));
    EXPECT_NE(SendMessageA(WindowHandle(), WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_NE(WindowHandle(), nullptr);
}

TEST_F(WindowEventsTest, FirstActivationComesOnceBeforeActivated) {
    ASSERT_TRUE(LoadWith({Noting(8), Noting(5), Noting(6)}));
    EXPECT_EQ(Only({8, 5, 6}), (Log{Window(8), Window(5)}));

    SetActiveWindow(OtherWindow());
    testprogram::Pump();
    SetActiveWindow(WindowHandle());
    testprogram::Pump();
    EXPECT_EQ(Only({8, 5, 6}), (Log{Window(8), Window(5), Window(6), Window(5)}));
}

TEST_F(WindowEventsTest, TheFocusedUnitIsRememberedOnDeactivationAndGetsTheFocusBack) {
    ASSERT_TRUE(LoadWith({Noting(-7)}, {UnitRecord(2, EditType, {10, 10, 110, 34}, ProbeData("a")),
                                        UnitRecord(3, EditType, {10, 50, 110, 74}, ProbeData("b"))}));
    // The window gave the focus to the first unit of the tab order: the last record.
    EXPECT_EQ(GetFocus(), Handle(UnitId(3)));
    SetFocus(Handle(UnitId(2)));

    SetActiveWindow(OtherWindow());
    testprogram::Pump();
    EXPECT_NE(GetFocus(), Handle(UnitId(2)));
    EventLog().clear();
    SetActiveWindow(WindowHandle());
    testprogram::Pump();
    EXPECT_EQ(GetFocus(), Handle(UnitId(2)));
    // The window had the focus on its way to the unit.
    EXPECT_EQ(Only({-7}), (Log{Window(-7)}));
}

TEST_F(WindowEventsTest, AWindowDisabledByAModalWindowPassesItsActivationOn) {
    ASSERT_TRUE(LoadMainBesideModal({Noting(5)}, {}));
    HWND mainWindow = WindowHandle();

    // Loaded modal, without running its loop here: the test plays the loop's part.
    quillet::WindowTemplate* second = quillet::ProgramWindows().Find(ModalWindowId);
    ASSERT_EQ(quillet::LoadWindow(*second, nullptr, true), 1);
    HWND modalWindow = quillet::LiveWindowOf(*second);
    ShowWindow(modalWindow, SW_SHOW);
    quillet::App().modalWindowId = ModalWindowId;
    EXPECT_EQ(GetWindow(modalWindow, GW_OWNER), quillet::App().hiddenOwner.m_hWnd);
    EXPECT_FALSE(IsWindowEnabled(mainWindow));

    EventLog().clear();
    SendMessageA(mainWindow, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(GetActiveWindow(), modalWindow);
    EXPECT_TRUE(Only({5}).empty());

    PostMessageA(modalWindow, WM_CLOSE, 0, 0);
    testprogram::Pump();
    EXPECT_FALSE(IsWindow(modalWindow));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(quillet::App().modalWindowId, 0u);
}

// A handler of its shown event closes the modal window before its run begins:
// no other window is left disabled for a run that never comes.
TEST_F(WindowEventsTest, AModalWindowClosedWhileBeingShownDisablesNoOtherWindow) {
    ASSERT_TRUE(LoadMainBesideModal({}, {{10, testprogram::HandlerOffset(&CloseModalWindow)}}));
    HWND mainWindow = WindowHandle();
    const quillet::LoadWindowRequest modal = {ModalWindowId, nullptr, 1};
    EXPECT_EQ(quillet::LoadWindowService(&modal), 0);
    testprogram::Pump();
    quillet::WindowTemplate* second = quillet::ProgramWindows().Find(ModalWindowId);
    EXPECT_EQ(quillet::LiveWindowOf(*second), nullptr) << "closed by its handler";
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(quillet::App().modalWindowId, 0u);
}

TEST_F(WindowEventsTest, ShownAndHiddenMovedAndResized) {
    ASSERT_TRUE(LoadWith({Noting(10), Noting(11), Noting(3), Noting(4)}));
    EventLog().clear();
    ShowWindow(WindowHandle(), SW_HIDE);
    ShowWindow(WindowHandle(), SW_SHOWNA);
    EXPECT_EQ(Only({10, 11}), (Log{Window(11), Window(10)}));

    EventLog().clear();
    SetWindowPos(WindowHandle(), nullptr, 120, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Only({3, 4}), (Log{Window(3)}));
    EventLog().clear();
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Only({3, 4}), (Log{Window(4)}));
}

TEST_F(WindowEventsTest, MenuCommandsRaiseEventZeroOfTheirItem) {
    ASSERT_TRUE(LoadWith({}, {UnitRecord(2, EditType, {10, 10, 110, 34}, ProbeData("a")),
                              MenuItemRecord(0x10, "文件"), MenuItemRecord(0x11, "退出")}));
    EXPECT_NE(GetMenu(WindowHandle()), nullptr);

    EXPECT_EQ(SendMessageA(WindowHandle(), WM_COMMAND, 20001, 0), 0);
    EXPECT_EQ(EventLog(), (Log{Noted(0, MenuItemId(0x11))}));
    SendMessageA(WindowHandle(), WM_COMMAND, 20000, 0);
    EXPECT_EQ(EventLog().back(), Noted(0, MenuItemId(0x10)));

    // Past the items, and the framework's own ids: no event.
    EventLog().clear();
    SendMessageA(WindowHandle(), WM_COMMAND, 20002, 0);
    SendMessageA(WindowHandle(), WM_COMMAND, 57600, 0);
    SendMessageA(WindowHandle(), WM_COMMAND, 19999, 0);
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(WindowEventsTest, TrayIconMouseActionsRaiseEventNine) {
    ASSERT_TRUE(LoadWith({Noting(9)}));
    for (UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE, WM_LBUTTONDOWN})
        SendMessageA(WindowHandle(), quillet::UM_TRAY_NOTIFY, quillet::TrayIconId, mouse);
    EXPECT_EQ(EventLog(), (Log{Window(9) + " 1", Window(9) + " 2", Window(9) + " 3", Window(9) + " 3"}));
}

TEST_F(WindowEventsTest, TheCursorIsThatOfTheUnitUnderTheMouse) {
    quillet::RecordDescription crossed = UnitRecord(2, EditType, {10, 10, 110, 34}, ProbeData("a"));
    crossed.mouseData = Words({32515});  // the cross
    quillet::RecordDescription plain = UnitRecord(3, EditType, {10, 50, 110, 74}, ProbeData("b"));
    ASSERT_TRUE(LoadWith({}, {crossed, plain}));
    quillet::WindowTemplate* window = quillet::ProgramWindows().Find(WindowId);
    ASSERT_NE(window, nullptr);
    auto cross = static_cast<HCURSOR>(window->working.RecordAt(window->working.IndexOf(UnitId(2))).Cursor());
    ASSERT_NE(cross, nullptr);

    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageA(WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(UnitId(2))), overClient),
              TRUE);
    EXPECT_EQ(GetCursor(), cross);

    SendMessageA(WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(UnitId(3))), overClient);
    EXPECT_NE(GetCursor(), cross);
    // The window's own record has no cursor: the class's arrow.
    SendMessageA(WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(UnitId(2))), overClient);
    SendMessageA(WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(WindowHandle()), overClient);
    EXPECT_NE(GetCursor(), cross);
}

TEST_F(WindowEventsTest, DockedUnitsStackFromTheTopAndTheBottomAndFollowResizes) {
    ASSERT_TRUE(LoadWith({}, {UnitRecord(2, DockedType, {5, 200, 105, 220}, ProbeData("d1", ProbeOption::DockTop)),
                              UnitRecord(3, DockedType, {5, 200, 105, 230}, ProbeData("d2", ProbeOption::DockTop)),
                              UnitRecord(4, DockedType, {5, 200, 105, 225}, ProbeData("d3", ProbeOption::DockBottom)),
                              UnitRecord(5, EditType, {5, 200, 105, 224}, ProbeData("e"))}));
    auto topOf = [](uint32_t unit) {
        RECT area;
        GetWindowRect(Handle(UnitId(unit)), &area);
        MapWindowPoints(nullptr, WindowHandle(), reinterpret_cast<POINT*>(&area), 2);
        return area.top;
    };
    RECT client;
    GetClientRect(WindowHandle(), &client);
    // The last docked unit in template order goes first.
    EXPECT_EQ(topOf(3), 0);
    EXPECT_EQ(topOf(2), 30);
    EXPECT_EQ(topOf(4), client.bottom - 25);
    EXPECT_EQ(topOf(5), 200);  // not docked

    SetWindowPos(WindowHandle(), nullptr, 0, 0, 450, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(WindowHandle(), &client);
    EXPECT_EQ(topOf(4), client.bottom - 25);
    EXPECT_EQ(topOf(3), 0);
}

}  // namespace
}  // namespace windowtest
