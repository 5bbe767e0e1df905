#include "framework/win_app.h"

#include "framework/wnd.h"

namespace {
CWinApp* theApp = nullptr;  // set by the one application object's constructor
constexpr UINT CaretBlinkTimer = 0x0118;
}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) { theApp = this; }

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    bool idle = true;
    LONG idleCount = 0;
    MSG peeked;
    for (;;) {
        while (idle && !PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(idleCount++)) idle = false;
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == nullptr && DispatchThreadMessage(msg)) return TRUE;
    return CWnd::WalkPreTranslateTree(m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr, msg);
}

BOOL CWinApp::PumpMessage() {
    // A failed take is transient (Wine fails one while it takes a huge message
    // from another process apart, and that message is lost): take again. Only
    // a source that keeps failing, with nothing taken between, ends the loop,
    // and then not as a clean end.
    BOOL taken = TakeMessage(&m_msgCur);
    for (int failed = 1; taken < 0; ++failed) {
        if (failed == FailedTakesInARow) {
            OnMessageSourceFailed();
            m_msgCur = MSG{};
            m_msgCur.message = WM_QUIT;
            m_msgCur.wParam = static_cast<WPARAM>(-1);
            return FALSE;
        }
        taken = TakeMessage(&m_msgCur);
    }
    if (taken == 0) return FALSE;  // WM_QUIT, with its exit code in wParam
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::TakeMessage(MSG* msg) { return GetMessageW(msg, nullptr, 0, 0); }

void CWinApp::OnMessageSourceFailed() {}

// The framework keeps no temporary objects, so one pass is all it needs.
BOOL CWinApp::OnIdle(LONG count) { return count < 1; }

BOOL CWinApp::IsIdleMessage(MSG* msg) {
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->message == m_nMsgLast && msg->pt.x == m_ptCursorLast.x && msg->pt.y == m_ptCursorLast.y)
            return FALSE;
        m_ptCursorLast = msg->pt;
        m_nMsgLast = msg->message;
        return TRUE;
    }
    return msg->message != WM_PAINT && msg->message != CaretBlinkTimer;
}

int CWinApp::ExitInstance() { return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0; }

BOOL CWinApp::DispatchThreadMessage(MSG*) { return FALSE; }

CWinApp* AfxGetApp() { return theApp; }

HINSTANCE AfxGetInstanceHandle() {
    return theApp != nullptr && theApp->m_hInstance != nullptr ? theApp->m_hInstance : GetModuleHandleW(nullptr);
}

// Kept in this file so that a program linking CWinApp always gets it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = showCommand;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
