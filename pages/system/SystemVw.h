#pragma once
#include "PageLook.h"

// The lists Windows keeps of recently used things in the registry. "Erase" deletes them, shows
// the page again and offers to log off.
class CSystemVw : public CPageView {
public:
    CSystemVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // Asks whether to log off now: Windows lets go of some of these traces only at the next log-on.
    static void OfferLogOff();

    CTreeCtrl m_tree;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
};
