#pragma once
#include "PageLook.h"

// The addresses typed into the browser's address bar.
class CTypedUrlVw : public CPageView {
public:
    CTypedUrlVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // Deletes every typed address (the whole key), empties the list when the key is gone and
    // reports in a message box. Works on an instance that never got a window. Returns whether
    // the key is gone.
    bool Erase();

    CListBox m_list;
    std::wstring m_selection;  // the list's selection, exchanged; nothing reads it

    // The registry key and how many of its values the page lists at most.
    static const wchar_t* const kKey;
    static constexpr int kMaxEntries = 100;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
    bool m_erasing = false;
};
