#pragma once
#include "PageLook.h"

// The entries of the cookie folder.
class CCookies : public CPageView {
public:
    CCookies();
    void DoDataExchange(CDataExchange* pDX) override;

    CTreeCtrl m_tree;
};
