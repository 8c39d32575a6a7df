#pragma once
#include "PageLook.h"

// What the Recycle Bin holds.
class CRecycleVw : public CPageView {
public:
    CRecycleVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CTreeCtrl m_tree;
};
