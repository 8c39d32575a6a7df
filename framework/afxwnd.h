// Windows, device contexts and GDI objects.
#pragma once
#include "afxmsg.h"

// Device context wrapper; it does not own the handle unless a derived class says so.
class CDC {
public:
    HDC m_hDC = nullptr;
    CDC() = default;
    explicit CDC(HDC h) : m_hDC(h) {}
    virtual ~CDC() = default;
    HDC GetSafeHdc() const { return m_hDC; }
    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    void FillSolidRect(const RECT& r, COLORREF c);
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
};

class CWnd;
class CDataExchange;

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// A GDI object that deletes its handle when it goes.
class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h) { DeleteObject(); m_hObject = h; return h != nullptr; }
};

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int style, int width, COLORREF c) { return Attach(::CreatePen(style, width, c)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontW(int h, int w, int esc, int orient, int weight, BYTE italic, BYTE underline,
                     BYTE strike, BYTE charset, BYTE outPrec, BYTE clipPrec, BYTE quality,
                     BYTE pitch, const wchar_t* face) {
        return Attach(::CreateFontW(h, w, esc, orient, weight, italic, underline, strike, charset,
                                    outPrec, clipPrec, quality, pitch, face));
    }
    BOOL CreateFontIndirectW(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    // Point size in tenths of a point, for the screen.
    BOOL CreatePointFont(int tenthsOfPoint, const wchar_t* face);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id) {
        return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
    }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// A window. Objects made by the framework are "permanent": the window's messages reach the
// object's WindowProc. Any other window can be wrapped for a moment with FromHandle.
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    static CWnd* FromHandlePermanent(HWND h);
    // Whether this object still is the window self was, after a modal box or a message loop
    // during which the window may have been closed (and its object freed or reused).
    bool StillOwns(HWND self) const { return ::IsWindow(self) && FromHandlePermanent(self) == this; }
    // A permanent object, or a temporary wrapper kept until the thread's next idle time.
    static CWnd* FromHandle(HWND h);
    static void DeleteTempMap();

    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* pParent, UINT_PTR idOrMenu, LPVOID param = nullptr);
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                CWnd* pParent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    BOOL SubclassWindow(HWND h);
    BOOL SubclassDlgItem(UINT id, CWnd* pParent);
    HWND UnsubclassWindow();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();  // the default handling of the message being handled
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification that the parent hands back to the control that sent it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The control's own answer to a reflected WM_CTLCOLOR; null lets the parent decide.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    virtual int OnCreate(LPCREATESTRUCTW lpcs);
    virtual void OnDestroy();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnPaint();
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual BOOL OnInitDialog();
    virtual void OnClose();
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, HWND hScrollBar);

    // Dialog data exchange: controls to members (FALSE) or members from controls (TRUE).
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Thin wrappers.
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageW(m_hWnd, m, w, l); }
    void SetWindowText(const CString& text);
    CString GetWindowText() const;
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE);
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void ScreenToClient(RECT* r) const;
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) { return ::RedrawWindow(m_hWnd, nullptr, nullptr, flags); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, const CString& text) { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }
    CString GetDlgItemText(int id) const;
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT f, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(f), redraw); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    // Framework internals.
    void AttachCreated(HWND h);  // a window made for this object: subclass and register it
    void OnNcDestroyed();
    WNDPROC m_pfnSuper = nullptr;
    bool m_bTemporary = false;
};

// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The next window created on this thread whose class is className belongs to pWnd.
void AfxHookWindowCreate(CWnd* pWnd, const wchar_t* className);
bool AfxUnhookWindowCreate();
// A window class registered with the given style, cursor, background and icon resource.
const wchar_t* AfxRegisterWndClass(UINT style, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                UINT iconId = 0, WNDPROC proc = ::DefWindowProcW);
