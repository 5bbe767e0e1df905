#include "framework/wnd.h"

#include <unordered_map>
#include <utility>

namespace {

// Never destroyed: objects with static storage may outlive any destructor order.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static auto* map = new std::unordered_map<HWND, CWnd*>();
    return *map;
}

// The CreateEx under way on this thread; nested creations (a child made during
// its parent's WM_CREATE) stack through `outer`.
struct Creation {
    CWnd* object;       // whose window is being made
    LPCWSTR className;  // as the caller named it: a name or an atom
    bool attached;      // the hook has found the window
};
thread_local Creation* creationUnderWay = nullptr;

// Set while a reflected message runs through a control's WindowProc; cleared
// when the message falls through to CWnd::WindowProc (not handled). Kept
// outside the object, which the handler may delete.
thread_local bool* reflectedHandled = nullptr;

CWnd::ProcedureFrame procedureFrame = nullptr;

bool IsReflectedMessage(UINT message) { return message >= WM_REFLECT_BASE && message < WM_REFLECT_BASE + WM_USER; }

bool IsClassOf(HWND hWnd, LPCWSTR className) {
    if (IS_INTRESOURCE(className))
        return GetClassLongW(hWnd, GCW_ATOM) == static_cast<DWORD>(reinterpret_cast<UINT_PTR>(className));
    wchar_t name[256];
    return GetClassNameW(hWnd, name, 256) > 0 && lstrcmpiW(name, className) == 0;
}

LONG_PTR SetProcedure(HWND hWnd, WNDPROC procedure) {
    return SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

WNDPROC ProcedureOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC)); }

// Whether size bytes at address can be read. Messages that carry a structure
// may come from another process with any number in lParam.
bool Readable(LPARAM address, size_t size) {
    MEMORY_BASIC_INFORMATION region;
    if (address == 0 || VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) == 0)
        return false;
    const DWORD unreadable = PAGE_NOACCESS | PAGE_GUARD;
    const auto end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    return region.State == MEM_COMMIT && (region.Protect & unreadable) == 0 &&
           static_cast<uintptr_t>(address) + size <= end;
}

// The control that sent a message to its parent, or null when the message
// names none (menus, accelerators, a window's own scroll bars). Only a window
// handle is taken from a structure, and only the map is asked about it.
HWND SenderOf(HWND parent, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        break;
    default:
        return nullptr;
    }
    switch (message) {
    case WM_NOTIFY:
        if (!Readable(lParam, sizeof(NMHDR))) return nullptr;
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        if (!Readable(lParam, sizeof(DRAWITEMSTRUCT))) return nullptr;
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
        if (!Readable(lParam, sizeof(MEASUREITEMSTRUCT))) return nullptr;
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(item->CtlID));
    }
    case WM_DELETEITEM:
        if (!Readable(lParam, sizeof(DELETEITEMSTRUCT))) return nullptr;
        return reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
    case WM_COMPAREITEM:
        if (!Readable(lParam, sizeof(COMPAREITEMSTRUCT))) return nullptr;
        return reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    default: return nullptr;
    }
}

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd == nullptr) return;
    // The window's last messages reach CWnd's own handling from here on.
    if (IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr) Detach();  // a window of another thread, or one already gone
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    const auto& map = PermanentMap();
    const auto found = map.find(hWnd);
    return found == map.end() ? nullptr : found->second;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr) return FALSE;
    if (!PermanentMap().emplace(hWnd, this).second) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND hWnd = std::exchange(m_hWnd, nullptr);
    if (hWnd == nullptr) return nullptr;
    PermanentMap().erase(hWnd);
    const WNDPROC super = std::exchange(m_pfnSuper, nullptr);
    // Only when ours is still the window's procedure: a later subclasser's chain stays intact.
    if (super != nullptr && ProcedureOf(hWnd) == &CWnd::WndProcEntry) SetProcedure(hWnd, super);
    return hWnd;
}

// Subclassed with the wide call: the window is (or becomes) a Unicode window,
// and the system converts for a previous procedure that was not.
void CWnd::AttachAndSubclass(HWND hWnd) {
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(SetProcedure(hWnd, &CWnd::WndProcEntry));
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == nullptr || GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) return FALSE;
    if (!Attach(hWnd)) return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(SetProcedure(hWnd, &CWnd::WndProcEntry));
    if (m_pfnSuper == nullptr) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    Creation* creation = creationUnderWay;
    if (code == HCBT_CREATEWND && creation != nullptr && !creation->attached) {
        const HWND hWnd = reinterpret_cast<HWND>(wParam);
        // Windows the system makes on the side (an IME window) are not ours.
        if (FromHandlePermanent(hWnd) == nullptr && IsClassOf(hWnd, creation->className)) {
            creation->attached = true;
            creation->object->AttachAndSubclass(hWnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param) {
    if (m_hWnd != nullptr || className == nullptr) return FALSE;
    Creation creation{this, className, false};
    Creation* const outer = std::exchange(creationUnderWay, &creation);
    const HHOOK hook = SetWindowsHookExW(WH_CBT, &CWnd::CreationHook, nullptr, GetCurrentThreadId());
    m_creating = true;
    const HWND hWnd = CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId,
                                      GetModuleHandleW(nullptr), param);
    m_creating = false;
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    creationUnderWay = outer;
    if (hWnd == nullptr) return FALSE;  // a window that existed briefly was detached by its WM_NCDESTROY
    // Without the hook the object is attached late: the first messages went elsewhere.
    if (m_hWnd == nullptr) AttachAndSubclass(hWnd);
    return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr && ::DestroyWindow(m_hWnd); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg, ObjectLookup lookup) {
    for (HWND hWnd = msg->hwnd; hWnd != nullptr; hWnd = GetParent(hWnd)) {
        CWnd* wnd = lookup(hWnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hWnd == stop) break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsReflectedMessage(message)) {
        if (reflectedHandled != nullptr) *reflectedHandled = false;
        return 0;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    bool handled = true;
    bool* const outer = std::exchange(reflectedHandled, &handled);
    const LRESULT answer = WindowProc(WM_REFLECT_BASE + message, wParam, lParam);
    reflectedHandled = outer;
    if (handled) *result = answer;
    return handled ? TRUE : FALSE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::ReflectToSender(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* sender = FromHandlePermanent(SenderOf(parent, message, wParam, lParam));
    return sender != nullptr && sender->OnChildNotify(message, wParam, lParam, result);
}

void CWnd::FinishAfterNcDestroy() {
    Detach();
    if (!m_creating) PostNcDestroy();
}

void CWnd::SetProcedureFrame(ProcedureFrame frame) { procedureFrame = frame; }

LRESULT CALLBACK CWnd::WndProcEntry(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (procedureFrame != nullptr) return procedureFrame(&CWnd::HandleMessage, hWnd, message, wParam, lParam);
    return HandleMessage(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr) return DefWindowProcW(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    if (ReflectToSender(hWnd, message, wParam, lParam, &result)) return result;
    result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) wnd->FinishAfterNcDestroy();
    return result;
}

BOOL AfxRegisterClass(const WNDCLASSW* lpWndClass) {
    WNDCLASSW existing;
    if (GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
    return RegisterClassW(lpWndClass) != 0;
}
