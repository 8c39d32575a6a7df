#pragma once
#include "PageLook.h"

// The files of the browser's cache folder.
class CTempNetFileVw : public CPageView {
public:
    CTempNetFileVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};
