// The drags of a sizeable bar, its tool window and the outline shown while dragging.
#include <algorithm>
#include <cstdlib>

#include "MRCSizeDock.h"

namespace {
const int kMinThickness = 32;

// Runs a modal mouse capture on h until the left button comes up (TRUE) or the drag is
// cancelled (FALSE: Escape, the right button, or the capture taken away). onMove gets every
// position in screen coordinates.
template <class OnMove>
bool CaptureDrag(HWND h, OnMove onMove) {
    ::SetCapture(h);
    bool done = false, ok = false;
    while (!done) {
        MSG m;
        if (!::GetMessageW(&m, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (::GetCapture() != h) break;
        POINT pt{(short)LOWORD(m.lParam), (short)HIWORD(m.lParam)};
        switch (m.message) {
        case WM_MOUSEMOVE:
            ::ClientToScreen(m.hwnd, &pt);
            onMove(pt);
            break;
        case WM_LBUTTONUP:
            ::ClientToScreen(m.hwnd, &pt);
            onMove(pt);
            done = ok = true;
            break;
        case WM_RBUTTONDOWN:
            done = true;
            break;
        case WM_KEYDOWN:
            if (m.wParam == VK_ESCAPE) done = true;
            break;
        default:
            ::DispatchMessageW(&m);
            break;
        }
    }
    if (::GetCapture() == h) ::ReleaseCapture();
    return ok;
}

const wchar_t* OutlineClass() {
    static const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                                 ::GetSysColorBrush(COLOR_HIGHLIGHT));
    return cls;
}
}  // namespace

// ---- moving and sizing ----

void CMRCSizeControlBar::TrackMove(CPoint start) {
    CMRCMDIFrameWndSizeDock* frame = DockFrame();
    if (!frame) return;
    bool floating = IsProbablyFloating() != FALSE;
    CRect from;
    (floating ? static_cast<CWnd*>(m_pFloat) : this)->GetWindowRect(&from);
    CSize window = FloatWindowSize();
    // Where the pointer holds the tool window: as it is when floating, else near its caption.
    CPoint grab(start.x - from.left, start.y - from.top);
    if (!floating) grab = CPoint(std::clamp<LONG>(grab.x, 8, std::max(8L, window.cx - 8)), 8);

    CMRCDragOutline outline;
    bool moved = false;
    UINT side = 0;
    CRect target;
    bool ok = CaptureDrag(m_hWnd, [&](POINT pt) {
        int cxDrag = ::GetSystemMetrics(SM_CXDRAG), cyDrag = ::GetSystemMetrics(SM_CYDRAG);
        if (!moved && std::abs(pt.x - start.x) <= cxDrag && std::abs(pt.y - start.y) <= cyDrag) return;
        moved = true;
        side = frame->DockSideAt(this, pt, &target);
        if (!side) target = CRect(pt.x - grab.x, pt.y - grab.y, pt.x - grab.x + window.cx, pt.y - grab.y + window.cy);
        outline.Show(target);
    });
    outline.Hide();
    if (!ok || !moved) return;
    if (side)
        frame->DockControlBar(this, side);
    else
        frame->FloatControlBar(this, target.TopLeft());
}

void CMRCSizeControlBar::TrackSplitter(CPoint start) {
    CMRCMDIFrameWndSizeDock* frame = DockFrame();
    if (!frame || IsProbablyFloating()) return;
    UINT side = GetDockSide();
    bool horz = HorizontalSide();
    CRect area = frame->DockArea(this);
    int limit = std::max(kMinThickness, (horz ? area.Height() : area.Width()) - kMinThickness);
    LONG original = DockedThickness();
    // Bars on the right and at the bottom grow when the edge moves left or up.
    int sign = side == AFX_IDW_DOCKBAR_RIGHT || side == AFX_IDW_DOCKBAR_BOTTOM ? -1 : 1;
    bool ok = CaptureDrag(m_hWnd, [&](POINT pt) {
        int delta = sign * (horz ? pt.y - start.y : pt.x - start.x);
        LONG wanted = std::clamp<LONG>(original + delta, kMinThickness, limit);
        if (wanted == DockedThickness()) return;
        DockedThickness() = wanted;
        frame->RecalcLayout();
        frame->UpdateWindow();
    });
    if (!ok) {
        DockedThickness() = original;
        frame->RecalcLayout();
    }
}

// ---- CMRCFloatFrame ----

BOOL CMRCFloatFrame::Create(CFrameWnd* pOwner, CMRCSizeControlBar* pBar) {
    m_pBar = pBar;
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(ExStyle(), cls, pBar->Title().c_str(), Style(), CRect(0, 0, 100, 100), pOwner, 0);
}

LRESULT CMRCFloatFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        CRect r;
        GetClientRect(&r);
        if (m_pBar->IsProbablyFloating()) m_pBar->MoveWindow(r);
        return 0;
    }
    case WM_CLOSE:
        // Closing only hides the bar; the frame's command shows it again.
        if (CFrameWnd* frame = m_pBar->GetDockingFrame()) frame->ShowControlBar(m_pBar, FALSE, FALSE);
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam != HTCAPTION) break;
        // Our own drag instead of the system's move, so the bar can dock where it is dropped.
        m_pBar->TrackMove(CPoint(lParam));
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam != HTCAPTION) break;
        m_pBar->ToggleDocking();
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- CMRCDragOutline ----

CMRCDragOutline::~CMRCDragOutline() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void CMRCDragOutline::Show(const RECT& screen) {
    CRect r(screen);
    if (!m_hWnd)
        m_hWnd = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, OutlineClass(), nullptr,
                                   WS_POPUP, r.left, r.top, r.Width(), r.Height(), nullptr, nullptr,
                                   AfxGetInstanceHandle(), nullptr);
    if (!m_hWnd) return;
    if (r.Width() != m_rect.Width() || r.Height() != m_rect.Height()) {
        // A frame three pixels wide: the window is shaped to its border.
        HRGN outer = ::CreateRectRgn(0, 0, r.Width(), r.Height());
        HRGN inner = ::CreateRectRgn(3, 3, r.Width() - 3, r.Height() - 3);
        ::CombineRgn(outer, outer, inner, RGN_DIFF);
        ::DeleteObject(inner);
        ::SetWindowRgn(m_hWnd, outer, TRUE);  // the window owns the region now
    }
    m_rect = r;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(m_hWnd);
}

void CMRCDragOutline::Hide() {
    if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
}
