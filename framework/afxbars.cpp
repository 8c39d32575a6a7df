#include "afxbars.h"
#include "afxdpi.h"

#include <algorithm>

namespace {
struct SideAlign {
    UINT side;
    DWORD align;
};
// In the order a bar's alignment picks its first side.
const SideAlign kSides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                            {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                            {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                            {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};

// A toolbar button's state, set through the toolbar.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar* bar) : m_bar(bar) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        if (m_bar->IsButtonEnabled(m_nID) != bOn) m_bar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(bOn, 0));
    }
    void SetCheck(int nCheck) override {
        CCmdUI::SetCheck(nCheck);
        m_bar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(nCheck != 0, 0));
    }

private:
    CToolBar* m_bar;
};

// An indicator pane: enabled shows its text, disabled shows nothing.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusCmdUI(CStatusBar* bar, int index, CString text) : m_bar(bar), m_index(index), m_text(std::move(text)) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        SetText(bOn ? m_text.c_str() : L"");
    }
    void SetText(const wchar_t* text) override {
        if (m_bar->GetPaneText(m_index) != text) m_bar->SetPaneText(m_index, text);
    }

private:
    CStatusBar* m_bar;
    int m_index;
    CString m_text;
};

int TextWidth(HWND h, const CString& text) {
    HDC dc = ::GetDC(h);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(h, dc);
    return size.cx;
}
}  // namespace

DWORD AfxAlignOfSide(UINT side) {
    for (const SideAlign& s : kSides)
        if (s.side == side) return s.align;
    return 0;
}

UINT AfxSideOfAlign(DWORD align) {
    for (const SideAlign& s : kSides)
        if (align & s.align) return s.side;
    return AFX_IDW_DOCKBAR_TOP;
}

// ---- CControlBar ----

UINT CControlBar::GetDockSide() const {
    return m_nDockSide ? m_nDockSide : AfxSideOfAlign(m_dwStyle & CBRS_ALIGN_ANY);
}

BOOL CControlBar::CreateBar(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD dwStyle, const RECT& r,
                            CWnd* pParent, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParent);
    if (m_pDockSite) m_pDockSite->AddControlBar(this);
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS;
    if (CreateEx(exStyle, className, title, windowStyle, r, pParent, nID)) return TRUE;
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    return FALSE;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IDLEUPDATECMDUI) {
        if (m_pDockSite && IsVisible()) OnUpdateCmdUI(m_pDockSite, static_cast<BOOL>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::OnDestroy() {
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    CWnd::OnDestroy();
}

// ---- CToolBar ----

BOOL CToolBar::CreateEx(CWnd* pParent, DWORD ctrlStyle, DWORD style, UINT nID) {
    // The frame places the bar: the control must neither move nor size itself.
    DWORD controls = ctrlStyle | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateBar(0, TOOLBARCLASSNAMEW, nullptr, style | controls, CRect(0, 0, 0, 0), pParent, nID)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    HINSTANCE res = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(res, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
    HGLOBAL loaded = found ? ::LoadResource(res, found) : nullptr;
    auto* data = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    DWORD bytes = found ? ::SizeofResource(res, found) : 0;
    if (!data || bytes < 8 || data[0] != 1 || bytes < 8u + 2u * data[3]) return FALSE;
    int cx = data[1], cy = data[2], count = data[3];
    if (!m_images.Create(nIDResource, cx, 0, RGB(192, 192, 192))) return FALSE;
    cx = AfxScaled(cx);
    cy = AfxScaled(cy);
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.GetSafeHandle()));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(cx, cy));
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b.idCommand = data[4 + i];
        b.iBitmap = b.idCommand ? image++ : 8;  // a separator's "image" is its width
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = b.idCommand ? TBSTYLE_BUTTON : TBSTYLE_SEP;
        b.iString = -1;
    }
    SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(cx + 7, cy + 7));
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON b{};
    SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b));
    return static_cast<UINT>(b.idCommand);
}

CString CToolBar::TipText(UINT id) { return AfxExtractSubString(AfxLoadString(id), 1); }

