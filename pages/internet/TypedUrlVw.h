#pragma once
#include "PageLook.h"

// The addresses typed into the browser's address bar.
class CTypedUrlVw : public CPageView {
public:
    CTypedUrlVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CListBox m_list;
    std::string m_selection;  // the list's selection, exchanged; nothing reads it
};
