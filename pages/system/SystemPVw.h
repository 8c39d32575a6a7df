#pragma once
#include "PageLook.h"

// The overview of the ten system trace categories.
class CSystemPVw : public CPageView {
public:
    CSystemPVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CButton m_links[10];   // the "Details..." links, 1196 to 1205
    CButton m_checks[10];  // the category check boxes
};
