#include "MRCSizeDock.h"

#include <algorithm>

namespace {
const int kSplitter = 6;   // the sizing edge on the inner side of a docked bar
const int kDockZone = 32;  // how near a side a drag must come to dock there

bool IsHorizontal(UINT side) { return side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM; }

int Distance(const CRect& area, UINT side, POINT pt) {
    switch (side) {
    case AFX_IDW_DOCKBAR_LEFT: return pt.x - area.left;
    case AFX_IDW_DOCKBAR_RIGHT: return area.right - pt.x;
    case AFX_IDW_DOCKBAR_TOP: return pt.y - area.top;
    default: return area.bottom - pt.y;
    }
}

UINT Opposite(UINT side) {
    switch (side) {
    case AFX_IDW_DOCKBAR_LEFT: return AFX_IDW_DOCKBAR_RIGHT;
    case AFX_IDW_DOCKBAR_RIGHT: return AFX_IDW_DOCKBAR_LEFT;
    case AFX_IDW_DOCKBAR_TOP: return AFX_IDW_DOCKBAR_BOTTOM;
    default: return AFX_IDW_DOCKBAR_TOP;
    }
}

// The strip of area along a side, thickness pixels deep.
CRect Strip(const CRect& area, UINT side, int thickness) {
    CRect r = area;
    switch (side) {
    case AFX_IDW_DOCKBAR_LEFT: r.right = std::min(area.right, area.left + thickness); break;
    case AFX_IDW_DOCKBAR_RIGHT: r.left = std::max(area.left, area.right - thickness); break;
    case AFX_IDW_DOCKBAR_TOP: r.bottom = std::min(area.bottom, area.top + thickness); break;
    default: r.top = std::max(area.top, area.bottom - thickness); break;
    }
    return r;
}
}  // namespace

// ---- CMRCMDIFrameWndSizeDock ----

void CMRCMDIFrameWndSizeDock::FloatControlBar(CMRCSizeControlBar* pBar, CPoint pt) { pBar->Float(pt); }

CRect CMRCMDIFrameWndSizeDock::DockArea(const CControlBar* pBar) {
    CRect area;
    GetClientRect(&area);
    RepositionBars(&area, false, pBar);
    return area;
}

UINT CMRCMDIFrameWndSizeDock::DockSideAt(CMRCSizeControlBar* pBar, POINT pt, RECT* docked) {
    CRect area = DockArea(pBar);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    if (!area.PtInRect(pt) || ::GetKeyState(VK_CONTROL) < 0) return 0;  // Ctrl keeps a bar floating
    UINT best = 0;
    int bestDistance = 0;
    for (UINT side : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM}) {
        if (!(AfxAlignOfSide(side) & GetDockingSides() & pBar->GetDockStyle())) continue;
        CSize size = pBar->CalcFixedLayout(TRUE, IsHorizontal(side));
        int thickness = IsHorizontal(side) ? size.cy : size.cx;
        // A docked bar stays docked while the drag is still over it.
        bool here = !pBar->IsProbablyFloating() && pBar->GetDockSide() == side;
        int zone = here ? std::max(kDockZone, thickness) : kDockZone;
        int d = Distance(area, side, pt);
        if (d < zone && (!best || d < bestDistance)) {
            best = side;
            bestDistance = d;
            *docked = Strip(area, side, thickness);
        }
    }
    return best;
}

// ---- CMRCSizeControlBar ----

CMRCSizeControlBar::CMRCSizeControlBar(int nGripperStyle) : m_nGripper(nGripperStyle) {}

CMRCSizeControlBar::~CMRCSizeControlBar() { delete m_pFloat; }

BOOL CMRCSizeControlBar::Create(const wchar_t* title, CWnd* pParent, CSize sizeDefault, UINT nID, DWORD dwStyle) {
    m_strTitle = title ? title : L"";
    m_sizeHorz = m_sizeVert = m_sizeFloat = sizeDefault;
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateBar(0, cls, title, dwStyle | WS_CLIPCHILDREN, CRect(0, 0, sizeDefault.cx, sizeDefault.cy), pParent,
                     nID);
}

CMRCMDIFrameWndSizeDock* CMRCSizeControlBar::DockFrame() const {
    return dynamic_cast<CMRCMDIFrameWndSizeDock*>(m_pDockSite);
}

BOOL CMRCSizeControlBar::IsProbablyFloating() const {
    return m_pFloat && m_hWnd && ::GetParent(m_hWnd) == m_pFloat->m_hWnd;
}

