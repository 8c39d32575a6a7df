#pragma once
#include <memory>

#include "PageLook.h"
#include "StripedListCtrl.h"

// The drives of the machine, to choose for wiping their unused space.
class CUSpaceVw : public CPageView {
public:
    CUSpaceVw();
    void DoDataExchange(CDataExchange* pDX) override;
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;

    CButton m_selectAll, m_clearAll;
    CStatic m_band;
    CStripedListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnSelectAll();
    void OnClearAll();
    void OnSettings();
    void OnEraseNow();
    std::vector<wchar_t> CheckedDrives() const;
    CFont m_listFont;
    // The wipe running now, if any; shared with Erase Now, which outlives the page when the page
    // is closed under the wipe's dialog, and false once the page has gone.
    std::shared_ptr<class CWipeProgressDlg> m_wipe;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
