#pragma once
// CWnd: a framework object that stands for one window.
//
// Every window that has an object is in one map HWND -> CWnd* (the permanent
// map; windows of the user-interface thread only, nothing locks it). A window
// made by CreateEx is subclassed before its first message, so WM_GETMINMAXINFO,
// WM_NCCREATE and WM_CREATE already reach the object; an existing window (a
// system control, say) can be subclassed later with SubclassWindow. Either way
// the object's WindowProc sees every message, and the procedure the window had
// before keeps the default handling (DefWindowProc).
//
// Notifications and the colour, owner-draw and scroll messages that a control
// sends its parent are first offered to the control's own object, as the message
// WM_REFLECT_BASE + the original number. When the control's WindowProc handles
// it, its answer is the parent's answer and the parent never sees the message;
// a reflected message that reaches CWnd::WindowProc counts as not handled and
// the parent gets the original.
#include <windows.h>

// Reflected messages arrive in the control's own WindowProc at this offset.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();  // destroys a window that still exists
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;  // the window this object stands for; null when none

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The permanent map.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // FALSE, changing nothing, when hWnd is null, already has an object, or this
    // object already has a window. Attaching does not subclass.
    BOOL Attach(HWND hWnd);
    // Leaves the map and gives back the handle; a window that this object
    // subclassed gets its previous procedure back, so it keeps working.
    HWND Detach();

    // Creates a window of a registered class (ours or a system one) for this
    // object. On failure nothing stays attached and PostNcDestroy is not called:
    // the object remains its creator's. Every window is a Unicode window: its
    // messages reach WindowProc with UTF-16 text and characters, so nothing
    // typed, pasted or shown is read in the system's code page on the way.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    // Attaches an existing window of this thread and routes its messages
    // through WindowProc, as a Unicode window; Detach undoes it.
    BOOL SubclassWindow(HWND hWnd);
    BOOL DestroyWindow();

    // Keyboard and mouse messages before they are dispatched; TRUE consumes one.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Offers msg to the objects of its window and of each parent (GetParent) in
    // turn, ending after the window stop (null: the top). lookup finds a
    // window's object.
    using ObjectLookup = CWnd* (*)(HWND hWnd);
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg, ObjectLookup lookup = FromHandlePermanent);

    // Every message of a framework window is handled by one call of a window
    // procedure; a program may have each such call made inside a frame of its
    // own (one that reports a fault in any window procedure, say). The frame
    // calls procedure(hWnd, message, wParam, lParam) and returns its result.
    // Null, the default, calls the procedure directly. Set before any window.
    using ProcedureFrame = LRESULT (*)(WNDPROC procedure, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void SetProcedureFrame(ProcedureFrame frame);

protected:
    // The class's own routing: one switch over the messages it handles; the
    // rest goes to the base class's WindowProc and ends here.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The handling the window had before the framework: the subclassed
    // procedure, or DefWindowProc.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A message this control sent its parent, offered back to it; TRUE with
    // *result when handled. The default hands WM_REFLECT_BASE + message to WindowProc.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs after the window's last message (WM_NCDESTROY), when the object no
    // longer has a window. The place where an object may delete itself.
    virtual void PostNcDestroy();

private:
    static LRESULT CALLBACK WndProcEntry(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static BOOL ReflectToSender(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void AttachAndSubclass(HWND hWnd);
    void FinishAfterNcDestroy();

    WNDPROC m_pfnSuper = nullptr;  // the window's procedure before we subclassed it; null when not subclassed
    bool m_creating = false;       // inside CreateEx: a failed creation does not call PostNcDestroy
};

// Registers a window class unless a class of that name is already registered
// for lpWndClass->hInstance; FALSE only when registration fails.
BOOL AfxRegisterClass(const WNDCLASSW* lpWndClass);
