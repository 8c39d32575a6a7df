#include "afxframe.h"

#include "afxapp.h"
#include "afxbars.h"
#include "afxview.h"

#include <algorithm>

namespace {
const CRect kDefaultRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);

HMENU LoadMenuIfAny(UINT id) {
    HINSTANCE res = AfxGetResourceHandle();
    return ::FindResourceW(res, MAKEINTRESOURCEW(id), RT_MENU) ? ::LoadMenuW(res, MAKEINTRESOURCEW(id)) : nullptr;
}
HACCEL LoadAccelIfAny(UINT id) {
    HINSTANCE res = AfxGetResourceHandle();
    return ::FindResourceW(res, MAKEINTRESOURCEW(id), RT_ACCELERATOR)
               ? ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(id))
               : nullptr;
}
// A menu item's state, set through its position in the popup.
class CMenuCmdUI : public CCmdUI {
public:
    CMenuCmdUI(HMENU menu, UINT index) : m_menu(menu), m_index(index) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        ::EnableMenuItem(m_menu, m_index, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int nCheck) override {
        CCmdUI::SetCheck(nCheck);
        ::CheckMenuItem(m_menu, m_index, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }

private:
    HMENU m_menu;
    UINT m_index;
};
}  // namespace

// ---- CFrameWnd ----

const MsgMap CFrameWnd::messageMap{&CWnd::messageMap, {
    msg::Message(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopup),
    msg::Message(WM_MENUSELECT, &CFrameWnd::OnMenuSelect),
    msg::Message(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString),
    msg::Message(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI),
    msg::UpdateUI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator),
    msg::UpdateUI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator),
    msg::UpdateUI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator),
}};

const wchar_t* CFrameWnd::FrameClassName(UINT iconId) {
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), iconId);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD style, CWnd* pParent, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    m_strTitle = AfxExtractSubString(AfxLoadString(nIDResource), 0);
    m_hMenuDefault = LoadMenuIfAny(nIDResource);
    m_pCreateContext = pContext;
    const wchar_t* cls = FrameClassName(nIDResource);
    CREATESTRUCTW cs{};
    AfxHookWindowCreate(this, cls);
    HWND h = ::CreateWindowExW(0, cls, m_strTitle.c_str(), style, kDefaultRect.left, kDefaultRect.top,
                               kDefaultRect.right, kDefaultRect.bottom, pParent ? pParent->m_hWnd : nullptr,
                               m_hMenuDefault, AfxGetInstanceHandle(), nullptr);
    bool attached = AfxUnhookWindowCreate();
    (void)cs;
    if (!h) {
        // A window that was made and failed has deleted its object already.
        if (!attached) delete this;
        return FALSE;
    }
    m_pCreateContext = nullptr;
    m_hAccelTable = LoadAccelIfAny(nIDResource);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    return OnCreateClient(lpcs, m_pCreateContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    auto* view = dynamic_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
    if (!view) return nullptr;
    if (!view->CreateViewWindow(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext)) return nullptr;
    return view;
}

CWnd* CFrameWnd::PaneWindow() const { return FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)); }

CDocument* CFrameWnd::GetActiveDocument() {
    CView* v = GetActiveView();
    return v ? v->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    if (!m_pViewActive) m_pViewActive = dynamic_cast<CView*>(PaneWindow());
    if (bMakeVisible) {
        if (pDoc)
            for (CView* v : std::vector<CView*>(pDoc->GetViews()))
                if (v->GetParentFrame() == this) v->SendMessage(WM_INITIALUPDATE);
        ActivateFrame();
    }
    if (IsWindow()) OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL) { SetWindowText(m_strTitle); }

void CFrameWnd::RecalcLayout() {
    CRect r;
    GetClientRect(&r);
    RepositionBars(&r, true);
    if (CWnd* pane = PaneWindow()) pane->MoveWindow(r);
}

// ---- control bars ----

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar* bar : m_listControlBars)
        if (bar->IsWindow() && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }

BOOL CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID) {
    UINT side = nDockBarID ? nDockBarID : AfxSideOfAlign(pBar->GetBarStyle() & CBRS_ALIGN_ANY);
    DWORD align = AfxAlignOfSide(side);
    if (!(align & m_dwDockStyle & pBar->GetDockStyle())) return FALSE;
    pBar->SetDockSide(side);
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    pBar->ShowBar(bShow);
    if (!bDelay) RecalcLayout();
}

