#pragma once
#include "PageLook.h"

// The lists Windows keeps of recently used things in the registry.
class CSystemVw : public CPageView {
public:
    CSystemVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CTreeCtrl m_tree;
};
