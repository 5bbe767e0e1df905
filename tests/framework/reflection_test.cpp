// Messages a control sends its parent reach the control's own object first.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/button.h"
#include "framework/edit.h"
#include "framework/spin_button_ctrl.h"
#include "framework/tab_ctrl.h"
#include "tests/framework/test_windows.h"

namespace {

// A top-level parent that records what reaches it. Hidden unless something
// must paint: under Xvfb without a window manager, Wine waits 2 s for a visible
// top-level window to be withdrawn when it is hidden or destroyed.
class Parent : public RecordingWnd {
public:
    explicit Parent(bool visible = false) {
        CreateEx(0, TestWindowClass(), L"parent", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 400, 300, nullptr,
                 nullptr);
    }
    ~Parent() override { DestroyWindow(); }
};

// Handles its reflected BN_CLICKED; every other reflected notification falls through.
class ClickButton : public CButton {
public:
    int clicks = 0;
    bool destroyOnClick = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_REFLECT_BASE + WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            if (destroyOnClick) ::DestroyWindow(m_hWnd);
            return 0;
        }
        return CButton::WindowProc(message, wParam, lParam);
    }
};

TEST(ReflectionTest, AButtonClickReachesTheButtonObjectInsteadOfItsParent) {
    Parent parent;
    ClickButton button;
    ASSERT_TRUE(button.Create(L"执行", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, RECT{10, 10, 90, 40}, parent.m_hWnd, 100));
    SendMessageA(button.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(button.clicks, 1);
    EXPECT_FALSE(parent.Saw(WM_COMMAND)) << "a handled notification never reaches the parent";

    // A notification the button leaves alone goes on to the parent.
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(100, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(parent.Count(WM_COMMAND), 1);
    EXPECT_EQ(button.clicks, 1);

    // Buttons without an object, or with one that handles nothing, leave it to the parent.
    CButton plainObject;
    ASSERT_TRUE(plainObject.Create(L"b", WS_CHILD | WS_VISIBLE, RECT{100, 10, 180, 40}, parent.m_hWnd, 101));
    SendMessageA(plainObject.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(parent.Count(WM_COMMAND), 2);
    const HWND bare = CreateWindowExA(0, "BUTTON", "c", WS_CHILD | WS_VISIBLE, 200, 10, 80, 30, parent.m_hWnd,
                                      reinterpret_cast<HMENU>(102), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(bare, BM_CLICK, 0, 0);
    EXPECT_EQ(parent.Count(WM_COMMAND), 3);
    // Menus and accelerators name no control.
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(20000, 0), 0);
    EXPECT_EQ(parent.Count(WM_COMMAND), 4);
}

TEST(ReflectionTest, AControlMayDestroyAndDeleteItselfInItsReflectedHandler) {
    Parent parent;
    bool closingButtonGone = false;
    auto* button = new SelfDeleting<ClickButton>(&closingButtonGone);
    button->destroyOnClick = true;
    ASSERT_TRUE(button->Create(L"x", WS_CHILD | WS_VISIBLE, RECT{10, 10, 90, 40}, parent.m_hWnd, 100));
    const HWND hWnd = button->m_hWnd;
    SendMessageA(hWnd, BM_CLICK, 0, 0);
    EXPECT_TRUE(closingButtonGone);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_FALSE(parent.Saw(WM_COMMAND));
}

// Paints in its own colours and counts the reflected colour requests and change notifications.
class ColourEdit : public CEdit {
public:
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    int colourRequests = 0;
    int changes = 0;
    ~ColourEdit() override { DeleteObject(brush); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_REFLECT_BASE + WM_CTLCOLOREDIT:
            ++colourRequests;
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(200, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(10, 20, 30));
            return reinterpret_cast<LRESULT>(brush);
        case WM_REFLECT_BASE + WM_COMMAND:
            if (HIWORD(wParam) != EN_CHANGE) break;
            ++changes;
            return 0;
        }
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

TEST(ReflectionTest, AnEditAnswersItsOwnColourRequests) {
    Parent parent(true);
    ColourEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{10, 10, 200, 40}, parent.m_hWnd, 110, L"text"));
    RedrawWindow(edit.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GE(edit.colourRequests, 1) << "painting the EDIT asks its parent for colours";
    EXPECT_FALSE(parent.Saw(WM_CTLCOLOREDIT));

    const HDC dc = GetDC(edit.m_hWnd);
    const LRESULT answer = SendMessageA(parent.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(edit.m_hWnd));
    EXPECT_EQ(answer, reinterpret_cast<LRESULT>(edit.brush)) << "the control's answer is the parent's answer";
    EXPECT_EQ(GetTextColor(dc), RGB(200, 0, 0));
    ReleaseDC(edit.m_hWnd, dc);

    // Other colour messages are not the edit's: the parent answers them.
    SendMessageA(parent.m_hWnd, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(edit.m_hWnd));
    EXPECT_TRUE(parent.Saw(WM_CTLCOLORSTATIC));
}

TEST(ReflectionTest, ANotificationAControlSendsItselfIsReflectedToItOnce) {
    Parent parent;
    ColourEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 200, 40}, parent.m_hWnd, 110));
    SetWindowTextA(edit.m_hWnd, "typed");  // a single-line EDIT reports the change to its parent
    EXPECT_EQ(edit.changes, 1);
    SendMessageA(edit.m_hWnd, WM_COMMAND, MAKEWPARAM(110, EN_CHANGE), reinterpret_cast<LPARAM>(edit.m_hWnd));
    EXPECT_EQ(edit.changes, 2);
    EXPECT_FALSE(parent.SawCommand(EN_CHANGE));
    EXPECT_TRUE(parent.SawCommand(EN_UPDATE)) << "what the edit leaves alone still reaches the parent";
}