void CFrameWnd::RepositionBars(RECT* r, bool bMove, const CControlBar* stopAt) {
    for (CControlBar* bar : m_listControlBars) {
        if (bar == stopAt) break;
        if (!bar->IsWindow() || bar->IsFloating() || !(bar->GetStyle() & WS_VISIBLE)) continue;
        UINT side = bar->GetDockSide();
        bool horz = side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
        CSize size = bar->CalcFixedLayout(TRUE, horz);
        CRect place(*r);
        switch (side) {
        case AFX_IDW_DOCKBAR_TOP: place.bottom = r->top = std::min(r->bottom, r->top + size.cy); break;
        case AFX_IDW_DOCKBAR_BOTTOM: place.top = r->bottom = std::max(r->top, r->bottom - size.cy); break;
        case AFX_IDW_DOCKBAR_LEFT: place.right = r->left = std::min(r->right, r->left + size.cx); break;
        default: place.left = r->right = std::max(r->left, r->right - size.cx); break;
        }
        if (bMove)
            bar->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (!bar) return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    if (CControlBar* bar = GetControlBar(pCmdUI->m_nID)) {
        pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL
              : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                   : VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

// ---- menus and the message pane ----

CWnd* CFrameWnd::GetMessageBar() const {
    CControlBar* bar = GetControlBar(AFX_IDW_STATUS_BAR);
    return bar && bar->IsVisible() ? bar : nullptr;
}

void CFrameWnd::SetMessageText(UINT nID) {
    SetMessageText(nID ? AfxExtractSubString(AfxLoadString(nID), 0) : CString());
    m_nIDLastMessage = nID;
}

void CFrameWnd::SetMessageText(const CString& text) {
    if (CWnd* bar = GetMessageBar()) {
        bar->SetWindowText(text);
        bar->UpdateWindow();
    }
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    LRESULT r = Default();
    if (HIWORD(lParam)) return r;  // the system menu keeps its own states
    auto menu = reinterpret_cast<HMENU>(wParam);
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
        CMenuCmdUI state(menu, static_cast<UINT>(i));
        state.m_nID = id;
        state.DoUpdate(this, TRUE);
    }
    return r;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT item = LOWORD(wParam), flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
    else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))
        m_nIDTracking = 0;
    else
        m_nIDTracking = item;
    SetMessageText(m_nIDTracking);
    return Default();
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    // What is set here stays until the sender changes it: idle time must not undo it.
    UINT previous = m_nIDLastMessage;
    if (wParam) {
        m_nIDTracking = static_cast<UINT>(wParam);
        SetMessageText(m_nIDTracking);
    } else {
        SetMessageText(lParam ? CString(reinterpret_cast<const wchar_t*>(lParam)) : CString());
        m_nIDTracking = m_nIDLastMessage = 0;
    }
    return previous;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
    return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CView* v = GetActiveView())
        if (v->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::OnClose() {
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->SaveModified()) return;
    if (doc) {
        bool onlyFrame = true;
        for (CView* v : doc->GetViews())
            if (v->GetParentFrame() != this) onlyFrame = false;
        if (onlyFrame) {
            doc->OnCloseDocument();  // takes this frame with it
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

// ---- CMDIFrameWnd ----

// Only the main frame has bars: a page frame routes these on to it.
const MsgMap CMDIFrameWnd::messageMap{&CFrameWnd::messageMap, {
    msg::Command(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheckFor<ID_VIEW_STATUS_BAR>),
    msg::UpdateUI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu),
    msg::Command(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheckFor<ID_VIEW_TOOLBAR>),
    msg::UpdateUI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu),
}};

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext*) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    // MDIS_ALLCHILDSTYLES lets children be created hidden: they show when activated.
    m_hWndMDIClient = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES,
        0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
        AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    BOOL max = FALSE;
    HWND h = m_hWndMDIClient
                 ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)))
                 : nullptr;
    if (pbMaximized) *pbMaximized = max;
    return dynamic_cast<CMDIChildWnd*>(FromHandlePermanent(h));
}

