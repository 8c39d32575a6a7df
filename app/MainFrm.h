#pragma once
#include "MRCSizeDock.h"
#include "TreeBar.h"

// The multiple-document main window: menu, toolbar, status bar and the utility pane docked on
// its left; pages open in its client area.
class CMainFrame : public CMRCMDIFrameWndSizeDock {
public:
    CStatusBar& StatusBar() { return m_wndStatusBar; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    CTreeBar& TreeBar() { return m_wndTreeBar; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnDestroy() override;
    void OnViewAllCategories();
    void OnUpdateViewAllCategories(CCmdUI* pCmdUI);
    void OnViewQuickErase();
    void OnUpdateViewQuickErase(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

protected:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CTreeBar m_wndTreeBar;
};
