#pragma once
#include "PageLook.h"

// The overview of the four Internet trace categories.
class CInternetVw : public CPageView {
public:
    CInternetVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CButton m_clearAll, m_selectAll;
    CButton m_eraseTypedUrl, m_eraseHistory, m_eraseCookies, m_eraseTempNet;
    CButton m_checkHistory, m_checkTypedUrl;
    CButton m_eraseSelected;
    CButton m_detailsTypedUrl, m_detailsHistory, m_detailsCookies, m_detailsTempNet;
    CButton m_checkCookies, m_checkTempNet;
};
