#pragma once
#include "PageLook.h"

// The records of the "Application" event log.
class CEventLogVw : public CPageView {
public:
    CEventLogVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};
