#pragma once
#include <string>
#include <vector>

#include "PageLook.h"

// The addresses of the browser's history, read through its URL history object.
class CHistroryVw : public CPageView {
public:
    CHistroryVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnErase();

    // Clears the whole history and tells the user whether it worked.
    static bool EraseHistory();

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void AddColumns();
    void Fill();
    bool m_erasing = false;
};
