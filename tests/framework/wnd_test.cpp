// CWnd: the handle map, creation, subclassing and the final clean-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "framework/edit.h"
#include "framework/wnd.h"
#include "tests/framework/test_windows.h"

namespace {

std::string TextOf(HWND hWnd) {
    char text[256] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

TEST(HandleMapTest, AttachAndDetachKeepOneObjectPerWindow) {
    const HWND first = PlainWindow();
    const HWND second = PlainWindow();
    ASSERT_NE(first, nullptr);
    const LONG_PTR procedure = GetWindowLongPtrA(first, GWLP_WNDPROC);

    CWnd a, b;
    EXPECT_FALSE(a.Attach(nullptr));
    ASSERT_TRUE(a.Attach(first));
    EXPECT_EQ(CWnd::FromHandlePermanent(first), &a);
    EXPECT_EQ(a.m_hWnd, first);
    EXPECT_EQ(GetWindowLongPtrA(first, GWLP_WNDPROC), procedure) << "attaching does not subclass";
    EXPECT_FALSE(b.Attach(first)) << "a window has one object";
    EXPECT_EQ(b.m_hWnd, nullptr);
    EXPECT_FALSE(a.Attach(second)) << "an object has one window";
    EXPECT_EQ(CWnd::FromHandlePermanent(second), nullptr);

    EXPECT_EQ(a.Detach(), first);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(first), nullptr);
    EXPECT_TRUE(IsWindow(first)) << "detaching leaves the window alone";
    EXPECT_EQ(a.Detach(), nullptr);
    EXPECT_TRUE(b.Attach(first));
    EXPECT_EQ(b.Detach(), first);
    EXPECT_EQ(CWnd::FromHandlePermanent(nullptr), nullptr);
    DestroyWindow(first);
    DestroyWindow(second);
}

TEST(CreationTest, MessagesBeforeCreateWindowExReturnsReachTheObject) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TestWindowClass(), "caption", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                             nullptr));
    ASSERT_NE(wnd.m_hWnd, nullptr);
    ASSERT_TRUE(wnd.Saw(WM_NCCREATE));
    ASSERT_TRUE(wnd.Saw(WM_CREATE));
    const UINT first = wnd.seen.front().message;
    EXPECT_TRUE(first == WM_GETMINMAXINFO || first == WM_NCCREATE) << "the first message seen was " << first;
    for (const auto& s : wnd.seen) EXPECT_TRUE(s.mapped) << "message " << s.message << " before mapping";
    EXPECT_EQ(TextOf(wnd.m_hWnd), "caption") << "the class's own procedure still handles WM_NCCREATE";
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.Saw(WM_NCDESTROY));
    EXPECT_EQ(wnd.postNcDestroyCalls, 1);
}

// Creates a child window of its own while its WM_CREATE runs.
class ParentCreatingChild : public RecordingWnd {
public:
    RecordingWnd child;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE)
            child.CreateEx(0, TestWindowClass(), "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_hWnd,
                           reinterpret_cast<HMENU>(7));
        return RecordingWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CreationTest, AChildMadeDuringItsParentsCreationGetsItsOwnObject) {
    ParentCreatingChild parent;
    ASSERT_TRUE(parent.CreateEx(0, TestWindowClass(), "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr));
    ASSERT_NE(parent.child.m_hWnd, nullptr);
    EXPECT_NE(parent.child.m_hWnd, parent.m_hWnd);
    EXPECT_EQ(GetParent(parent.child.m_hWnd), parent.m_hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.child.m_hWnd), &parent.child);
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_hWnd), &parent);
    EXPECT_EQ(parent.child.Count(WM_NCCREATE), 1);
    EXPECT_EQ(parent.Count(WM_NCCREATE), 1);
    for (const auto& s : parent.child.seen) EXPECT_TRUE(s.mapped);

    parent.DestroyWindow();
    EXPECT_EQ(parent.child.m_hWnd, nullptr) << "destroying the parent finished the child's object too";
    EXPECT_EQ(parent.child.postNcDestroyCalls, 1);
}

