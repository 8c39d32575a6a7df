#pragma once
#include "PageLook.h"

// The drives of the machine, to choose for wiping their unused space.
class CUSpaceVw : public CPageView {
public:
    CUSpaceVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CButton m_selectAll, m_clearAll;
    CStatic m_band;
};
