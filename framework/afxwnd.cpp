#include "afxwnd.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

// ---- device contexts and GDI objects ----

void CDC::FillSolidRect(const RECT& r, COLORREF c) {
    COLORREF old = ::SetBkColor(m_hDC, c);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::GetDC(m_hWnd); }
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, m_hDC); }

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

BOOL CFont::CreatePointFont(int tenthsOfPoint, const wchar_t* face) {
    HDC screen = ::GetDC(nullptr);
    int height = -MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = height;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// ---- the maps from window handles to objects ----

namespace {
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_permanent;
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_temporary;

struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current{};

thread_local CWnd* t_pWndInit = nullptr;
thread_local CString t_initClass;
thread_local HHOOK t_hHook = nullptr;

void RegisterPermanent(HWND h, CWnd* p) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    g_permanent[h] = p;
}
void UnregisterPermanent(HWND h) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    g_permanent.erase(h);
}

bool ClassIs(HWND h, const CString& name) {
    wchar_t cls[256] = L"";
    ::GetClassNameW(h, cls, ARRAYSIZE(cls));
    return lstrcmpiW(cls, name.c_str()) == 0;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pWndInit) {
        HWND h = reinterpret_cast<HWND>(wParam);
        // Other windows (the input method's, for one) may be made first: take only ours.
        if (ClassIs(h, t_initClass)) {
            CWnd* p = t_pWndInit;
            t_pWndInit = nullptr;
            p->AttachCreated(h);
        }
    }
    return ::CallNextHookEx(t_hHook, code, wParam, lParam);
}
}  // namespace

void AfxHookWindowCreate(CWnd* pWnd, const wchar_t* className) {
    if (!t_hHook) t_hHook = ::SetWindowsHookExW(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
    t_initClass = className;
}

bool AfxUnhookWindowCreate() {
    bool attached = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    return attached;
}

const wchar_t* AfxRegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, UINT iconId, WNDPROC proc) {
    static std::mutex lock;
    static std::map<CString, CString> names;
    wchar_t key[160];
    wsprintfW(key, L"Corvane:%x:%p:%p:%u:%p", style, cursor, background, iconId, proc);
    std::lock_guard<std::mutex> guard(lock);
    auto it = names.find(key);
    if (it != names.end()) return it->second.c_str();
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    if (iconId) wc.hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconId));
    wc.lpszClassName = key;
    ::RegisterClassW(&wc);
    return names.emplace(key, key).first->second.c_str();
}

// ---- CWnd ----

CWnd::~CWnd() {
    if (m_hWnd && !m_bTemporary && FromHandlePermanent(m_hWnd) == this) {
        // The object goes before its window: the window must not call into freed memory.
        HWND h = m_hWnd;
        UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND h) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = g_permanent.find(h);
    return it == g_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND h) {
    if (!h) return nullptr;
    if (CWnd* p = FromHandlePermanent(h)) return p;
    auto& slot = t_temporary[h];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = h;
        slot->m_bTemporary = true;
    }
    return slot.get();
}

void CWnd::DeleteTempMap() {
    for (auto& entry : t_temporary) entry.second->m_hWnd = nullptr;
    t_temporary.clear();
}

