#pragma once
#include "PageLook.h"

// The shortcuts of the user's Recent folder.
class CRecentDocu : public CPageView {
public:
    CRecentDocu();
    void DoDataExchange(CDataExchange* pDX) override;

    CTreeCtrl m_tree;
};

// The entries of the network neighbourhood.
class CRecentNWFVw : public CPageView {
public:
    CRecentNWFVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
};