BOOL CMRCSizeControlBar::IsVisible() const {
    if (IsProbablyFloating()) return (m_pFloat->GetStyle() & WS_VISIBLE) != 0;
    return CControlBar::IsVisible();
}

void CMRCSizeControlBar::ShowBar(BOOL bShow) {
    if (IsProbablyFloating())
        m_pFloat->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    else
        CControlBar::ShowBar(bShow);
}

CSize CMRCSizeControlBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    return bHorz ? CSize(32767, m_sizeHorz.cy) : CSize(m_sizeVert.cx, 32767);
}

LONG& CMRCSizeControlBar::DockedThickness() {
    return HorizontalSide() ? m_sizeHorz.cy : m_sizeVert.cx;
}

CSize CMRCSizeControlBar::FloatWindowSize() const {
    CRect r(0, 0, m_sizeFloat.cx, m_sizeFloat.cy);
    ::AdjustWindowRectEx(&r, CMRCFloatFrame::Style(), FALSE, CMRCFloatFrame::ExStyle());
    return CSize(r.Width(), r.Height());
}

void CMRCSizeControlBar::SetDockSide(UINT side) {
    CControlBar::SetDockSide(side);
    m_nLastDockSide = side;
    if (IsProbablyFloating()) {
        bool shown = (m_pFloat->GetStyle() & WS_VISIBLE) != 0;
        ::SetParent(m_hWnd, m_pDockSite->m_hWnd);
        // Gone rather than hidden: the next float makes it anew. The object stays, since this
        // may run inside one of its own messages.
        m_pFloat->DestroyWindow();
        ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
    }
    // The gripper and splitter depend on the side.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (m_pDockSite) m_pDockSite->RecalcLayout();
    NotifyLayout(kDocked);
}

