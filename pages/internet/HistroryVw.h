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

    // Clears the whole history and tells the user whether it worked. It touches no view, so
    // the Internet summary page runs it without a window. The result of ClearHistory, or of
    // the failed creation of the history object.
    static HRESULT EraseHistory();
    // The history's addresses as 8-bit text, in the history's own order; entries without an
    // address are left out. Empty when the history cannot be read.
    static std::vector<std::wstring> ReadHistory();

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void AddColumns();
    void Fill();
    bool m_erasing = false;
};
