#pragma once
#include "PageLook.h"

// The addresses of the browser's history.
class CHistroryVw : public CPageView {
public:
    CHistroryVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};