CSize CToolBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    // A row of buttons along the top or bottom, a column (every button wrapped) at the sides.
    for (int i = 0, n = GetCount(); i < n; ++i) {
        UINT id = GetItemID(i);
        if (id == 0) continue;
        auto state = static_cast<UINT>(SendMessage(TB_GETSTATE, id));
        UINT wanted = bHorz ? (state & ~TBSTATE_WRAP) : (state | TBSTATE_WRAP);
        if (wanted != state) SendMessage(TB_SETSTATE, id, MAKELONG(wanted, 0));
    }
    DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    return bHorz ? CSize(32767, HIWORD(size) + 4) : CSize(LOWORD(size) + 4, 32767);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) {
    CToolCmdUI state(this);
    for (int i = 0, n = GetCount(); i < n; ++i) {
        UINT id = GetItemID(i);
        if (id == 0) continue;
        state.m_nID = id;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

BOOL CToolBar::AnswerTipRequest(NMHDR* nm) {
    if (!(m_dwStyle & CBRS_TOOLTIPS)) return FALSE;
    CString tip = TipText(static_cast<UINT>(nm->idFrom));
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(nm);
    lstrcpynW(info->szText, tip.c_str(), ARRAYSIZE(info->szText));
    info->lpszText = info->szText;
    return TRUE;
}

void CToolBar::SetFlyBy(UINT id) {
    if (id == m_nFlyBy) return;
    m_nFlyBy = id;
    if (m_pDockSite) m_pDockSite->SendMessage(WM_SETMESSAGESTRING, id ? id : AFX_IDS_IDLEMESSAGE);
}

void CToolBar::TrackFlyBy(CPoint pt) {
    if (!(m_dwStyle & CBRS_FLYBY)) return;
    int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    SetFlyBy(index >= 0 ? GetItemID(index) : 0);
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
        m_bTrackingLeave = ::TrackMouseEvent(&tme) != FALSE;
    }
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (nm->code == TTN_GETDISPINFOW && AnswerTipRequest(nm)) return 0;
        break;
    }
    case WM_MOUSEMOVE:
        TrackFlyBy(CPoint(lParam));
        break;
    case WM_MOUSELEAVE:
        m_bTrackingLeave = false;
        SetFlyBy(0);
        break;
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// ---- CStatusBar ----

BOOL CStatusBar::Create(CWnd* pParent, DWORD style, UINT nID) {
    // The control keeps itself along the bottom of its parent at its own height.
    return CreateBar(0, STATUSCLASSNAMEW, nullptr, style | SBARS_SIZEGRIP, CRect(0, 0, 0, 0), pParent, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 1 || count > 255) return FALSE;
    m_ids.assign(ids, ids + count);
    m_texts.assign(static_cast<size_t>(count), CString());
    m_widths.assign(static_cast<size_t>(count), 0);
    for (size_t i = 0; i < m_ids.size(); ++i) {
        if (m_ids[i] == ID_SEPARATOR) continue;
        m_texts[i] = AfxLoadString(m_ids[i]);
        if (m_texts[i].empty()) return FALSE;
        m_widths[i] = TextWidth(m_hWnd, m_texts[i]) + 12;
    }
    UpdateParts();
    return TRUE;
}

void CStatusBar::UpdateParts() {
    if (m_ids.empty()) return;
    CRect r;
    GetClientRect(&r);
    std::vector<int> edges(m_ids.size());
    // Panes after the first keep their width from the right; the grip takes the corner.
    int right = r.right - ::GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = m_ids.size(); i-- > 1;) {
        edges[i] = i + 1 == m_ids.size() ? -1 : right;
        right -= m_widths[i];
    }
    edges[0] = std::max(right, 0);
    if (m_ids.size() == 1) edges[0] = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

CString CStatusBar::GetPaneText(int index) const {
    int n = LOWORD(SendMessage(SB_GETTEXTLENGTHW, index));
    CString s(static_cast<size_t>(n) + 1, '\0');
    SendMessage(SB_GETTEXTW, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

BOOL CStatusBar::SetPaneText(int index, const CString& text) {
    return SendMessage(SB_SETTEXTW, index, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
    // The control sets its own height from its font when told its parent's size.
    SendMessage(WM_SIZE);
    CRect r;
    GetWindowRect(&r);
    return CSize(r.Width(), r.Height());
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
    Default();
    UpdateParts();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
    for (size_t i = 0; i < m_ids.size(); ++i) {
        if (m_ids[i] == ID_SEPARATOR) continue;
        CStatusCmdUI state(this, static_cast<int>(i), m_texts[i]);
        state.m_nID = m_ids[i];
        state.DoUpdate(pTarget, FALSE);
    }
}
