#pragma once
#include "PageLook.h"

// The addresses typed into the browser's address bar.
class CTypedUrlVw : public CPageView {
public:
    CTypedUrlVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // Deletes every typed address (the whole key), empties the list when the key is gone and
    // reports in a message box. Returns whether the key is gone.
    bool Erase();

    CListBox m_list;
    std::wstring m_selection;  // the list's selection, exchanged; nothing reads it

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
    bool m_erasing = false;
};