CView* CMDIFrameWnd::GetActiveView() const {
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveView() : nullptr;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL) {
    BOOL max = FALSE;
    CMDIChildWnd* child = MDIGetActive(&max);
    CString title = m_strTitle;
    if ((GetStyle() & FWS_ADDTOTITLE) && child && !max && child->IsWindowVisible())
        if (CDocument* doc = child->GetActiveDocument()) title += L" - " + doc->GetTitle();
    SetWindowText(title);
}

void CMDIFrameWnd::GetClientAreaForPane(RECT* r) {
    GetClientRect(r);
    RepositionBars(r, false);
}

void CMDIFrameWnd::RecalcLayout() {
    CRect r;
    GetClientRect(&r);
    RepositionBars(&r, true);
    if (m_hWndMDIClient) ::MoveWindow(m_hWndMDIClient, r.left, r.top, r.Width(), r.Height(), TRUE);
}

void CMDIFrameWnd::OnSize(UINT nType, int, int) {
    // Not the default handling: it would lay the MDI client over the whole client area.
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CMDIChildWnd* child = MDIGetActive())
        if (child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnClose() {
    if (CWinApp* app = AfxGetApp())
        if (app->m_pMainWnd == this) {
            if (!app->SaveAllModified()) return;
            app->CloseAllDocuments(FALSE);
        }
    DestroyWindow();
}

// ---- CMDIChildWnd ----

const wchar_t* CMDIChildWnd::FrameClassName(UINT iconId) {
    return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), iconId, ::DefMDIChildProcW);
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD style, CWnd* pParent, CCreateContext* pContext) {
    auto* main = pParent ? dynamic_cast<CMDIFrameWnd*>(pParent) : dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!main || !main->m_hWndMDIClient) {
        delete this;
        return FALSE;
    }
    m_nIDHelp = nIDResource;
    m_strTitle = AfxExtractSubString(AfxLoadString(nIDResource), CDocTemplate::windowTitle);
    if (pContext && pContext->m_pNewDocTemplate) {
        m_hMenuShared = pContext->m_pNewDocTemplate->m_hMenuShared;
        m_hAccelTable = pContext->m_pNewDocTemplate->m_hAccelTable;
    }
    m_pCreateContext = pContext;
    const wchar_t* cls = FrameClassName(nIDResource);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = cls;
    mcs.szTitle = m_strTitle.c_str();
    mcs.hOwner = AfxGetInstanceHandle();
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    // Children are made hidden; ActivateFrame shows them.
    mcs.style = (style | WS_CHILD) & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(pContext);
    AfxHookWindowCreate(this, cls);
    HWND h = reinterpret_cast<HWND>(::SendMessageW(main->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    bool attached = AfxUnhookWindowCreate();
    if (!h) {
        if (!attached) delete this;
        return FALSE;
    }
    m_pCreateContext = nullptr;
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    return dynamic_cast<CMDIFrameWnd*>(FromHandlePermanent(::GetParent(::GetParent(m_hWnd))));
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    CMDIFrameWnd* main = GetMDIFrame();
    if (main && main->m_hWndMDIClient)
        ::SendMessageW(main->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    else
        ::DestroyWindow(m_hWnd);
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* main = GetMDIFrame();
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    if (main) ::SendMessageW(main->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    ::BringWindowToTop(m_hWnd);
    OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CDocument* doc = GetActiveDocument();
    if ((GetStyle() & FWS_ADDTOTITLE) && doc) SetWindowText(doc->GetTitle());
    if (CMDIFrameWnd* main = GetMDIFrame()) main->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    Default();  // the MDI child needs its own handling for maximising
    CFrameWnd::OnSize(nType, cx, cy);
}

LRESULT CMDIChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MDIACTIVATE) return CFrameWnd::WindowProc(message, wParam, lParam);
    LRESULT r = CFrameWnd::WindowProc(message, wParam, lParam);
    CMDIFrameWnd* main = GetMDIFrame();
    if (!main) return r;
    bool activating = reinterpret_cast<HWND>(lParam) == m_hWnd;
    // The active page brings its template's menu; with no page active the frame's own returns.
    if (activating || lParam == 0) {
        HMENU menu = activating && m_hMenuShared ? m_hMenuShared : main->m_hMenuDefault;
        if (menu && ::GetMenu(main->m_hWnd) != menu) {
            ::SendMessageW(main->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
            ::DrawMenuBar(main->m_hWnd);
        }
    }
    main->OnUpdateFrameTitle(TRUE);
    return r;
}
