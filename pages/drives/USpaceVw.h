#pragma once
#include "PageLook.h"
#include "StripedListCtrl.h"

// The drives of the machine, to choose for wiping their unused space.
class CUSpaceVw : public CPageView {
public:
    CUSpaceVw();
    void DoDataExchange(CDataExchange* pDX) override;
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnSize(UINT nType, int cx, int cy) override;

    CButton m_selectAll, m_clearAll;
    CStatic m_band;
    CStripedListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnSelectAll();
    void OnClearAll();
    CFont m_listFont;
};