void CWnd::AttachCreated(HWND h) {
    m_hWnd = h;
    RegisterPermanent(h, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW&) { return TRUE; }

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rect, CWnd* pParent, UINT_PTR idOrMenu, LPVOID param) {
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParent ? pParent->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    AfxHookWindowCreate(this, cs.lpszClass);
    HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return h != nullptr && m_hWnd == h;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* pParent, UINT id, LPVOID param) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, pParent, id, param);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND h) {
    if (!h || m_hWnd || FromHandlePermanent(h)) return FALSE;
    m_hWnd = h;
    RegisterPermanent(h, this);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* pParent) {
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    if (!h) return nullptr;
    if (m_pfnSuper &&
        ::GetWindowLongPtrW(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(AfxWndProc))
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    UnregisterPermanent(h);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return h;
}

void CWnd::OnNcDestroyed() {
    UnsubclassWindow();
    PostNcDestroy();
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (const MsgEntry* e = FindEntry(MsgKind::ControlReflect, HIWORD(wParam), 0)) {
            CallVoid(*e);
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (const MsgEntry* e = FindEntry(MsgKind::NotifyReflect, static_cast<int>(nm->code), 0)) {
            *pResult = 0;
            CallNotify(*e, nm, pResult);
            return TRUE;
        }
        return FALSE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        CDC dc(reinterpret_cast<HDC>(wParam));
        HBRUSH b = CtlColor(&dc, message - WM_CTLCOLORMSGBOX);
        if (!b) return FALSE;
        *pResult = reinterpret_cast<LRESULT>(b);
        return TRUE;
    }
    return FALSE;
}

HBRUSH CWnd::CtlColor(CDC*, UINT) { return nullptr; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    HWND ctrl = reinterpret_cast<HWND>(lParam);
    if (ctrl) {
        if (CWnd* child = FromHandlePermanent(ctrl)) {
            LRESULT r = 0;
            if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &r)) return TRUE;
        }
    } else if (code == 1) {
        code = CN_COMMAND;  // accelerators arrive with code 1
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (CWnd* child = FromHandlePermanent(nm->hwndFrom))
        if (child->OnChildNotify(WM_NOTIFY, 0, lParam, pResult)) return TRUE;
    if (const MsgEntry* e = FindEntry(MsgKind::Notify, static_cast<int>(nm->code), static_cast<UINT>(nm->idFrom))) {
        *pResult = 0;
        CallNotify(*e, nm, pResult);
        return TRUE;
    }
    return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCTW) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnInitDialog() { return static_cast<BOOL>(Default()); }
void CWnd::OnClose() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnHScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnVScroll(UINT, UINT, HWND) { Default(); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    // A control that colours itself answers first.
    if (pWnd && !pWnd->m_bTemporary) {
        LRESULT r = 0;
        if (pWnd->OnChildNotify(t_current.message, t_current.wParam, t_current.lParam, &r))
            return reinterpret_cast<HBRUSH>(r);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const MsgEntry* e = FindMessageEntry(message)) return CallMessage(*e, wParam, lParam);
    switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), (short)LOWORD(lParam), (short)HIWORD(lParam)); return 0;
    case WM_ERASEBKGND: {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return OnEraseBkgnd(&dc);
    }
    case WM_PAINT: OnPaint(); return 0;
    case WM_INITDIALOG: return OnInitDialog();
    case WM_CLOSE: OnClose(); return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY: {
        LRESULT r = 0;
        if (OnNotify(wParam, lParam, &r)) return r;
        break;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
        HWND ctrl = message == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem
                                           : ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
        if (CWnd* child = FromHandlePermanent(ctrl)) {
            LRESULT r = 0;
            if (child->OnChildNotify(message, wParam, lParam, &r)) return TRUE;
        }
        break;
    }
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(
            OnCtlColor(&dc, FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
    }
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), CPoint(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(static_cast<UINT>(wParam), CPoint(lParam)); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(static_cast<UINT>(wParam), CPoint(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam)); return 0;
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_HSCROLL: OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    default: break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    CurrentMessage saved = t_current;
    t_current = {hWnd, message, wParam, lParam};
    LRESULT r = p->WindowProc(message, wParam, lParam);
    t_current = saved;
    if (message == WM_NCDESTROY) p->OnNcDestroyed();
    return r;
}

INT_PTR CALLBACK AfxDlgProc(HWND, UINT message, WPARAM, LPARAM) {
    // The dialog's own object handles everything through AfxWndProc; WM_INITDIALOG never
    // gets here for framework dialogs. Anything else takes the dialog manager's defaults.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// ---- wrappers ----

void CWnd::SetWindowText(const CString& text) {
    // Setting the same text again would repaint the caption for nothing.
    if (GetWindowText() != text) ::SetWindowTextW(m_hWnd, text.c_str());
}

CString CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    CString s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextW(m_hWnd, s.data(), n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

CString CWnd::GetDlgItemText(int id) const {
    HWND h = ::GetDlgItem(m_hWnd, id);
    int n = ::GetWindowTextLengthW(h);
    CString s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextW(h, s.data(), n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

void CWnd::MoveWindow(const RECT& r, BOOL repaint) {
    ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

void CWnd::ScreenToClient(RECT* r) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(r), 2);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = GetStyle();
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, next);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}
