#include "afxview.h"

#include <algorithm>

#include "afxapp.h"
#include "afxdlg.h"

// ---- CView ----

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (auto* f = dynamic_cast<CFrameWnd*>(FromHandlePermanent(h))) return f;
    return nullptr;
}

BOOL CView::CreateViewWindow(DWORD style, const RECT& r, CWnd* pParent, UINT nID, CCreateContext* pContext) {
    m_pCreateContext = pContext;
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    BOOL ok = CreateEx(WS_EX_CLIENTEDGE, cls, nullptr, style | WS_CHILD, r, pParent, nID);
    if (ok) m_pCreateContext = nullptr;
    return ok;
}

int CView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc) m_pCreateContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITIALUPDATE) {
        OnInitialUpdate();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- printing ----

CPrintInfo::CPrintInfo() {
    m_pd.lStructSize = sizeof m_pd;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 1;  // a view that knows more pages says so in OnPreparePrinting
}

CPrintInfo::~CPrintInfo() {
    if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
}

UINT CPrintInfo::GetFromPage() const { return (m_pd.Flags & PD_PAGENUMS) ? m_pd.nFromPage : GetMinPage(); }
UINT CPrintInfo::GetToPage() const { return (m_pd.Flags & PD_PAGENUMS) ? m_pd.nToPage : GetMaxPage(); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    PRINTDLGW& pd = pInfo->m_pd;
    CWnd* main = AfxGetMainWnd();
    pd.hwndOwner = main && main->IsWindow() ? main->m_hWnd : m_hWnd;
    pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION;
    if (pInfo->m_bDirect) pd.Flags |= PD_RETURNDEFAULT;
    if (pd.nMinPage == pd.nMaxPage) pd.Flags |= PD_NOPAGENUMS;
    pd.nFromPage = pd.nMinPage;
    pd.nToPage = pd.nMaxPage;
    return ::PrintDlgW(&pd) && pd.hDC;
}

void CView::PrintJob(CPrintInfo& info) {
    if (!OnPreparePrinting(&info)) return;
    CDC dc(info.m_pd.hDC);
    CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    OnBeginPrinting(&dc, &info);
    if (::StartDocW(dc.m_hDC, &doc) > 0) {
        bool ok = true;
        for (info.m_nCurPage = info.GetFromPage(); ok && info.m_nCurPage <= info.GetToPage(); ++info.m_nCurPage) {
            ok = ::StartPage(dc.m_hDC) > 0;
            if (!ok) break;
            info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
            OnPrepareDC(&dc);
            OnPrint(&dc, &info);
            ok = ::EndPage(dc.m_hDC) > 0;
        }
        if (ok)
            ::EndDoc(dc.m_hDC);
        else
            ::AbortDoc(dc.m_hDC);
    }
    OnEndPrinting(&dc, &info);
}

void CView::OnFilePrint() {
    CPrintInfo info;
    PrintJob(info);
}

void CView::OnFilePrintDirect() {
    CPrintInfo info;
    info.m_bDirect = TRUE;
    PrintJob(info);
}

void CView::OnFilePrintPreview() {
    CPrintInfo info;
    info.m_bPreview = TRUE;
    PrintJob(info);
}

// ---- CScrollView ----

void CScrollView::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line) {
    m_nMapMode = mapMode;
    m_totalDev = CSize(total.cx, total.cy);
    m_pageDev = CSize(page.cx ? page.cx : total.cx / 10, page.cy ? page.cy : total.cy / 10);
    m_lineDev = CSize(line.cx ? line.cx : m_pageDev.cx / 10, line.cy ? line.cy : m_pageDev.cy / 10);
    if (m_hWnd) UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const {
    return CPoint(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
}

void CScrollView::OnPrepareDC(CDC* pDC) {
    // A printed page starts at the top of the view, wherever the window is scrolled to.
    if (pDC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER) return;
    CPoint pos = GetScrollPosition();
    ::SetViewportOrgEx(pDC->m_hDC, -pos.x, -pos.y, nullptr);
}

void CScrollView::UpdateBars() {
    // Decided on the room without the bars: otherwise each bar shown stays for the room the other
    // takes, and a view grown large enough keeps both, its content cut under the vertical one.
    CRect client;
    GetClientRect(&client);
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const int barW = ::GetSystemMetrics(SM_CXVSCROLL), barH = ::GetSystemMetrics(SM_CYHSCROLL);
    int w = client.Width() + (style & WS_VSCROLL ? barW : 0), h = client.Height() + (style & WS_HSCROLL ? barH : 0);
    bool sideways = m_totalDev.cx > w, upDown = m_totalDev.cy > h;
    if (sideways && !upDown) upDown = m_totalDev.cy > h - barH;
    if (upDown && !sideways) sideways = m_totalDev.cx > w - barW;
    if (upDown) w -= barW;
    if (sideways) h -= barH;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    si.nMax = m_totalDev.cx > 0 ? m_totalDev.cx - 1 : 0;
    si.nPage = static_cast<UINT>(std::max(w, 0));
    ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
    si.nMax = m_totalDev.cy > 0 ? m_totalDev.cy - 1 : 0;
    si.nPage = static_cast<UINT>(std::max(h, 0));
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    if (m_nMapMode) UpdateBars();
}

void CScrollView::ScrollBy(int bar, UINT code, UINT pos) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(m_hWnd, bar, &si);
    int line = bar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy;
    int page = static_cast<int>(si.nPage);
    int next = si.nPos;
    switch (code) {
    case SB_LINEUP: next -= std::max(line, 1); break;
    case SB_LINEDOWN: next += std::max(line, 1); break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_TOP: next = si.nMin; break;
    case SB_BOTTOM: next = si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = static_cast<int>(pos); break;
    default: return;
    }
    next = std::max(si.nMin, std::min(next, si.nMax - std::max(page - 1, 0)));
    int delta = si.nPos - next;
    if (!delta) return;
    ::SetScrollPos(m_hWnd, bar, next, TRUE);
    if (bar == SB_HORZ)
        ::ScrollWindowEx(m_hWnd, delta, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    else
        ::ScrollWindowEx(m_hWnd, 0, delta, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar) {
    if (hScrollBar) return CView::OnHScroll(nSBCode, nPos, hScrollBar);
    ScrollBy(SB_HORZ, nSBCode, nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, HWND hScrollBar) {
    if (hScrollBar) return CView::OnVScroll(nSBCode, nPos, hScrollBar);
    ScrollBy(SB_VERT, nSBCode, nPos);
}

// ---- CFormView ----

std::vector<BYTE> AfxLoadDialogTemplate(UINT id, DWORD removeStyle, DWORD addStyle) {
    HINSTANCE res = AfxGetResourceHandle();
    HRSRC r = ::FindResourceW(res, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (!r) return {};
    HGLOBAL g = ::LoadResource(res, r);
    auto* p = static_cast<const BYTE*>(::LockResource(g));
    DWORD size = ::SizeofResource(res, r);
    if (!p || size < 18) return {};
    std::vector<BYTE> t(p, p + size);
    // An extended template starts with version 1 and the signature 0xFFFF; its style follows
    // the help id and the extended style.
    bool extended = t[0] == 1 && t[1] == 0 && t[2] == 0xFF && t[3] == 0xFF;
    size_t at = extended ? 12 : 0;
    DWORD style;
    memcpy(&style, &t[at], sizeof style);
    style = (style & ~removeStyle) | addStyle;
    memcpy(&t[at], &style, sizeof style);
    return t;
}

BOOL CFormView::CreateViewWindow(DWORD style, const RECT& r, CWnd* pParent, UINT nID, CCreateContext* pContext) {
    std::vector<BYTE> t = AfxLoadDialogTemplate(
        m_nIDTemplate, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE,
        WS_CHILD | DS_CONTROL);
    if (t.empty()) {
        delete this;
        return FALSE;
    }
    m_pCreateContext = pContext;
    AfxHookWindowCreate(this, L"#32770");
    HWND h = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                          pParent->m_hWnd, AfxDlgProc, 0);
    bool attached = AfxUnhookWindowCreate();
    if (!h) {
        if (!attached) delete this;
        return FALSE;
    }
    m_pCreateContext = nullptr;
    ::SetWindowLongPtrW(h, GWLP_ID, nID);
    ::SetWindowLongPtrW(h, GWL_EXSTYLE, ::GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    CRect dialog;
    GetWindowRect(&dialog);
    SetScrollSizes(MM_TEXT, CSize(dialog.Width(), dialog.Height()));
    MoveWindow(r);
    if (style & WS_VISIBLE) ShowWindow(SW_SHOWNA);
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
    // The dialog manager would swallow the frames' accelerators: they come first.
    for (CFrameWnd* f = GetParentFrame(); f;) {
        if (f->PreTranslateMessage(pMsg)) return TRUE;
        HWND up = ::GetParent(f->m_hWnd);
        f = nullptr;
        for (; up; up = ::GetParent(up))
            if ((f = dynamic_cast<CFrameWnd*>(FromHandlePermanent(up)))) break;
    }
    if (!::GetWindow(m_hWnd, GW_CHILD)) return FALSE;
    if ((pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
        (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST))
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}