// Records the tab control's own notifications and owner-draw requests.
class RecordingTab : public CTabCtrl {
public:
    std::vector<UINT> codes;
    int drawItems = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_REFLECT_BASE + WM_NOTIFY:
            codes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
            return 0;  // allows the change
        case WM_REFLECT_BASE + WM_DRAWITEM:
            ++drawItems;
            return TRUE;
        }
        return CTabCtrl::WindowProc(message, wParam, lParam);
    }
};

TEST(ReflectionTest, ATabControlGetsItsOwnPageChangeNotifications) {
    Parent parent;
    RecordingTab tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 360, 200}, parent.m_hWnd, 120));
    EXPECT_EQ(tab.InsertItem(0, L"清理"), 0);
    EXPECT_EQ(tab.InsertItem(1, L"编号"), 1);
    EXPECT_EQ(tab.GetItemCount(), 2);
    EXPECT_EQ(tab.GetCurSel(), 0);

    RECT header{};
    ASSERT_TRUE(SendMessageA(tab.m_hWnd, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&header)));
    const LPARAM point = MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2);
    SendMessageA(tab.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(tab.m_hWnd, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(tab.GetCurSel(), 1);
    ASSERT_GE(tab.codes.size(), 2u);
    EXPECT_EQ(tab.codes[0], static_cast<UINT>(TCN_SELCHANGING));
    EXPECT_EQ(tab.codes[1], static_cast<UINT>(TCN_SELCHANGE));
    EXPECT_FALSE(parent.Saw(WM_NOTIFY));

    // A WM_NOTIFY whose lParam points nowhere (it may come from another process)
    // is left to the parent instead of being read.
    SendMessageA(parent.m_hWnd, WM_NOTIFY, 120, 0x10);
    EXPECT_TRUE(parent.Saw(WM_NOTIFY));
    // Owner drawing goes to the control named in the structure; menu items name none.
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_TAB;
    item.hwndItem = tab.m_hWnd;
    EXPECT_EQ(SendMessageA(parent.m_hWnd, WM_DRAWITEM, 120, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(tab.drawItems, 1);
    EXPECT_FALSE(parent.Saw(WM_DRAWITEM));
    item.CtlType = ODT_MENU;
    SendMessageA(parent.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(tab.drawItems, 1);
    EXPECT_TRUE(parent.Saw(WM_DRAWITEM));

    EXPECT_EQ(tab.SetCurSel(0), 1);
    EXPECT_TRUE(tab.DeleteAllItems());
    EXPECT_EQ(tab.GetItemCount(), 0);
}

TEST(ReflectionTest, ASpinControlKeepsItsRange) {
    Parent parent;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 28, 34}, parent.m_hWnd, 124, WS_EX_STATICEDGE));
    spin.SetRange(10, 50);
    int lower = 0, upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 50);
    spin.SetRange32(-100000, 100000);
    spin.GetRange32(lower, upper);
    EXPECT_EQ(lower, -100000);
    EXPECT_EQ(upper, 100000);
}

// Consumes key presses when asked to.
class KeyEater : public RecordingWnd {
public:
    bool eat = false;
    int asked = 0;
    BOOL PreTranslateMessage(MSG*) override {
        ++asked;
        return eat;
    }
};

KeyEater* lookedUp = nullptr;
CWnd* LookUpOnly(HWND) { return lookedUp; }

TEST(PreTranslateTest, TheWalkGoesUpFromTheTargetAndStopsWhereTold) {
    KeyEater parent, child;
    ASSERT_TRUE(parent.CreateEx(0, TestWindowClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    ASSERT_TRUE(child.CreateEx(0, TestWindowClass(), L"", WS_CHILD, 0, 0, 20, 20, parent.m_hWnd,
                               reinterpret_cast<HMENU>(1)));
    MSG msg{child.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    parent.eat = true;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &msg));
    EXPECT_EQ(child.asked, 1);
    EXPECT_EQ(parent.asked, 1);

    EXPECT_FALSE(CWnd::WalkPreTranslateTree(child.m_hWnd, &msg)) << "the walk ends after the stop window";
    EXPECT_EQ(parent.asked, 1);

    child.eat = true;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &msg));
    EXPECT_EQ(parent.asked, 1) << "the first object that consumes the message ends the walk";

    // Windows without a permanent object are found through the lookup given.
    const HWND bare = PlainWindow(parent.m_hWnd);
    KeyEater stand;
    stand.eat = true;
    lookedUp = &stand;
    msg.hwnd = bare;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &msg, LookUpOnly));
    EXPECT_EQ(stand.asked, 1);
    lookedUp = nullptr;
    parent.DestroyWindow();
}

}  // namespace
