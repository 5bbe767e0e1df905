#pragma once
// CWinApp: the process's one application object, and the framework's start-up.
//
// The program defines exactly one object of a class derived from CWinApp with
// static storage; it exists before WinMain, which the framework provides: WinMain
// calls InitInstance, and when that returns FALSE, ExitInstance at once (its
// result is the exit code); otherwise Run, the framework's own message loop,
// which ends with ExitInstance when WM_QUIT arrives.
#include <windows.h>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The overridable operations, in this order.
    virtual BOOL InitInstance();
    virtual int Run();
    // TRUE when the message was consumed: it is then neither translated nor dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Takes one message (waiting for it) into m_msgCur and dispatches it unless
    // PreTranslateMessage consumes it. FALSE when the message was WM_QUIT. A
    // failed take is taken again (see OnMessageSourceFailed).
    // Messages are taken and dispatched wide: a character typed into a Unicode
    // window reaches it whole, and the system converts it for an ANSI one.
    virtual BOOL PumpMessage();
    // Where PumpMessage takes its messages from: as GetMessageW, waiting for one;
    // positive for a message, 0 for WM_QUIT, -1 when the call failed.
    virtual BOOL TakeMessage(MSG* msg);
    // Taking a message failed FailedTakesInARow times with nothing taken between:
    // the loop cannot go on. PumpMessage then ends it as a WM_QUIT with code -1
    // would; a program that ends otherwise on such a failure does so here.
    virtual void OnMessageSourceFailed();
    static constexpr int FailedTakesInARow = 100;
    // Background work while the queue is empty; count is 0 on the first call of
    // an idle period. TRUE asks for another call before waiting.
    virtual BOOL OnIdle(LONG count);
    // FALSE for messages that do not start a new idle period: WM_PAINT, the
    // caret-blink timer, and a mouse move that did not move.
    virtual BOOL IsIdleMessage(MSG* msg);
    // The exit code: the code of the WM_QUIT that ended the last loop, else 0.
    virtual int ExitInstance();
    // A message posted to the thread rather than to a window; TRUE when handled.
    // The framework handles none.
    virtual BOOL DispatchThreadMessage(MSG* msg);

    LPCSTR m_pszAppName;            // as given to the constructor; may be null
    HINSTANCE m_hInstance = nullptr;  // WinMain's arguments
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWDEFAULT;
    CWnd* m_pMainWnd = nullptr;     // where message pre-translation stops walking up; may be null
    MSG m_msgCur{};                 // the message PumpMessage took last

private:
    POINT m_ptCursorLast{-1, -1};   // where the last mouse move that counted was
    UINT m_nMsgLast = 0;            // and which message it was
};

// The application object, or null when the program has none.
CWinApp* AfxGetApp();
// The module of the running program.
HINSTANCE AfxGetInstanceHandle();
