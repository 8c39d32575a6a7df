#pragma once
#include "PageLook.h"

// The overview of the ten application trace categories.
class CApplicationTVw : public CPageView {
public:
    CApplicationTVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CButton m_checks[10];  // the category check boxes
    CButton m_links[10];   // the "Details..." links
};

// The document reader's recent files: no source is known, so it lists nothing.
class CAAVw : public CPageView {
public:
    CAAVw();
};
