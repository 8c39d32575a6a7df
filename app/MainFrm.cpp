#include "MainFrm.h"

#include "CategoryTree.h"
#include "Settings.h"
#include "afxdpi.h"
#include "Worker.h"
#include "resource.h"

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
}  // namespace

const MsgMap CMainFrame::messageMap{&CMRCMDIFrameWndSizeDock::messageMap, {
    msg::Command(ID_VIEW_UTILITY_PANE, &CFrameWnd::OnBarCheckFor<ID_VIEW_UTILITY_PANE>),
    msg::UpdateUI(ID_VIEW_UTILITY_PANE, &CFrameWnd::OnUpdateControlBarMenu),
    msg::Command(ID_VIEW_SPARE_BAR1, &CFrameWnd::OnBarCheckFor<ID_VIEW_SPARE_BAR1>),
    msg::UpdateUI(ID_VIEW_SPARE_BAR1, &CFrameWnd::OnUpdateControlBarMenu),
    msg::Command(ID_VIEW_SPARE_BAR2, &CFrameWnd::OnBarCheckFor<ID_VIEW_SPARE_BAR2>),
    msg::UpdateUI(ID_VIEW_SPARE_BAR2, &CFrameWnd::OnUpdateControlBarMenu),
    msg::Command(ID_VIEW_ALL_CATEGORIES, &CMainFrame::OnViewAllCategories),
    msg::UpdateUI(ID_VIEW_ALL_CATEGORIES, &CMainFrame::OnUpdateViewAllCategories),
    msg::Command(ID_VIEW_QUICK_ERASE, &CMainFrame::OnViewQuickErase),
    msg::UpdateUI(ID_VIEW_QUICK_ERASE, &CMainFrame::OnUpdateViewQuickErase),
}};

// Closing the window during an erase: every worker stops and ends here, before the pages it
// reports to and the program's static tables go.
void CMainFrame::OnDestroy() {
    engine::Worker::StopAll(30000);
    CMRCMDIFrameWndSizeDock::OnDestroy();
}

int CMainFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CMRCMDIFrameWndSizeDock::OnCreate(lpcs) == -1) return -1;

    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 4)) return -1;

    // Without its toolbar the window still works through menu and accelerators.
    if (m_wndToolBar.Create(this) && m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    }
    EnableDocking(CBRS_ALIGN_ANY);
    if (m_wndToolBar.IsWindow()) DockControlBar(&m_wndToolBar);

    if (!m_wndTreeBar.Create(L"Tree Bar", this, CSize(AfxScaled(200), AfxScaled(400)), ID_VIEW_UTILITY_PANE,
                             WS_CHILD | WS_VISIBLE | CBRS_LEFT))
        return -1;
    m_wndTreeBar.SetBarStyle(m_wndTreeBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndTreeBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndTreeBar, AFX_IDW_DOCKBAR_LEFT);

    ShowWindow(SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The title follows the active page, also after a page closed.
    if (message == WM_IDLEUPDATECMDUI) OnUpdateFrameTitle(TRUE);
    // Moved to a screen of another scale: the size Windows suggests keeps the window as large to the eye.
    if (message == WM_DPICHANGED) {
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    return CMRCMDIFrameWndSizeDock::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnViewAllCategories() {
    bool on = !settings::AllCategories();
    settings::SetAllCategories(on);
    if (CCategoryTree* tree = m_wndTreeBar.Tree()) tree->ShowAllCategories(on);
}

void CMainFrame::OnUpdateViewAllCategories(CCmdUI* pCmdUI) { pCmdUI->SetCheck(settings::AllCategories() ? 1 : 0); }

void CMainFrame::OnViewQuickErase() { settings::SetQuickErase(!settings::QuickErase()); }

void CMainFrame::OnUpdateViewQuickErase(CCmdUI* pCmdUI) { pCmdUI->SetCheck(settings::QuickErase() ? 1 : 0); }