void CMRCSizeControlBar::Float(CPoint pt) {
    if (!m_pDockSite) return;
    if (!m_pFloat) m_pFloat = new CMRCFloatFrame;
    if (!m_pFloat->IsWindow() && !m_pFloat->Create(m_pDockSite, this)) return;
    bool shown = IsVisible() != FALSE;
    if (!IsProbablyFloating()) {
        ::SetParent(m_hWnd, m_pFloat->m_hWnd);
        ShowWindow(SW_SHOWNA);
    }
    CSize window = FloatWindowSize();
    m_pFloat->SetWindowPos(nullptr, pt.x, pt.y, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(nullptr, 0, 0, m_sizeFloat.cx, m_sizeFloat.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_ptFloat = pt;
    if (shown) m_pFloat->ShowWindow(SW_SHOWNA);
    m_pDockSite->RecalcLayout();
    NotifyLayout(kFloated);
}

void CMRCSizeControlBar::ToggleDocking() {
    if (IsProbablyFloating()) {
        m_pDockSite->DockControlBar(this, m_nLastDockSide);
        return;
    }
    CPoint pt = m_ptFloat;
    if (pt.x < 0) {
        CRect r;
        GetWindowRect(&r);
        pt = CPoint(r.left + 40, r.top + 40);
    }
    Float(pt);
}

void CMRCSizeControlBar::NotifyLayout(int flags) {
    CRect r;
    GetClientRect(&r);
    OnSizedOrDocked(r.Width(), r.Height(), IsProbablyFloating(), flags);
}

void CMRCSizeControlBar::OnSizedOrDocked(int, int, BOOL, int) {}

void CMRCSizeControlBar::OnSize(UINT, int, int) {
    if (IsProbablyFloating()) {
        CRect r;
        GetClientRect(&r);
        if (r.Width() > 0 && r.Height() > 0) m_sizeFloat = CSize(r.Width(), r.Height());
    }
    NotifyLayout(kSized);
}

// ---- the non-client parts: gripper along the top, splitter on the inner side ----

int CMRCSizeControlBar::GripperHeight() const {
    switch (m_nGripper) {
    case kGripperCaption: return 18;
    case kGripperLines: return 10;
    default: return 0;
    }
}

bool CMRCSizeControlBar::HorizontalSide() const { return IsHorizontal(GetDockSide()); }

void CMRCSizeControlBar::ApplyNonClient(RECT* r) const {
    if (IsProbablyFloating()) return;
    switch (GetDockSide()) {
    case AFX_IDW_DOCKBAR_LEFT: r->right -= kSplitter; break;
    case AFX_IDW_DOCKBAR_RIGHT: r->left += kSplitter; break;
    case AFX_IDW_DOCKBAR_TOP: r->bottom -= kSplitter; break;
    default: r->top += kSplitter; break;
    }
    r->top += GripperHeight();
    r->right = std::max(r->left, r->right);
    r->bottom = std::max(r->top, r->bottom);
}

void CMRCSizeControlBar::PartRects(CRect* gripper, CRect* splitter) const {
    CRect whole;
    GetWindowRect(&whole);
    whole.OffsetRect(-whole.left, -whole.top);
    if (IsProbablyFloating()) {
        *gripper = *splitter = CRect();
        return;
    }
    // The splitter is the edge that faces the client area.
    *splitter = Strip(whole, Opposite(GetDockSide()), kSplitter);
    CRect rest = whole;
    ApplyNonClient(&rest);
    rest.top -= GripperHeight();
    *gripper = Strip(rest, AFX_IDW_DOCKBAR_TOP, GripperHeight());
}

CMRCSizeControlBar::Part CMRCSizeControlBar::PartAt(POINT screen) const {
    CRect window;
    GetWindowRect(&window);
    if (!window.PtInRect(screen)) return Part::None;
    CPoint pt(screen.x - window.left, screen.y - window.top);
    CRect gripper, splitter;
    PartRects(&gripper, &splitter);
    if (splitter.PtInRect(pt)) return Part::Splitter;
    if (gripper.PtInRect(pt)) return Part::Gripper;
    return Part::Client;
}

CRect CMRCSizeControlBar::PartOnScreen(bool splitterPart) const {
    CRect gripper, splitter, window;
    PartRects(&gripper, &splitter);
    GetWindowRect(&window);
    CRect& part = splitterPart ? splitter : gripper;
    part.OffsetRect(window.left, window.top);
    return part;
}

void CMRCSizeControlBar::PaintNonClient() {
    CRect gripper, splitter;
    PartRects(&gripper, &splitter);
    HDC dc = ::GetWindowDC(m_hWnd);
    ::FillRect(dc, &splitter, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &splitter, EDGE_RAISED, HorizontalSide() ? (BF_TOP | BF_BOTTOM) : (BF_LEFT | BF_RIGHT));
    ::FillRect(dc, &gripper, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!gripper.IsRectEmpty()) {
        CRect lines = gripper;
        lines.DeflateRect(4, 0);
        if (m_nGripper == kGripperCaption) {
            HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            RECT text = lines;
            ::DrawTextW(dc, m_strTitle.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_CALCRECT);
            text.bottom = lines.bottom;
            text.top = lines.top;
            ::DrawTextW(dc, m_strTitle.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            ::SelectObject(dc, old);
            lines.left = text.right + 6;
        }
        // Two raised lines: the handle a person drags.
        for (int i = 0; i < 2 && lines.Width() > 0; ++i) {
            int y = lines.top + lines.Height() / 2 - 3 + i * 4;
            RECT line{lines.left, y, lines.right, y + 3};
            ::DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
        }
    }
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT CMRCSizeControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE:
        ApplyNonClient(reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCPAINT:
        PaintNonClient();
        return 0;
    case WM_NCHITTEST: {
        // The whole bar answers as client area: its gripper and splitter take the ordinary
        // button messages, which every system delivers (a non-client part with no hit-test
        // code of its own may get none).
        CRect window;
        GetWindowRect(&window);
        if (window.PtInRect(CPoint(lParam))) return HTCLIENT;
        break;
    }
    case WM_SETCURSOR: {
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) break;
        POINT pt;
        ::GetCursorPos(&pt);
        Part part = PartAt(pt);
        if (part == Part::Splitter) {
            ::SetCursor(::LoadCursor(nullptr, HorizontalSide() ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
        if (part == Part::Gripper) {
            ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

void CMRCSizeControlBar::OnLButtonDown(UINT, CPoint point) {
    // The splitter sizes the bar; the gripper and any empty part of it move the bar.
    ::ClientToScreen(m_hWnd, &point);
    if (PartAt(point) == Part::Splitter)
        TrackSplitter(point);
    else
        TrackMove(point);
}

void CMRCSizeControlBar::OnLButtonDblClk(UINT, CPoint point) {
    ::ClientToScreen(m_hWnd, &point);
    if (PartAt(point) != Part::Splitter) ToggleDocking();
}
