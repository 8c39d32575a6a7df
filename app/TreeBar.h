// The utility pane ("Tree Bar"): a sizeable, docking bar whose tabs each show one window; its
// one tab, "Tree View", shows the category tree.
#pragma once
#include "MRCSizeDock.h"

class CCategoryTree;

class CTreeBar : public CMRCSizeControlBar {
public:
    static constexpr UINT kTabCtrlId = 100;
    static constexpr UINT kTreeId = 1;

    CTreeBar();
    CTabCtrl& TabCtrl() { return m_tab; }
    CCategoryTree* Tree() const { return m_pTree; }
    // The margin around the tab control: narrower in the tool window than when docked.
    int Margin() const { return IsProbablyFloating() ? 2 : 4; }

    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnDestroy() override;
    void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

protected:
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override;

private:
    void ShowSelectedTab();
    CTabCtrl m_tab;
    CImageList m_tabImages;
    CCategoryTree* m_pTree = nullptr;
};