TEST(CreationTest, AFailedCreationLeavesTheObjectToItsCaller) {
    RecordingWnd wnd;
    wnd.failCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, TestWindowClass(), "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.Saw(WM_NCDESTROY)) << "the window existed and was destroyed again";
    EXPECT_EQ(wnd.postNcDestroyCalls, 0) << "a failed creation must not let the object delete itself";

    RecordingWnd unregistered;
    EXPECT_FALSE(unregistered.CreateEx(0, "NoSuchClassAnywhere", "x", 0, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(unregistered.m_hWnd, nullptr);
    // Nothing of the failed creations lingers: a window made without the framework has no object.
    const HWND plain = PlainWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    DestroyWindow(plain);

    wnd.failCreate = false;
    EXPECT_TRUE(wnd.CreateEx(0, TestWindowClass(), "again", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.DestroyWindow();
}

// Counts typed characters, then lets the EDIT control handle them.
class CharCountingEdit : public CEdit {
public:
    int chars = 0;
    int ncCreates = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) ++chars;
        if (message == WM_NCCREATE) ++ncCreates;
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

TEST(SubclassTest, ASubclassedSystemEditKeepsItsBehaviour) {
    const HWND parent = PlainWindow();
    const HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 150, 24, parent,
                                      reinterpret_cast<HMENU>(3), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);

    CharCountingEdit wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));
    EXPECT_FALSE(CharCountingEdit().SubclassWindow(edit)) << "already has an object";
    EXPECT_NE(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    SendMessageA(edit, WM_CHAR, 'a', 1);
    SendMessageA(edit, WM_CHAR, 'b', 1);
    EXPECT_EQ(wnd.chars, 2);
    EXPECT_EQ(TextOf(edit), "ab") << "the EDIT control still inserts what is typed";
    wnd.SetSel(1, 2);
    wnd.ReplaceSel("中文");
    EXPECT_EQ(TextOf(edit), "a中文");
    wnd.LimitText(4);
    SetWindowTextA(edit, "");
    for (char c : std::string("123456")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(TextOf(edit), "1234");

    EXPECT_EQ(wnd.Detach(), edit);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original) << "detaching gives the procedure back";
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_CHAR, 'c', 1);
    EXPECT_EQ(wnd.chars, 8);
    EXPECT_EQ(TextOf(edit), "c");
    DestroyWindow(parent);
}

TEST(SubclassTest, AnEditMadeByTheFrameworkIsSubclassedFromItsFirstMessage) {
    const HWND parent = PlainWindow();
    CharCountingEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, RECT{0, 0, 150, 24}, parent, 4, "start"));
    EXPECT_EQ(edit.ncCreates, 1);
    EXPECT_EQ(TextOf(edit.m_hWnd), "start");
    edit.SetSel(5, 5);
    SendMessageA(edit.m_hWnd, WM_CHAR, '!', 1);
    EXPECT_EQ(TextOf(edit.m_hWnd), "start!");
    EXPECT_EQ(edit.chars, 1);
    DestroyWindow(parent);
    EXPECT_EQ(edit.m_hWnd, nullptr);
}

TEST(DestroyTest, PostNcDestroyMayDeleteTheObject) {
    bool selfDeletingDestroyed = false;
    auto* wnd = new SelfDeleting<CWnd>(&selfDeletingDestroyed);
    ASSERT_TRUE(wnd->CreateEx(0, TestWindowClass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    const HWND hWnd = wnd->m_hWnd;
    DestroyWindow(hWnd);
    EXPECT_TRUE(selfDeletingDestroyed);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    // Children go with their parent, each object in its own final clean-up.
    const HWND parent = PlainWindow();
    auto* child = new SelfDeleting<CWnd>(&selfDeletingDestroyed);
    ASSERT_TRUE(child->CreateEx(0, TestWindowClass(), "", WS_CHILD, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(1)));
    const HWND childHandle = child->m_hWnd;
    DestroyWindow(parent);
    EXPECT_TRUE(selfDeletingDestroyed);
    EXPECT_EQ(CWnd::FromHandlePermanent(childHandle), nullptr);
}

TEST(DestroyTest, AnObjectThatGoesDestroysItsWindow) {
    HWND hWnd;
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, TestWindowClass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

}  // namespace
