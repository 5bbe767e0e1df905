// CWinApp: the framework's loop, its idle passes and the exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/win_app.h"
#include "tests/framework/test_windows.h"

namespace {

// Records the idle passes; in the first idle period it posts a message to its
// window, in the second it ends the loop with exit code 7.
class TestApp : public CWinApp {
public:
    RecordingWnd target;
    std::vector<LONG> idleCounts;
    std::vector<BOOL> baseAnswers;
    int periods = 0;
    bool eatAppMessages = false;

    BOOL OnIdle(LONG count) override {
        idleCounts.push_back(count);
        baseAnswers.push_back(CWinApp::OnIdle(count));
        if (count == 0) ++periods;
        if (count == 1 && periods == 1) PostMessageA(target.m_hWnd, WM_APP, 0, 0);
        if (count == 1 && periods == 2) PostQuitMessage(7);
        return count < 1;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (eatAppMessages && msg->message == WM_APP + 1) return TRUE;
        return CWinApp::PreTranslateMessage(msg);
    }
};

TEST(WinAppTest, RunPassesIdleUntilAnIdleMessageAndEndsWithTheQuitCode) {
    TestApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    ASSERT_TRUE(app.target.CreateEx(0, TestWindowClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 0, 1})) << "an idle message starts a new idle period";
    EXPECT_EQ(app.baseAnswers, (std::vector<BOOL>{TRUE, FALSE, TRUE, FALSE}));
    EXPECT_EQ(app.target.Count(WM_APP), 1);
    EXPECT_EQ(app.m_msgCur.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(app.ExitInstance(), 7);
    app.target.DestroyWindow();
}

TEST(WinAppTest, PumpMessageDispatchesUnlessPreTranslationConsumes) {
    TestApp app;
    ASSERT_TRUE(app.target.CreateEx(0, TestWindowClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    app.eatAppMessages = true;
    PostMessageA(app.target.m_hWnd, WM_APP + 1, 0, 0);
    PostMessageA(app.target.m_hWnd, WM_APP + 2, 0, 0);
    EXPECT_TRUE(app.PumpMessage());
    EXPECT_TRUE(app.PumpMessage());
    EXPECT_EQ(app.target.Count(WM_APP + 1), 0);
    EXPECT_EQ(app.target.Count(WM_APP + 2), 1);
    EXPECT_EQ(app.m_msgCur.message, static_cast<UINT>(WM_APP + 2));
    EXPECT_EQ(app.ExitInstance(), 0) << "no WM_QUIT ended a loop: the code is 0, not the last wParam";

    PostQuitMessage(3);
    EXPECT_FALSE(app.PumpMessage());
    EXPECT_EQ(app.ExitInstance(), 3);
    app.target.DestroyWindow();
}

// A message source that fails a given number of times before each message it
// takes (Wine fails one take while it takes a huge message from another process
// apart), and notes when the loop gives up.
class FailingSourceApp : public CWinApp {
public:
    RecordingWnd target;
    std::vector<int> failuresBeforeTake;  // by take, from the first; none after the list
    size_t takes = 0;
    int failed = 0;
    int givenUp = 0;

    BOOL TakeMessage(MSG* msg) override {
        if (takes < failuresBeforeTake.size() && failuresBeforeTake[takes] > 0) {
            --failuresBeforeTake[takes];
            ++failed;
            return -1;
        }
        ++takes;
        return CWinApp::TakeMessage(msg);
    }
    void OnMessageSourceFailed() override { ++givenUp; }
};

TEST(WinAppTest, FailedTakesAreTakenAgainUntilTheyFailTooOftenInARow) {
    constexpr int Limit = CWinApp::FailedTakesInARow;
    struct Case {
        std::vector<int> failures;
        int pumped;  // messages pumped before the loop gives up (all three when it never does)
    };
    const Case cases[] = {
        {{1, 0, 1}, 3},
        {{Limit - 1, Limit - 1, Limit - 1}, 3},  // a message taken between failures starts the count again
        {{0, Limit}, 1},
        {{Limit}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures[0]);
        FailingSourceApp app;
        ASSERT_TRUE(app.target.CreateEx(0, TestWindowClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
        app.failuresBeforeTake = c.failures;
        for (UINT i = 0; i < 3; ++i) PostMessageA(app.target.m_hWnd, WM_APP + i, 0, 0);
        int pumped = 0;
        while (pumped < 3 && app.PumpMessage()) ++pumped;
        EXPECT_EQ(pumped, c.pumped);
        EXPECT_EQ(app.target.Count(WM_APP) + app.target.Count(WM_APP + 1) + app.target.Count(WM_APP + 2), c.pumped);
        if (c.pumped == 3) {
            EXPECT_EQ(app.givenUp, 0);
        } else {
            EXPECT_EQ(app.givenUp, 1);
            EXPECT_EQ(app.failed, Limit) << "it gives up at the last failure in a row, not before";
            EXPECT_EQ(app.m_msgCur.message, static_cast<UINT>(WM_QUIT));
            EXPECT_EQ(app.ExitInstance(), -1) << "not the code of a clean end";
        }
        MSG left;
        while (PeekMessageA(&left, app.target.m_hWnd, 0, 0, PM_REMOVE)) {}
        app.target.DestroyWindow();
    }
}

TEST(WinAppTest, OnlyMessagesThatChangeSomethingStartAnIdlePeriod) {
    TestApp app;
    MSG move{nullptr, WM_MOUSEMOVE, 0, 0, 0, {5, 6}};
    EXPECT_TRUE(app.IsIdleMessage(&move));
    EXPECT_FALSE(app.IsIdleMessage(&move)) << "the mouse did not move";
    move.pt.x = 7;
    EXPECT_TRUE(app.IsIdleMessage(&move));
    MSG ncMove{nullptr, WM_NCMOUSEMOVE, 0, 0, 0, {7, 6}};
    EXPECT_TRUE(app.IsIdleMessage(&ncMove)) << "another kind of move at the same place";
    MSG paint{nullptr, WM_PAINT, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(app.IsIdleMessage(&paint));
    MSG caret{nullptr, 0x0118, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(app.IsIdleMessage(&caret));
    MSG timer{nullptr, WM_TIMER, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(app.IsIdleMessage(&timer));
    MSG key{nullptr, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(app.IsIdleMessage(&key));
}

}  // namespace
