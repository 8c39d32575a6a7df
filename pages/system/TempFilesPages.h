#pragma once
#include "PageLook.h"

// The files and folders below the user's temporary folder.
class CAdminTempFVw : public CPageView {
public:
    CAdminTempFVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};

// The system's temporary files: no folder is given to it, so its list stays empty.
class CSysTempFile : public CPageView {
public:
    CSysTempFile();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};
